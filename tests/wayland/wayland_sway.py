#!/usr/bin/python3
"""The real game as a native Wayland client of a headless sway, driven over
AT-SPI and seen in grim's screenshots:
- its window is app_id lexipede, 685 x 391;
- the board is drawn, and a die pressed after New Game is blank in the next
  screenshot;
- at output scale 2 the dice and buttons are drawn from their pictures for
  twice the pixels, not blown up;
- F8 (typed by wtype) opens the display dialog, which lists the output's mode;
- Quit ends the program with 0;
- every window made after the main window names its parent in the protocol.

sway refuses to run as root: it runs as nobody, in a runtime folder of its own.

Usage: wayland_sway.py GAME SOURCE_DIR [SCREENSHOT_DIR]
"""

import json
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "smoke"))
import design  # noqa: E402
from atspi_board import (Processes, deal, fail, find, game_window,  # noqa: E402
                         press, start_accessibility_bus, start_bus, wait_for)
from protocol_windows import check_parents, read_toplevels  # noqa: E402

OUTPUT = "HEADLESS-1"


def control(source_dir, name):
    """A control's rectangle in the main window's design: x, y, width, height."""
    return design.control(os.path.join(source_dir, "app", "TfrmMain.ui"), name)


class Screenshot:
    """grim's picture of the whole output, in device pixels."""

    def __init__(self, environment, keep=None):
        data = subprocess.run(["grim", "-t", "ppm", "-"], env=environment, check=True,
                              capture_output=True, timeout=20).stdout
        fields = data.split(maxsplit=4)
        if fields[0] != b"P6" or fields[3] != b"255":
            fail("grim gave no 8-bit PPM picture")
        self.width, self.height = int(fields[1]), int(fields[2])
        self.pixels = fields[4]
        if keep:
            subprocess.run(["grim", keep], env=environment, check=True, timeout=20)

    def pixel(self, x, y):
        at = 3 * (y * self.width + x)
        return self.pixels[at:at + 3]

    def area(self, left, top, width, height):
        return [self.pixel(x, y) for y in range(top, top + height)
                for x in range(left, left + width)]


class Sway:
    def __init__(self, processes, folder):
        os.chmod(folder, 0o755)  # for nobody to reach its own folder in it
        self.runtime = os.path.join(folder, "sway")
        os.mkdir(self.runtime, 0o700)
        os.chown(self.runtime, 65534, 65534)
        config = os.path.join(folder, "sway.config")
        with open(config, "w") as out:
            # nearest: a window drawn at scale 1 is blown up into 2 x 2 blocks,
            # which the crispness check can tell from a window drawn at scale 2.
            out.write("output %s resolution 2560x1600 scale 1 scale_filter nearest\n" % OUTPUT)
        os.chmod(config, 0o644)
        environment = {"PATH": os.environ["PATH"], "HOME": self.runtime,
                       "XDG_RUNTIME_DIR": self.runtime, "WLR_BACKENDS": "headless",
                       "WLR_LIBINPUT_NO_DEVICES": "1", "WLR_RENDERER": "pixman"}
        self.log = open(os.path.join(folder, "sway.log"), "w")
        processes.start(["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups",
                         "sway", "--config", config], env=environment, stdout=self.log,
                        stderr=subprocess.STDOUT)

        def sockets():
            names = os.listdir(self.runtime)
            ipc = [n for n in names if n.startswith("sway-ipc.")]
            wayland = [n for n in names if n.startswith("wayland-") and not n.endswith(".lock")]
            return ipc and wayland and (ipc[0], wayland[0])
        ipc, wayland = wait_for("sway's sockets", sockets)
        self.client = dict(os.environ, SWAYSOCK=os.path.join(self.runtime, ipc),
                           WAYLAND_DISPLAY=os.path.join(self.runtime, wayland))
        self.client.pop("DISPLAY", None)

    def message(self, *args):
        reply = subprocess.run(["swaymsg", "--raw", *args], env=self.client, check=True,
                               capture_output=True, text=True, timeout=10)
        return json.loads(reply.stdout)

    def output(self):
        return next(o for o in self.message("-t", "get_outputs") if o["name"] == OUTPUT)

    def window(self, app_id):
        def walk(node):
            if node.get("app_id") == app_id:
                return node
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                found = walk(child)
                if found:
                    return found
            return None
        return walk(self.message("-t", "get_tree"))


