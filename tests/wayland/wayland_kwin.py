#!/usr/bin/python3
"""The real game as a native Wayland client of KDE's compositor (kwin_wayland
--virtual, on a D-Bus session and runtime folder of its own), driven over AT-SPI:
- every dialog is a transient child of the window that opens it, once the main
  window is activated it is still stacked above it and a real Enter key closes
  it (the dialog tour);
- prints the game's windows and parents as its protocol log shows them, and as
  KWin sees them (transient parent, modal, keep-above).

KWin is asked through scripts loaded over its Scripting D-Bus interface (they
print their answers to KWin's log), shows its screen through ScreenShot2, and
takes keys and clicks through its fake-input protocol.

Usage: wayland_kwin.py GAME WORD_LIST [SCREENSHOT_DIR]
Exits 77 when kwin_wayland, Qt's Wayland plugin or the Python bindings are missing.
"""

import ctypes
import glob
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "smoke"))
from atspi_board import (Processes, fail, start_accessibility_bus, start_bus,  # noqa: E402
                         wait_for)
import dialog_tour  # noqa: E402

SKIP = 77
SOCKET = "wayland-lexipede"
WIDTH, HEIGHT = 1280, 1024
# The keys the dialog tour types, by X keysym name, as the evdev key codes
# that fake input takes (KWin 5.27 has version 4, without keysyms).
KEYS = {"Return": 28, "F8": 66}
BUTTON_LEFT = 0x110


def skip(message):
    print("kwin: skipped: " + message)
    sys.exit(SKIP)


