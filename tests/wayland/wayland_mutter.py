#!/usr/bin/python3
"""The real game as a native Wayland client of GNOME's compositor, mutter,
headless with one virtual monitor, on a D-Bus session of its own: the dialog
tour (dialog_tour.py) through every kind of dialog, then the table of the
game's windows and their parents from its WAYLAND_DEBUG log.

Input goes through mutter's remote-desktop D-Bus interface (a pointer at an
absolute position needs a screen-cast stream, keys do not); frames come from
its screen-cast interface over PipeWire, each taken by GStreamer's pipewiresrc.
Plain mutter (without GNOME Shell) tells no one how its windows are stacked, so
whether a dialog is above the main window is seen in the frames: a screen cast
of the focused window alone (the dialog, once it opened) gives its own pixels,
which are found on the monitor; where it lies over the main window they must
still be the dialog's after a click on the main window. mutter 43 places a
dialog with a parent beside the main window, not over it: such a dialog is
first dragged over it (Super held, as a player may move any window).

Exits 77 when mutter or what the test needs beside it is missing.

Usage: wayland_mutter.py GAME SOURCE_DIR WORD_LIST [SCREENSHOT_DIR]
"""

import glob
import importlib.util
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "smoke"))
import design  # noqa: E402
import dialog_tour  # noqa: E402
from atspi_board import (Processes, fail, start_accessibility_bus, start_bus,  # noqa: E402
                         wait_for)

WIDTH, HEIGHT = 1280, 1024
MAIN_SIZE = (685, 391)
SOCKET = "lexipede-mutter"
KEYCODES = {"Return": 28, "F8": 66, "Super_L": 125}  # evdev
BUTTON_LEFT = 0x110
SKIP = 77


def missing():
    """What the test needs and this machine lacks."""
    needed = ["mutter", "pipewire", "wireplumber", "gst-launch-1.0", "gst-inspect-1.0",
              "dbus-daemon", "convert"]
    gone = [program for program in needed if shutil.which(program) is None]
    if not gone and subprocess.run(["gst-inspect-1.0", "pipewiresrc"], capture_output=True,
                                   timeout=30).returncode != 0:
        gone.append("gstreamer1.0-pipewire")
    if not glob.glob("/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so"):
        gone.append("qt6-wayland")
    gone += [module for module in ("gi", "pyatspi") if importlib.util.find_spec(module) is None]
    return gone


class Frame:
    """One frame of the monitor, 8-bit RGB."""

    def __init__(self, data):
        if len(data) != WIDTH * HEIGHT * 3:
            fail("a frame of %d bytes, not %d x %d RGB" % (len(data), WIDTH, HEIGHT))
        self.data = data

    def row(self, x, y, width):
        return self.data[3 * (y * WIDTH + x):3 * (y * WIDTH + x + width)]

    def differing(self, other, rect, mask=None, tolerance=0):
        """The pixels of rect (x, y, width, height) that differ in other, outside
        mask, by more than tolerance in a colour."""
        left, top, width, height = rect
        found = []
        for y in range(top, top + height):
            start = 3 * (y * WIDTH + left)
            if self.data[start:start + 3 * width] == other.data[start:start + 3 * width]:
                continue
            for x in range(left, left + width):
                at = 3 * (y * WIDTH + x)
                mine, theirs = self.data[at:at + 3], other.data[at:at + 3]
                if mine != theirs and not (mask and inside(mask, x, y)) and (
                        not tolerance or max(abs(a - b) for a, b in zip(mine, theirs)) > tolerance):
                    found.append((x, y))
        return found


