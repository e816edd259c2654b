#!/usr/bin/python3
"""The real game as a screen reader meets it: over AT-SPI, on a D-Bus session,
an accessibility bus and an X server of its own. Finds New Game by its name,
presses it, reads the 25 dice of the board, picks one, and prints the accessible
tree of the main window. Fails when the accessibility bridge does not come up.

Usage: atspi_board.py GAME [TREE_FILE]
"""

import os
import signal
import subprocess
import sys
import tempfile
import time

DEADLINE = 20  # seconds for any one thing to appear


def fail(message):
    print("atspi: " + message, file=sys.stderr)
    sys.exit(1)


def pump_events():
    from gi.repository import GLib
    context = GLib.MainContext.default()
    while context.iteration(False):
        pass


def wait_for(what, probe, seconds=DEADLINE, report=None):
    """probe's first true answer within seconds; report says what was seen instead."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        pump_events()
        found = probe()
        if found:
            return found
        time.sleep(0.1)
    fail(what + " did not come within %d s" % seconds + (": " + report() if report else ""))


class Processes:
    """Everything this test starts, each in a process group of its own, so that
    what it spawns (the accessibility bus, the registry) ends with it."""

    def __init__(self):
        self.started = []

    def start(self, args, **options):
        process = subprocess.Popen(args, start_new_session=True, **options)
        self.started.append(process)
        return process

    def stop_all(self):
        for process in reversed(self.started):
            try:
                os.killpg(process.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        for process in reversed(self.started):
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait(timeout=5)
            # Children left in the group once its leader is gone.
            try:
                os.killpg(process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass


def start_bus(processes):
    bus = processes.start(
        ["dbus-daemon", "--session", "--nofork", "--print-address=1"],
        stdout=subprocess.PIPE, text=True)
    address = bus.stdout.readline().strip()
    if not address:
        fail("the D-Bus session did not start")
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = address


def start_accessibility_bus(processes):
    os.environ.pop("AT_SPI_BUS_ADDRESS", None)
    processes.start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately", "--a11y=1"])

    # Asked without activating it: the launcher started here is the one to own it.
    def launched():
        reply = subprocess.run(
            ["dbus-send", "--session", "--print-reply=literal", "--dest=org.freedesktop.DBus",
             "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus"],
            capture_output=True, text=True, timeout=5)
        return "true" in reply.stdout
    wait_for("the accessibility bus launcher", launched)


def start_session(processes, folder):
    start_bus(processes)

    # -noreset: the bus launcher connects and leaves again; without it the server
    # resets when its last client leaves and refuses the game's connection meanwhile.
    read_end, write_end = os.pipe()
    # LEXIPEDE_X_DISPLAY=:N names the display, as for the shell tests.
    named = [os.environ["LEXIPEDE_X_DISPLAY"]] if os.environ.get("LEXIPEDE_X_DISPLAY") else []
    processes.start(["Xvfb"] + named + ["-displayfd", str(write_end), "-noreset", "-screen", "0",
                     "1024x768x24", "-nolisten", "tcp"], pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as display:
        number = display.readline().strip()
    if not number:
        fail("Xvfb did not start")
    os.environ["DISPLAY"] = ":" + number
    os.environ["XDG_RUNTIME_DIR"] = folder
    start_accessibility_bus(processes)


def game_window(player):
    """The game's main window on the accessibility bus, once it is there."""
    import pyatspi
    desktop = pyatspi.Registry.getDesktop(0)

    def main_window():
        if player.poll() is not None:
            fail("the game ended with %d before it was seen" % player.returncode)
        for index in range(desktop.childCount):
            application = desktop.getChildAtIndex(index)
            if application is not None and application.name == "lexipede":
                return find(application, "frame", "Lexipede")
        return None
    return wait_for("the game on the accessibility bus (the bridge is not up)", main_window)