class FakeInput:
    """KWin's org_kde_kwin_fake_input, spoken through libwayland-client.

    KWin 5.27 offers no zwp_virtual_keyboard_v1 (wtype's protocol): its own way
    for a client to press keys is fake input, which KDE Connect and KWin's
    tests use. It is a restricted global, shown to every client only with
    KWIN_WAYLAND_NO_PERMISSION_CHECKS=1. Debian has no Python binding of
    libwayland, so the few requests are marshalled here through ctypes."""

    REQUESTS = [("authenticate", "ss"), ("pointer_motion", "ff"), ("button", "uu"),
                ("axis", "uf"), ("touch_down", "2uff"), ("touch_motion", "2uff"),
                ("touch_up", "2u"), ("touch_cancel", "2"), ("touch_frame", "2"),
                ("pointer_motion_absolute", "3ff"), ("keyboard_key", "4uu")]
    VERSION = 4

    class Message(ctypes.Structure):
        _fields_ = [("name", ctypes.c_char_p), ("signature", ctypes.c_char_p),
                    ("types", ctypes.c_void_p)]

    class Interface(ctypes.Structure):
        _fields_ = [("name", ctypes.c_char_p), ("version", ctypes.c_int),
                    ("method_count", ctypes.c_int), ("methods", ctypes.c_void_p),
                    ("event_count", ctypes.c_int), ("events", ctypes.c_void_p)]

    def __init__(self, display_name):
        lib = self.lib = ctypes.CDLL("libwayland-client.so.0")
        lib.wl_display_connect.restype = ctypes.c_void_p
        lib.wl_display_connect.argtypes = [ctypes.c_char_p]
        lib.wl_proxy_marshal_flags.restype = ctypes.c_void_p
        lib.wl_proxy_add_listener.argtypes = [ctypes.c_void_p] * 3
        lib.wl_display_roundtrip.argtypes = [ctypes.c_void_p]
        lib.wl_display_disconnect.argtypes = [ctypes.c_void_p]
        self.display = lib.wl_display_connect(display_name.encode())
        if not self.display:
            fail("cannot connect to KWin's socket %s" % display_name)

        # No request of fake input takes an object: its types are all NULL.
        self.no_types = (ctypes.c_void_p * 4)()
        self.methods = (self.Message * len(self.REQUESTS))(*[
            self.Message(name.encode(), signature.encode(),
                         ctypes.cast(self.no_types, ctypes.c_void_p))
            for name, signature in self.REQUESTS])
        self.interface = self.Interface(b"org_kde_kwin_fake_input", self.VERSION,
                                        len(self.REQUESTS),
                                        ctypes.cast(self.methods, ctypes.c_void_p), 0, None)

        registry_interface = ctypes.c_void_p.in_dll(lib, "wl_registry_interface")
        registry = lib.wl_proxy_marshal_flags(  # wl_display.get_registry
            ctypes.c_void_p(self.display), ctypes.c_uint32(1),
            ctypes.c_void_p(ctypes.addressof(registry_interface)), ctypes.c_uint32(1),
            ctypes.c_uint32(0), ctypes.c_void_p(None))
        globals_seen = {}
        on_global = ctypes.CFUNCTYPE(None, ctypes.c_void_p, ctypes.c_void_p, ctypes.c_uint32,
                                     ctypes.c_char_p, ctypes.c_uint32)(
            lambda data, proxy, name, interface, version:
                globals_seen.__setitem__(interface.decode(), (name, version)))
        on_remove = ctypes.CFUNCTYPE(None, ctypes.c_void_p, ctypes.c_void_p,
                                     ctypes.c_uint32)(lambda *unused: None)
        self.listener = (ctypes.c_void_p * 2)(ctypes.cast(on_global, ctypes.c_void_p),
                                              ctypes.cast(on_remove, ctypes.c_void_p))
        self.callbacks = (on_global, on_remove)
        lib.wl_proxy_add_listener(registry, self.listener, None)
        lib.wl_display_roundtrip(self.display)
        if "org_kde_kwin_fake_input" not in globals_seen:
            fail("KWin offers no org_kde_kwin_fake_input")
        name, version = globals_seen["org_kde_kwin_fake_input"]
        if version < self.VERSION:
            fail("KWin's fake input is version %d, keys need %d" % (version, self.VERSION))
        self.proxy = lib.wl_proxy_marshal_flags(  # wl_registry.bind
            ctypes.c_void_p(registry), ctypes.c_uint32(0), ctypes.byref(self.interface),
            ctypes.c_uint32(self.VERSION), ctypes.c_uint32(0), ctypes.c_uint32(name),
            ctypes.c_char_p(self.interface.name), ctypes.c_uint32(self.VERSION),
            ctypes.c_void_p(None))
        self.request("authenticate", ctypes.c_char_p(b"lexipede test"),
                     ctypes.c_char_p(b"presses keys in the game"))

    def request(self, name, *args):
        opcode = [n for n, _ in self.REQUESTS].index(name)
        self.lib.wl_proxy_marshal_flags(ctypes.c_void_p(self.proxy), ctypes.c_uint32(opcode),
                                        ctypes.c_void_p(None), ctypes.c_uint32(self.VERSION),
                                        ctypes.c_uint32(0), *args)
        if self.lib.wl_display_roundtrip(self.display) < 0:
            fail("KWin closed the fake input connection after %s" % name)

    def key(self, code):
        for state in (1, 0):
            self.request("keyboard_key", ctypes.c_uint32(code), ctypes.c_uint32(state))

    def click(self, x, y):
        self.request("pointer_motion_absolute", ctypes.c_int32(int(x * 256)),
                     ctypes.c_int32(int(y * 256)))
        for state in (1, 0):
            self.request("button", ctypes.c_uint32(BUTTON_LEFT), ctypes.c_uint32(state))

    def close(self):
        self.lib.wl_display_disconnect(ctypes.c_void_p(self.display))


def write_png(path, width, height, stride, bgra):
    """QImage's ARGB32 rows (blue, green, red, alpha bytes) as an RGB PNG."""
    rows = bytearray()
    for y in range(height):
        row = bgra[y * stride:y * stride + 4 * width]
        rgb = bytearray(3 * width)
        rgb[0::3], rgb[1::3], rgb[2::3] = row[2::4], row[1::4], row[0::4]
        rows += b"\0" + rgb

    def chunk(kind, data):
        return (len(data).to_bytes(4, "big") + kind + data
                + zlib.crc32(kind + data).to_bytes(4, "big"))
    header = width.to_bytes(4, "big") + height.to_bytes(4, "big") + bytes([8, 2, 0, 0, 0])
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                  + chunk(b"IDAT", zlib.compress(bytes(rows), 6)) + chunk(b"IEND", b""))