def mixed_blocks(shot, left, top, width, height):
    """2 x 2 blocks of device pixels, over a logical area at scale 2, whose
    pixels are not all alike: a picture blown up from scale 1 has none."""
    mixed = 0
    for y in range(2 * top, 2 * (top + height), 2):
        for x in range(2 * left, 2 * (left + width), 2):
            corner = shot.pixel(x, y)
            if (shot.pixel(x + 1, y) != corner or shot.pixel(x, y + 1) != corner
                    or shot.pixel(x + 1, y + 1) != corner):
                mixed += 1
    return mixed


class Game:
    """One launch of the game on sway, seen over AT-SPI and in screenshots."""

    def __init__(self, processes, sway, game, folder, source_dir):
        self.sway = sway
        environment = dict(sway.client, QT_QPA_PLATFORM="wayland",
                           QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", SDL_AUDIODRIVER="dummy",
                           WAYLAND_DEBUG="client")
        self.protocol = os.path.join(folder, "protocol-%d.log" % len(processes.started))
        with open(self.protocol, "w") as log:
            self.player = processes.start([game], cwd=folder, env=environment, stderr=log)
        self.window = game_window(self.player)
        node = wait_for("a window of app_id lexipede", lambda: sway.window("lexipede"))
        self.rect = node["rect"]
        if (self.rect["width"], self.rect["height"]) != (685, 391):
            fail("the window is %d x %d" % (self.rect["width"], self.rect["height"]))
        print("wayland: app_id lexipede, %d x %d at %d, %d, %s" % (
            self.rect["width"], self.rect["height"], self.rect["x"], self.rect["y"],
            node["type"]))
        self.grid = control(source_dir, "Grid")
        self.cell = self.grid[2] // 5  # five dice a row
        self.source_dir = source_dir

    def area(self, name):
        """A control's rectangle on the output, in logical pixels."""
        x, y, width, height = control(self.source_dir, name)
        return (self.rect["x"] + x, self.rect["y"] + y, width, height)

    def die(self, col, row):
        return (self.rect["x"] + self.grid[0] + col * self.cell,
                self.rect["y"] + self.grid[1] + row * self.cell, self.cell, self.cell)

    def quit(self):
        press(wait_for("the Quit button", lambda: find(self.window, "push button", "Quit")))
        try:
            code = self.player.wait(timeout=10)
        except subprocess.TimeoutExpired:
            fail("the game did not end within 10 s of Quit")
        if code != 0:
            fail("the game ended with %d" % code)
        print("wayland: Quit ended the game with 0")
        print("wayland: the windows the game made, from its protocol log:\n"
              + check_parents(read_toplevels(self.protocol)))


def dark(pixels):
    return sum(1 for p in pixels if max(p) < 80)


def white(pixels):
    return sum(1 for p in pixels if min(p) > 245)


def board_and_pick(game, keep):
    """New Game: every die shows its letter; a die pressed through AT-SPI turns blank."""
    board = deal(game.window)
    wait_for("the dealt board in a screenshot", lambda: all(
        dark(shot.area(*game.die(c, r))) > 20 for shot in [Screenshot(game.sway.client)]
        for c in range(5) for r in range(5)))
    print("wayland: the screenshot shows 25 dice with their letters")
    # A die off the diagonal, where the hidden bonus die nearly never is.
    picked = board.queryTable().getAccessibleAt(0, 1)
    press(picked)
    wait_for("die (1, 0) blank in a screenshot", lambda: white(
        Screenshot(game.sway.client).area(*game.die(1, 0))) > 0.95 * game.cell * game.cell)
    shot = Screenshot(game.sway.client, keep and os.path.join(keep, "wayland-scale1.png"))
    if dark(shot.area(*game.die(2, 0))) <= 20:
        fail("die (2, 0) lost its letter when die (1, 0) was picked")
    print("wayland: die (1, 0), %r, pressed through AT-SPI, is blank" % picked.name)