def deal(window):
    """Presses New Game; gives the board once its 25 dice read their faces."""
    new_game = wait_for("the New Game button", lambda: find(window, "push button", "New Game"))
    print("atspi: pressing New Game through its action %r" % press(new_game))
    board = wait_for("the letter board", lambda: find(window, "table", "Letter board"))

    def dealt():
        cells = [board.getChildAtIndex(i) for i in range(board.childCount)]
        faces = [cell.name for cell in cells if cell is not None]
        return len(faces) == 25 and all(faces) and faces
    faces = wait_for("25 named dice", dealt)
    wrong = [face for face in faces if not (face == "QU" or (len(face) == 1 and face.isupper()))]
    if wrong:
        fail("dice named %r" % wrong)
    return board


def find(node, role, name=None, depth=0):
    if node is None or depth > 12:
        return None
    if node.getRoleName() == role and (name is None or node.name == name):
        return node
    for index in range(node.childCount):
        found = find(node.getChildAtIndex(index), role, name, depth + 1)
        if found is not None:
            return found
    return None


def press(node):
    action = node.queryAction()
    names = [action.getName(index) for index in range(action.nActions)]
    if not names:
        fail("%s %r has no action" % (node.getRoleName(), node.name))
    action.doAction(0)
    return names[0]


def describe(node):
    import pyatspi
    shown = [pyatspi.stateToString(s) for s in node.getState().getStates()
             if s in (pyatspi.STATE_ENABLED, pyatspi.STATE_SHOWING, pyatspi.STATE_CHECKED)]
    line = "%s %r" % (node.getRoleName(), node.name)
    if node.description:
        line += " (%s)" % node.description
    if shown:
        line += " [" + ", ".join(shown) + "]"
    try:
        action = node.queryAction()
        if action.nActions:
            line += " actions: " + ", ".join(action.getName(i) for i in range(action.nActions))
    except NotImplementedError:
        pass
    return line


def tree(node, depth=0):
    lines = ["  " * depth + describe(node)]
    for index in range(node.childCount):
        lines += tree(node.getChildAtIndex(index), depth + 1)
    return lines


def main():
    if len(sys.argv) < 2:
        fail(__doc__)
    game = os.path.abspath(sys.argv[1])
    processes = Processes()
    folder = tempfile.mkdtemp(prefix="lexipede-atspi-")
    try:
        start_session(processes, folder)
        environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                           QT_QPA_PLATFORM="xcb", SDL_AUDIODRIVER="dummy")
        player = processes.start([game], cwd=folder, env=environment)

        import pyatspi
        window = game_window(player)
        board = deal(window)
        table = board.queryTable()
        if (table.nRows, table.nColumns) != (5, 5):
            fail("the board is %d x %d" % (table.nRows, table.nColumns))
        print("atspi: the board reads")
        for row in range(5):
            print("    " + " ".join("%-2s" % table.getAccessibleAt(row, col).name
                                    for col in range(5)))

        # What changes is announced: the word label's new text, the die's mark.
        heard = []
        def hear(event):
            heard.append((event.type, event.source.getRoleName(), event.source.name))
        pyatspi.Registry.registerEventListener(
            hear, "object:property-change:accessible-name", "object:state-changed:checked")
        # A die off the diagonal: the hidden bonus die lies on it whenever its
        # column and row are drawn in one millisecond, and picking it opens the
        # bonus round instead of adding a letter.
        first = table.getAccessibleAt(0, 1)
        press(first)
        word = wait_for("the picked die in the word",
                        lambda: find(window, "label", first.name))
        print("atspi: pressing the second die of the top row shows %r" % word.name)
        expected = [("object:property-change:accessible-name", "label", first.name),
                    ("object:state-changed:checked", "table cell", first.name)]
        wait_for("the announcements %r (heard %r)" % (expected, heard),
                 lambda: all(item in heard for item in expected), seconds=5)
        print("atspi: heard " + "; ".join("%s from %s %r" % item for item in heard))

        dump = "\n".join(tree(window))
        print(dump)
        if len(sys.argv) > 2:
            with open(sys.argv[2], "w") as out:
                out.write(dump + "\n")
    finally:
        processes.stop_all()
        subprocess.run(["rm", "-rf", folder], check=False)


if __name__ == "__main__":
    main()