# Every window of the game as KWin's scripting sees it, one JSON line each.
WINDOWS_SCRIPT = """
var windows = workspace.clientList();
for (var i = 0; i < windows.length; i++) {
    var w = windows[i];
    if (w.pid != %(pid)d) continue;
    print("%(marker)s " + JSON.stringify({
        title: w.caption, parent: w.transientFor ? w.transientFor.caption : null,
        transient: w.transient, modal: w.modal, keep_above: w.keepAbove,
        stacking: w.stackingOrder, active: w.active,
        geometry: [w.frameGeometry.x, w.frameGeometry.y,
                   w.frameGeometry.width, w.frameGeometry.height]}));
}
print("%(marker)s end");
"""

ACTIVATE_SCRIPT = """
var windows = workspace.clientList();
for (var i = 0; i < windows.length; i++) {
    if (windows[i].pid == %(pid)d && windows[i].caption == %(title)s)
        workspace.activeClient = windows[i];
}
print("%(marker)s end");
"""


def plain_title(caption):
    """A caption without the application's name, which Qt appends."""
    return re.sub(r" \u2014 %s( <\d+>)?$" % dialog_tour.MAIN_TITLE, r"\1", caption)


class KWin(dialog_tour.Compositor):
    """A headless kwin_wayland, and the compositor adapter of the dialog tour."""

    name = "kwin"

    def __init__(self, processes, folder):
        self.folder = folder
        self.processes = processes
        self.fake_input = None
        self.pid = None
        self.seen = {}  # title: what KWin said of the window when it was last asked
        installed = shutil.which("kwin_wayland")
        if installed is None:
            skip("no kwin_wayland (Debian's kwin-wayland)")
        # Debian's binary carries a file capability (cap_sys_resource) that
        # makes exec fail with "Operation not permitted" for root in a
        # container; a copy carries none.
        binary = os.path.join(folder, "kwin_wayland")
        shutil.copy(installed, binary)
        self.runtime = os.environ["XDG_RUNTIME_DIR"]
        home = os.path.join(folder, "home")
        os.mkdir(home)
        environment = dict(os.environ, HOME=home, KWIN_SCREENSHOT_NO_PERMISSION_CHECKS="1",
                           KWIN_WAYLAND_NO_PERMISSION_CHECKS="1", XDG_CONFIG_HOME=home)
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
            environment.pop(name, None)
        self.log_path = os.path.join(folder, "kwin.log")
        self.log = open(self.log_path, "w")
        self.process = processes.start(
            [binary, "--virtual", "--no-lockscreen", "--no-global-shortcuts",
             "--socket", SOCKET, "--width", str(WIDTH), "--height", str(HEIGHT)],
            env=environment, stdout=self.log, stderr=subprocess.STDOUT)
        wait_for("KWin's socket and D-Bus services", self.ready, seconds=60,
                 report=self.log_tail)
        self.client = dict(os.environ, WAYLAND_DISPLAY=SOCKET)
        self.client.pop("DISPLAY", None)
        self.fake_input = FakeInput(SOCKET)
        self.script_count = 0

    def log_tail(self):
        with open(self.log_path, errors="replace") as log:
            return "KWin's log ends\n" + "".join(log.readlines()[-15:])

    def ready(self):
        if self.process.poll() is not None:
            fail("kwin_wayland ended with %d: %s" % (self.process.returncode, self.log_tail()))
        if not os.path.exists(os.path.join(self.runtime, SOCKET)):
            return False
        from gi.repository import Gio
        bus = Gio.bus_get_sync(Gio.BusType.SESSION)
        names = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus",
                              "org.freedesktop.DBus", "ListNames", None, None,
                              Gio.DBusCallFlags.NONE, 5000, None).unpack()[0]
        return "org.kde.KWin" in names and "org.kde.KWin.ScreenShot2" in names

    def call(self, service, path, interface, method, arguments=None, reply=None,
             fds=None):
        from gi.repository import Gio, GLib
        bus = Gio.bus_get_sync(Gio.BusType.SESSION)
        answer, _ = bus.call_with_unix_fd_list_sync(
            service, path, interface, method, arguments,
            reply and GLib.VariantType(reply), Gio.DBusCallFlags.NONE, 20000, fds, None)
        return answer.unpack()

    def script(self, text, **values):
        """Runs a KWin script; gives what it printed after its marker, line by line."""
        from gi.repository import GLib
        self.script_count += 1
        marker = "lexipede-kwin-%d" % self.script_count
        path = os.path.join(self.folder, marker + ".js")
        with open(path, "w") as out:
            out.write(text % dict(values, marker=marker))
        scripting = ("org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting")
        self.call(*scripting, "loadScript", GLib.Variant("(ss)", (path, marker)), "(i)")
        self.call(*scripting, "start")

        def printed():
            with open(self.log_path, errors="replace") as log:
                lines = [line.split(marker + " ", 1)[1].rstrip("\n") for line in log
                         if marker + " " in line]
            # In a tuple: a script may print nothing but its end.
            return (lines[:-1],) if lines and lines[-1] == "end" else None
        try:
            return wait_for("the answer of KWin script %s" % marker, printed,
                            report=self.log_tail)[0]
        finally:
            self.call(*scripting, "unloadScript", GLib.Variant("(s)", (marker,)), "(b)")

    def windows(self):
        found = [json.loads(line) for line in self.script(WINDOWS_SCRIPT, pid=self.pid)]
        for window in found:  # by caption: KWin tells windows of one title apart
            self.seen.setdefault(window["title"], {}).update(window)
        return found

    def window(self, title):
        return next((w for w in self.windows() if w["title"] == title), None)

    # The dialog tour's adapter.
    def activate_main(self):
        """Clicks the main window's border, as a player would, where no other
        window of the game covers it; activates it by script where all do.
        KWin has handled the click, or the script, once the call returns."""
        windows = self.windows()
        main = next(w for w in windows if w["title"] == dialog_tour.MAIN_TITLE)
        x, y = main["geometry"][0] + 2, main["geometry"][1] + 2  # no control there
        if any(w is not main and w["geometry"][0] <= x < w["geometry"][0] + w["geometry"][2]
               and w["geometry"][1] <= y < w["geometry"][1] + w["geometry"][3]
               for w in windows):
            self.script(ACTIVATE_SCRIPT, pid=self.pid, title=json.dumps(dialog_tour.MAIN_TITLE))
        else:
            self.fake_input.click(x, y)

    def above(self, title):
        """Whether the topmost window titled `title` (as the game set it; KWin
        may add " <2>") is stacked above the main window."""
        windows = self.windows()
        main = next(w for w in windows if w["title"] == dialog_tour.MAIN_TITLE)
        dialogs = [w for w in windows if re.sub(r" <\d+>$", "", w["title"]) == title
                   and w is not main]
        if not dialogs:
            return False
        dialog = max(dialogs, key=lambda w: w["stacking"])
        above = dialog["stacking"] > main["stacking"]
        self.seen[dialog["title"]]["above_main"] = above
        return above

    def key(self, name):
        self.fake_input.key(KEYS[name])

    def focus_settled(self):
        """Waits (5 s at most) until KWin's active window is another than the
        main window. The key that closed one dialog may leave the focus with
        the main window for a moment, before the game hands it back to the
        dialog below; a player's next key does not come as fast as the test's.
        A dialog that never takes the focus back still gets its Enter, and
        the tour sees it stay open."""
        end = time.monotonic() + 5
        while time.monotonic() < end:
            active = [w for w in self.windows() if w["active"]]
            if active and active[0]["title"] != dialog_tour.MAIN_TITLE:
                return
            time.sleep(0.1)

    def enter(self):
        self.focus_settled()
        self.key("Return")

    def screenshot(self, path):
        """The whole screen as KWin composed it, saved as a PNG."""
        from gi.repository import Gio, GLib
        read_end, write_end = os.pipe()
        fds = Gio.UnixFDList.new()
        fds.append(write_end)
        os.close(write_end)
        result = self.call("org.kde.KWin.ScreenShot2", "/org/kde/KWin/ScreenShot2",
                           "org.kde.KWin.ScreenShot2", "CaptureWorkspace",
                           GLib.Variant("(a{sv}h)", ({}, 0)), "(a{sv})", fds)[0]
        del fds  # KWin holds the write end now; ours must go for the read to end
        with os.fdopen(read_end, "rb") as pipe:
            data = pipe.read()
        width, height, stride = result["width"], result["height"], result["stride"]
        if len(data) < stride * height:
            fail("KWin's screenshot holds %d bytes, not %d" % (len(data), stride * height))
        write_png(path, width, height, stride, data)

    def table(self):
        """KWin's view of every window it was asked about, as last seen open."""
        row = "%-20s %-17s %-6s %-11s %s"
        lines = [row % ("window (KWin)", "transient for", "modal", "keep-above",
                        "above main after the click")]
        for title, window in self.seen.items():
            lines.append(row % (
                plain_title(title), plain_title(window["parent"]) if window["parent"] else "-",
                "yes" if window["modal"] else "no", "yes" if window["keep_above"] else "no",
                {True: "yes", False: "NO"}.get(window.get("above_main"), "-")))
        return "\n".join(lines)

    def stop(self):
        if self.fake_input:
            self.fake_input.close()