def display_dialog_lists_the_mode(game):
    """F8, typed as a key, opens the display dialog listing the output's mode."""
    import pyatspi
    mode = game.sway.output()["current_mode"]
    size, hertz = "%dx%d " % (mode["width"], mode["height"]), " at %d Hz" % round(
        mode["refresh"] / 1000)
    # The seat has a keyboard only while wtype runs: the game is given a second
    # to take it up before the key comes.
    subprocess.run(["wtype", "-s", "1000", "-k", "F8"], env=game.sway.client, check=True,
                   timeout=10)
    desktop = pyatspi.Registry.getDesktop(0)

    def dialog():
        for index in range(desktop.childCount):
            application = desktop.getChildAtIndex(index)
            if application is None or application.name != "lexipede":
                continue
            for window in range(application.childCount):
                shown = application.getChildAtIndex(window)
                if shown is not None and shown.name != "Lexipede" and find(shown, "list"):
                    return shown
        return None
    opened = wait_for("the display dialog after F8", dialog, report=lambda: "windows: %r" % [
        (w.getRoleName(), w.name) for a in (desktop.getChildAtIndex(i)
                                            for i in range(desktop.childCount))
        if a is not None and a.name == "lexipede"
        for w in (a.getChildAtIndex(j) for j in range(a.childCount))])
    modes = find(opened, "list")
    lines = [modes.getChildAtIndex(i).name for i in range(modes.childCount)]
    if len(lines) != 1 or not (lines[0].startswith(size) and lines[0].endswith(hertz)):
        fail("the display dialog lists %r, not the output's mode %s... %s" % (lines, size, hertz))
    print("wayland: F8 opened %r listing %r" % (opened.name, lines[0]))
    press(wait_for("the dialog's OK", lambda: find(opened, "push button", "OK")))
    wait_for("the display dialog to close", lambda: dialog() is None)


def crisp_at_scale_two(game, keep):
    """Dice and buttons drawn from their pictures for twice the pixels."""
    areas = {"die (2, 2)": game.die(2, 2), "Pause": game.area("cmdPause")}
    counts = {}

    def crisp():
        shot = Screenshot(game.sway.client, keep and os.path.join(keep, "wayland-scale2.png"))
        counts.update({name: mixed_blocks(shot, *area) for name, area in areas.items()})
        return all(counts[name] >= area[2] * area[3] // 3 for name, area in areas.items())
    wait_for("dice and buttons drawn for scale 2", crisp,
             report=lambda: "mixed 2 x 2 blocks: %r" % counts)
    print("wayland: at scale 2, mixed 2 x 2 blocks: " + ", ".join(
        "%s %d of %d" % (name, counts[name], areas[name][2] * areas[name][3]) for name in areas))


def main():
    if len(sys.argv) < 3:
        fail(__doc__)
    game_path = os.path.abspath(sys.argv[1])
    source_dir = sys.argv[2]
    keep = sys.argv[3] if len(sys.argv) > 3 else None

    processes = Processes()
    folder = tempfile.mkdtemp(prefix="lexipede-wayland-")
    try:
        start_bus(processes)
        os.environ.pop("DISPLAY", None)
        os.environ["XDG_RUNTIME_DIR"] = os.path.join(folder, "game")
        os.mkdir(os.environ["XDG_RUNTIME_DIR"], 0o700)
        start_accessibility_bus(processes)
        sway = Sway(processes, folder)

        game = Game(processes, sway, game_path, folder, source_dir)
        board_and_pick(game, keep)
        display_dialog_lists_the_mode(game)
        game.quit()

        # Qt 6.4 draws a window on at the scale of the output it opened on:
        # the game is started again on the output at scale 2.
        sway.message("output", OUTPUT, "scale", "2")
        wait_for("the output at scale 2", lambda: sway.output()["scale"] == 2)
        game = Game(processes, sway, game_path, folder, source_dir)
        deal(game.window)
        crisp_at_scale_two(game, keep)
        game.quit()
    finally:
        processes.stop_all()
        subprocess.run(["rm", "-rf", folder], check=False)


if __name__ == "__main__":
    main()