class Picture:
    """One window's own pixels: the top left of a screen cast of it alone,
    black around it."""

    def __init__(self, frame):
        rows = [frame.data[3 * WIDTH * y:3 * WIDTH * (y + 1)] for y in range(HEIGHT)]
        lengths = [len(row.rstrip(b"\0")) for row in rows]
        self.height = max((y + 1 for y, length in enumerate(lengths) if length), default=0)
        self.width = (max(lengths) + 2) // 3
        self.rows = [row[:3 * self.width] for row in rows[:self.height]]

    def size(self):
        return (self.width, self.height)

    def find(self, frame):
        """Where the picture shows in full on the frame, as x, y; or None."""
        best, at = 0, None
        for index in range(0, self.height, max(1, self.height // 16)):
            needle = self.rows[index]
            if needle == needle[:3] * self.width:
                continue  # a row of one colour is found anywhere
            found = frame.data.find(needle)
            for _ in range(20):
                if found < 0:
                    break
                x, y = found // 3 % WIDTH, found // 3 // WIDTH - index
                if found % 3 == 0 and x + self.width <= WIDTH and 0 <= y <= HEIGHT - self.height:
                    alike = sum(1 for row in range(self.height)
                                if self.rows[row] == frame.row(x, y + row, self.width))
                    if alike > best:
                        best, at = alike, (x, y)
                found = frame.data.find(needle, found + 1)
        return at if best >= 0.9 * self.height else None

    def unlike(self, frame, at, rect):
        """How many pixels of rect on the frame are not the picture's, shown at `at`."""
        left, top, width, height = rect
        count = 0
        for y in range(top, top + height):
            mine = self.rows[y - at[1]][3 * (left - at[0]):3 * (left - at[0] + width)]
            theirs = frame.row(left, y, width)
            if mine != theirs:
                count += sum(1 for x in range(0, 3 * width, 3) if mine[x:x + 3] != theirs[x:x + 3])
        return count


def inside(rect, x, y):
    return rect[0] <= x < rect[0] + rect[2] and rect[1] <= y < rect[1] + rect[3]


class Mutter(dialog_tour.Compositor):
    name = "mutter"

    def __init__(self, processes, folder, source_dir):
        from gi.repository import Gio
        self.folder = folder
        self.source_dir = source_dir
        runtime = os.environ["XDG_RUNTIME_DIR"]
        self.log = open(os.path.join(folder, "mutter.log"), "w")
        for server in ("pipewire", "wireplumber"):
            processes.start([server], stdout=self.log, stderr=subprocess.STDOUT)
            if server == "pipewire":
                wait_for("pipewire's socket",
                         lambda: os.path.exists(os.path.join(runtime, "pipewire-0")))
        # Settings in memory: nothing of the machine's user is read or written.
        self.server = processes.start(
            ["mutter", "--headless", "--wayland", "--no-x11", "--wayland-display", SOCKET,
             "--virtual-monitor", "%dx%d" % (WIDTH, HEIGHT)],
            env=dict(os.environ, GSETTINGS_BACKEND="memory"), stdout=self.log,
            stderr=subprocess.STDOUT)
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION)
        services = ("org.gnome.Mutter.RemoteDesktop", "org.gnome.Mutter.ScreenCast")
        self.socket = os.path.join(runtime, SOCKET)
        wait_for("mutter's remote desktop and screen cast on the bus", lambda: self.alive() and all(
            self.owned(name) for name in services) and os.path.exists(self.socket))

        # A remote desktop session, with a screen cast of the monitor in it for
        # absolute pointer positions and for the frames.
        (self.session,) = self.call("RemoteDesktop", "/org/gnome/Mutter/RemoteDesktop",
                                    "org.gnome.Mutter.RemoteDesktop", "CreateSession", None, "(o)")
        (session_id,) = self.call(
            "RemoteDesktop", self.session, "org.freedesktop.DBus.Properties", "Get",
            ("(ss)", ("org.gnome.Mutter.RemoteDesktop.Session", "SessionId")), "(v)")
        _, self.stream, nodes = self.cast({"remote-desktop-session-id": self.variant(
            "s", session_id)}, "RecordMonitor", ("(sa{sv})", ("", {})))
        self.remote("Start")
        self.node = wait_for("the screen cast's PipeWire stream", lambda: nodes and nodes[0])
        self.main = None
        self.dialog = self.at = self.last = None

    @staticmethod
    def variant(kind, value):
        from gi.repository import GLib
        return GLib.Variant(kind, value)

    def call(self, service, path, interface, method, arguments, reply):
        from gi.repository import GLib
        result = self.bus.call_sync(
            "org.gnome.Mutter." + service, path, interface, method,
            arguments and GLib.Variant(*arguments), reply and GLib.VariantType(reply), 0,
            20000, None)
        return result.unpack() if result else None

    def remote(self, method, *arguments):
        signature = "(" + "".join(kind for kind, _ in arguments) + ")"
        self.call("RemoteDesktop", self.session, "org.gnome.Mutter.RemoteDesktop.Session",
                  method, (signature, tuple(v for _, v in arguments)) if arguments else None,
                  None)

    def owned(self, name):
        (owned,) = self.bus.call_sync(
            "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
            "NameHasOwner", self.variant("(s)", (name,)), None, 0, 5000, None).unpack()
        return owned

    def alive(self):
        if self.server.poll() is not None:
            self.log.flush()
            with open(self.log.name) as log:
                fail("mutter ended with %d:\n%s" % (self.server.returncode, log.read()[-3000:]))
        return True

    def cast(self, properties, method, arguments):
        """A screen cast session recording with method: the session, its stream,
        and the list its PipeWire node comes into once the session starts."""
        from gi.repository import Gio
        (session,) = self.call("ScreenCast", "/org/gnome/Mutter/ScreenCast",
                               "org.gnome.Mutter.ScreenCast", "CreateSession",
                               ("(a{sv})", (properties,)), "(o)")
        (stream,) = self.call("ScreenCast", session, "org.gnome.Mutter.ScreenCast.Session",
                              method, arguments, "(o)")
        nodes = []
        self.bus.signal_subscribe(
            "org.gnome.Mutter.ScreenCast", "org.gnome.Mutter.ScreenCast.Stream",
            "PipeWireStreamAdded", stream, None, Gio.DBusSignalFlags.NONE,
            lambda *signal: nodes.append(signal[5].unpack()[0]))
        return session, stream, nodes

    def cast_frame(self, method, arguments):
        """One frame of a screen cast session of its own, recording with method."""
        session, _, nodes = self.cast({}, method, arguments)
        self.call("ScreenCast", session, "org.gnome.Mutter.ScreenCast.Session", "Start", None,
                  None)
        try:
            return self.frame(wait_for("the PipeWire stream of " + method,
                                       lambda: nodes and nodes[0]))
        finally:
            self.call("ScreenCast", session, "org.gnome.Mutter.ScreenCast.Session", "Stop",
                      None, None)

    def frame(self, node=None):
        out = os.path.join(self.folder, "frame.rgb")
        subprocess.run(["gst-launch-1.0", "-q", "pipewiresrc", "path=%d" % (node or self.node),
                        "num-buffers=1", "!", "videoconvert", "!", "video/x-raw,format=RGB",
                        "!", "filesink", "location=" + out], check=True, capture_output=True,
                       timeout=60)
        with open(out, "rb") as data:
            return Frame(data.read())

    def settled(self, ready=lambda frame: True, seconds=10):
        """The first of two frames in a row alike but for the main window's
        clock and a few pixels (a dialog's own clock), once ready says yes."""
        end = time.monotonic() + seconds
        last = self.frame()
        while True:
            self.alive()
            now = self.frame()
            if ready(now) and len(now.differing(last, (0, 0, WIDTH, HEIGHT), self.clock())) < 800:
                return now
            if time.monotonic() > end:
                return now
            last = now

    def clock(self):
        return self.main and self.place("lblTime")

    def place(self, name):
        """A control of the main window on the monitor."""
        x, y, width, height = design.control(
            os.path.join(self.source_dir, "app", "TfrmMain.ui"), name)
        return (self.main[0] + x, self.main[1] + y, width, height)

    def find_main(self, empty):
        """Where the main window lies: what changed since the empty monitor, whose
        background is drawn again a shade apart once a window is on it."""
        shown = self.settled()
        changed = empty.differing(shown, (0, 0, WIDTH, HEIGHT), tolerance=6)
        if not changed:
            fail("the main window is not in the frames")
        xs, ys = [x for x, _ in changed], [y for _, y in changed]
        self.main = (min(xs), min(ys), max(xs) + 1 - min(xs), max(ys) + 1 - min(ys))
        if self.main[2:] != MAIN_SIZE:
            fail("the main window shows as %d x %d at %d, %d" % (self.main[2:] + self.main[:2]))
        print("mutter: the main window is %d x %d at %d, %d" % (self.main[2:] + self.main[:2]))

    def click(self, x, y):
        self.remote("NotifyPointerMotionAbsolute", ("s", self.stream), ("d", x), ("d", y))
        for pressed in (True, False):
            self.remote("NotifyPointerButton", ("i", BUTTON_LEFT), ("b", pressed))

    def key(self, name, pressed=None):
        for down in (True, False) if pressed is None else (pressed,):
            self.remote("NotifyKeyboardKeycode", ("u", KEYCODES[name]), ("b", down))

    def drag(self, start, end):
        """Moves the window under start by end - start: Super held, mutter's
        modifier for moving a window wherever it is grabbed."""
        self.key("Super_L", True)
        self.remote("NotifyPointerMotionAbsolute", ("s", self.stream), ("d", start[0]),
                    ("d", start[1]))
        self.remote("NotifyPointerButton", ("i", BUTTON_LEFT), ("b", True))
        for step in range(1, 11):
            self.remote("NotifyPointerMotionAbsolute", ("s", self.stream),
                        ("d", start[0] + (end[0] - start[0]) * step / 10),
                        ("d", start[1] + (end[1] - start[1]) * step / 10))
            time.sleep(0.05)
        self.remote("NotifyPointerButton", ("i", BUTTON_LEFT), ("b", False))
        self.key("Super_L", False)

    def focused_window(self):
        """The focused window's own picture, drawn by a screen cast of it alone
        (mutter's RecordWindow without a window id), once that is not the main
        window; None when the focus stays there."""
        end = time.monotonic() + 10
        while True:
            picture = Picture(self.cast_frame("RecordWindow", ("(a{sv})", ({},))))
            if abs(picture.width - MAIN_SIZE[0]) > 3 or abs(picture.height - MAIN_SIZE[1]) > 3:
                return picture
            if time.monotonic() > end:
                return None
            time.sleep(0.5)

    def overlap(self):
        """The part of the main window the dialog lies over, or None."""
        left, top = max(self.at[0], self.main[0]), max(self.at[1], self.main[1])
        right = min(self.at[0] + self.dialog.width, self.main[0] + self.main[2])
        bottom = min(self.at[1] + self.dialog.height, self.main[1] + self.main[3])
        return (left, top, right - left, bottom - top) if right > left and bottom > top else None

    def activate_main(self):
        self.dialog = self.focused_window()
        self.last = self.settled()
        self.at = self.dialog and self.dialog.find(self.last)
        if self.at and not self.overlap():
            # mutter 43 places a toplevel with a parent like any other window,
            # mostly beside the main window: it is dragged over it (Super and
            # the pointer, as a player may move any window), so that a click
            # on the main window shows which of the two is above.
            print("mutter: the dialog lies beside the main window, at %d, %d: moved over it"
                  % self.at)
            self.drag((self.at[0] + self.dialog.width // 2, self.at[1] + self.dialog.height // 2),
                      (self.main[0] + self.main[2] // 2, self.main[1] + self.main[3] // 2))
            self.last = self.settled()
            self.at = self.dialog.find(self.last)
        # A corner of the main window that the dialog leaves free.
        left, top, width, height = self.main
        for x, y in ((left + 5, top + 5), (left + width - 6, top + 5),
                     (left + 5, top + height - 6), (left + width - 6, top + height - 6)):
            if not (self.at and inside(self.at + self.dialog.size(), x, y)):
                self.click(x, y)
                return
        fail("the dialog leaves no corner of the main window to click")

    def above(self, title):
        if self.dialog is None:
            print("mutter: the focus did not go to %r" % title)
            return False
        if self.at is None:
            print("mutter: %r is nowhere to be seen in full" % title)
            return False
        where = "%r (%d x %d at %d, %d)" % ((title,) + self.dialog.size() + self.at)
        over = self.overlap()
        if not over:
            print("mutter: %s does not overlap the main window: its stacking cannot be seen"
                  % where)
            return False
        time.sleep(0.5)  # for the compositor to restack, if it does
        self.last = self.settled()
        area = over[2] * over[3]
        hidden = self.dialog.unlike(self.last, self.at, over)
        print("mutter: %s covers %d pixels of the main window; after the click %d of them "
              "are not the dialog's" % (where, area, hidden))
        # A dialog that lost the focus draws a few controls (a list's selected
        # line) in other colours; a main window raised over it shows its own
        # pixels over nearly half of it, the other half being white in both.
        return hidden < 0.25 * area

    def screenshot(self, path):
        raw = os.path.join(self.folder, "shot.rgb")
        with open(raw, "wb") as out:
            out.write(self.last.data)
        subprocess.run(["convert", "-size", "%dx%d" % (WIDTH, HEIGHT), "-depth", "8",
                        "rgb:" + raw, path], check=True, timeout=60)


def main():
    if len(sys.argv) < 4:
        fail(__doc__)
    game_path = os.path.abspath(sys.argv[1])
    source_dir, word_list = sys.argv[2], sys.argv[3]
    keep = sys.argv[4] if len(sys.argv) > 4 else None
    gone = missing()
    if gone:
        print("wayland_mutter: skipped, missing " + ", ".join(gone))
        sys.exit(SKIP)
    with open(word_list) as listed:
        words = listed.read().split()
    if keep:
        os.makedirs(keep, exist_ok=True)

    processes = Processes()
    folder = tempfile.mkdtemp(prefix="lexipede-mutter-")
    began = time.monotonic()
    try:
        start_bus(processes)
        os.environ.pop("DISPLAY", None)
        os.environ.pop("WAYLAND_DISPLAY", None)
        os.environ["XDG_RUNTIME_DIR"] = os.path.join(folder, "runtime")
        os.mkdir(os.environ["XDG_RUNTIME_DIR"], 0o700)
        start_accessibility_bus(processes)
        mutter = Mutter(processes, folder, source_dir)
        empty = mutter.frame()

        dialog_tour.play("mutter", processes, game_path,
                         dict(os.environ, WAYLAND_DISPLAY=mutter.socket), folder, mutter, words,
                         keep, began, lambda player: mutter.find_main(empty))
    finally:
        processes.stop_all()
        subprocess.run(["rm", "-rf", folder], check=False)


if __name__ == "__main__":
    main()