def missing():
    """What the test needs and this machine lacks."""
    gone = [] if shutil.which("kwin_wayland") else ["kwin_wayland (kwin-wayland)"]
    if not glob.glob("/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so"):
        gone.append("Qt's Wayland plugin (qt6-wayland)")
    for module in ("gi", "pyatspi"):
        try:
            __import__(module)
        except ImportError:
            gone.append("the Python module " + module)
    return gone


def main():
    if len(sys.argv) < 3:
        fail(__doc__)
    game = os.path.abspath(sys.argv[1])
    word_list = sys.argv[2]
    keep = sys.argv[3] if len(sys.argv) > 3 else None
    gone = missing()
    if gone:
        skip("missing " + ", ".join(gone))
    with open(word_list) as listed:
        words = listed.read().split()
    if keep:
        os.makedirs(keep, exist_ok=True)

    processes = Processes()
    folder = tempfile.mkdtemp(prefix="lexipede-kwin-")
    began = time.monotonic()
    kwin = None
    try:
        start_bus(processes)
        os.environ.pop("DISPLAY", None)
        os.environ.pop("WAYLAND_DISPLAY", None)
        os.environ["XDG_RUNTIME_DIR"] = os.path.join(folder, "runtime")
        os.mkdir(os.environ["XDG_RUNTIME_DIR"], 0o700)
        start_accessibility_bus(processes)
        kwin = KWin(processes, folder)
        print("kwin: kwin_wayland --virtual %dx%d up after %.1f s" % (
            WIDTH, HEIGHT, time.monotonic() - began))

        def started(player):
            kwin.pid = player.pid
            wait_for("the main window in KWin", lambda: kwin.window(dialog_tour.MAIN_TITLE))
        dialog_tour.play("kwin", processes, game, kwin.client, folder, kwin, words, keep, began,
                         started)
    finally:
        if kwin:
            if kwin.seen:
                print("kwin: the windows as KWin saw them while they were open:")
                print(kwin.table())
            kwin.stop()
        processes.stop_all()
        if keep:  # with the screenshots, the logs that tell what happened
            if os.path.exists(os.path.join(folder, "kwin.log")):
                shutil.copy(os.path.join(folder, "kwin.log"), os.path.join(keep, "kwin.log"))
        subprocess.run(["rm", "-rf", folder], check=False)


if __name__ == "__main__":
    main()
