"""Every kind of dialog of the game, as a player on a Wayland desktop meets it,
on whichever compositor the calling test runs: each dialog opens as a transient
child of the window that opened it (in the game's WAYLAND_DEBUG log), is still
above the main window after the main window was clicked, and closes on a real
Enter typed through the compositor.

The tour plays one game: Help; the display mode dialog (F8) and its
"Changes in display detected!" box after Apply; the bonus round (dice picked
one by one until its window opens) and its result; a word found on the board
(so the score is above 0) and found again, for the same-word notice; and at the
end of the game the high-score window with its name entry.

A faulty dialog does not end the tour: what went wrong is collected, the dialog
is closed through AT-SPI, and the tour goes on, so one run names every fault.
"""

import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "smoke"))
from atspi_board import deal, fail, find, game_window, press, wait_for  # noqa: E402
from protocol_windows import check_parents, read_toplevels  # noqa: E402

GAME_SECONDS = 172.8
MAIN_TITLE = "Lexipede"


class Compositor:
    """What the tour asks of a compositor. `name` prefixes kept screenshots."""

    name = "compositor"

    def activate_main(self):
        """Clicks (or activates) the main window, where no dialog covers it."""
        raise NotImplementedError

    def above(self, title):
        """True when the window titled `title` is stacked above the main window."""
        raise NotImplementedError

    def key(self, name):
        """Types the key of that X keysym name ("Return", "F8") through the compositor."""
        raise NotImplementedError

    def enter(self):
        self.key("Return")

    def screenshot(self, path):
        raise NotImplementedError


def soon(probe, seconds):
    """probe's first true answer within seconds, else None."""
    end = time.monotonic() + seconds
    while True:
        found = probe()
        if found or time.monotonic() > end:
            return found
        time.sleep(0.1)


def showing(window):
    import pyatspi
    try:
        return window.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:  # the window is gone from the bus
        return False


def word_on(faces, words):
    """The longest word (of 3 to 8 letters) that the board's dice spell, each die once."""
    from collections import Counter
    dice = Counter(face.lower() for face in faces)

    def spelled(word):
        need = Counter()
        rest = word
        while rest:
            face = "qu" if rest.startswith("qu") else rest[0]
            need[face] += 1
            rest = rest[len(face):]
        return all(dice[face] >= count for face, count in need.items())
    found = [w for w in words if 3 <= len(w) <= 8 and w.isalpha() and spelled(w)]
    return max(found, key=len) if found else None


class Tour:
    def __init__(self, window, compositor, protocol_log, keep=None):
        self.main = window
        self.application = window.parent
        self.compositor = compositor
        self.protocol_log = protocol_log
        self.keep = keep
        self.problems = []

    def windows(self):
        shown = (self.application.getChildAtIndex(i) for i in range(self.application.childCount))
        return [w for w in shown if w is not None and showing(w)]

    def appeared(self, before, what, count=1, seconds=20):
        known = [w.path for w in before]

        def fresh():
            new = [w for w in self.windows() if w.path not in known]
            return len(new) >= count and new
        return wait_for(what, fresh, seconds=seconds,
                        report=lambda: "windows: %r" % [w.name for w in self.windows()])

    def toplevels(self):
        from protocol_windows import read_toplevels
        return read_toplevels(self.protocol_log)

    def made(self, known, what, count=1):
        """The toplevels the protocol log shows made since the first `known`."""
        return wait_for("%d new toplevel(s) in the protocol log for the %s" % (count, what),
                        lambda: len(self.toplevels()) >= known + count and self.toplevels()[known:])

    def check(self, good, problem):
        if not good:
            print("dialog tour: FAULT: " + problem)
            self.problems.append(problem)

    def judge(self, toplevel, opener, kind):
        """The dialog is its opener's transient child in the protocol, and after
        a click on the main window it is still above it."""
        title, parent = toplevel["title"], toplevel["parent"]
        self.check(title != opener, "the %s is titled %r like its opener" % (kind, title))
        self.check(parent == opener, "the %s %r has the parent %r in the protocol, not %r" % (
            kind, title, parent, opener))
        self.compositor.activate_main()
        above = self.compositor.above(title)
        self.check(above, "the %s %r is not above the main window after a click on it" % (
            kind, title))
        if self.keep:
            self.compositor.screenshot(os.path.join(
                self.keep, "%s-%s.png" % (self.compositor.name, kind.replace(" ", "-"))))
        print("dialog tour: %s %r, parent %r, %s the main window after a click on it" % (
            kind, title, parent, "above" if above else "NOT above"))

    def closes_on_enter(self, dialog, kind):
        self.compositor.enter()
        if soon(lambda: not showing(dialog), 5):
            print("dialog tour: %s %r closed on Enter" % (kind, dialog.name))
            return
        self.check(False, "the %s %r did not close on Enter" % (kind, dialog.name))
        press(wait_for("the OK of %r" % dialog.name, lambda: find(dialog, "push button", "OK")))
        wait_for("%r to close on OK" % dialog.name, lambda: not showing(dialog))

    def open(self, kind, open_it, before=None):
        """Opens one dialog with open_it: gives it on the accessibility bus and
        its toplevel in the protocol log. before: the windows and the count of
        toplevels before it opened, when they were taken earlier."""
        seen, known = before or (self.windows(), len(self.toplevels()))
        open_it()
        return self.appeared(seen, "the " + kind)[0], self.made(known, kind)[-1]

    def visit(self, kind, opener, open_it, close=True):
        """Opens one dialog, judges it and (unless close is False) closes it
        with Enter; gives the dialog and its title in the protocol."""
        dialog, toplevel = self.open(kind, open_it)
        self.judge(toplevel, opener, kind)
        if close:
            self.closes_on_enter(dialog, kind)
        return dialog, toplevel["title"]

    def display_dialog(self):
        """F8, then Apply: the display mode dialog and its notice."""
        dialog, title = self.visit("display dialog", MAIN_TITLE,
                                   lambda: self.compositor.key("F8"), close=False)
        apply = wait_for("the Apply button", lambda: find(dialog, "push button", "Apply"))
        self.visit("display change box", title, lambda: press(apply))
        self.closes_on_enter(dialog, "display dialog")

    def bonus_round(self, board):
        """Dice picked one by one until the bonus window opens; then its five
        letters, in the order shown, for the result dialog."""
        import pyatspi
        table = board.queryTable()

        def pick_until_bonus():
            for index in range(25):
                die = table.getAccessibleAt(index // 5, index % 5)
                before = len(self.windows())
                press(die)
                wait_for("die %d picked or the bonus window" % index, lambda: len(
                    self.windows()) > before or die.getState().contains(pyatspi.STATE_CHECKED))
                if len(self.windows()) > before:
                    return
            fail("no die of the board opened the bonus round")
        bonus, toplevel = self.open("bonus window", pick_until_bonus)
        # Taken before the bonus window is judged: on a slow machine its clock
        # may run out meanwhile, and the result comes by itself.
        before = (self.windows(), len(self.toplevels()))
        self.judge(toplevel, MAIN_TITLE, "bonus window")
        letters = wait_for("the tangled letters", lambda: find(bonus, "table", "Tangled letters"))

        def pick_five():
            for index in range(letters.childCount):
                press(letters.getChildAtIndex(index))
        result, made = self.open("bonus result", pick_five, before)
        self.judge(made, toplevel["title"], "bonus result")
        self.closes_on_enter(result, "bonus result")
        wait_for("the bonus window to close after its result", lambda: not showing(bonus))

    def found_twice(self, board, score, words):
        """A word of the board scores; found again, it brings the same-word notice."""
        table = board.queryTable()
        faces = [table.getAccessibleAt(i // 5, i % 5).name for i in range(25)]
        word = word_on(faces, words)
        if word is None:
            fail("no word of the list can be spelled from %r" % faces)
        points = score.name
        add = wait_for("Add Word", lambda: find(self.main, "push button", "Add Word"))

        def spell():
            free = list(range(25))
            rest = word.upper()
            while rest:
                index = next(i for i in free if rest.startswith(faces[i]))
                free.remove(index)
                rest = rest[len(faces[index]):]
                press(table.getAccessibleAt(index // 5, index % 5))
            wait_for("%r spelled" % word, lambda: find(self.main, "label", word.upper()))
            press(add)
        spell()
        wait_for("points for %r" % word, lambda: score.name != points)
        print("dialog tour: %r scored %s" % (word, score.name))
        self.visit("same-word notice", MAIN_TITLE, spell)

    def game_over(self, started):
        """The high-score window and its name entry at the end of the game."""
        seen, known = self.windows(), len(self.toplevels())
        left = GAME_SECONDS - (time.monotonic() - started)
        print("dialog tour: the game ends within %.0f s" % max(left, 0))
        opened = self.appeared(seen, "the high-score window and its name entry", count=2,
                               seconds=max(left, 0) + 30)
        entry = next(w for w in opened if find(w, "text"))
        scores = next(w for w in opened if w is not entry)
        # The name entry comes last; the high-score window has a toplevel of
        # its own before it, or its name entry cannot have it as parent.
        made = self.made(known, "name entry")
        self.check(len(made) > 1, "the high-score window has no toplevel while its name entry "
                   "is open")
        self.judge(made[-1], made[0]["title"] if len(made) > 1 else "(the high-score window)",
                   "name entry")
        self.closes_on_enter(entry, "name entry")
        after = self.made(known, "high-score window", count=2)
        self.judge(after[0] if len(made) > 1 else after[1], MAIN_TITLE, "high-score window")
        self.closes_on_enter(scores, "high-score window")


def tour(window, compositor, protocol_log, words, keep=None):
    """Plays one game through every kind of dialog; gives the faults found."""
    visit = Tour(window, compositor, protocol_log, keep)
    board = deal(window)
    started = time.monotonic()
    score = wait_for("the score", lambda: find(window, "label", "0"))
    visit.visit("help", MAIN_TITLE, lambda: press(
        wait_for("the Help button", lambda: find(window, "push button", "Help"))))
    visit.display_dialog()
    # The bonus round comes first: afterwards its die is an ordinary die and
    # no word in the making can open it. Its round stops the game clock.
    paused = time.monotonic()
    visit.bonus_round(board)
    started += time.monotonic() - paused
    visit.found_twice(board, score, words)
    visit.game_over(started)
    return visit.problems


def play(name, processes, game, environment, folder, compositor, words, keep, began,
         started=lambda player: None):
    """Starts the game on the compositor with its protocol logged, calls
    started(player) to let the compositor find it, plays the tour, quits with 0
    and prints the windows and their parents; fails naming every fault found."""
    protocol_log = os.path.join(folder, "protocol.log")
    with open(protocol_log, "w") as log:
        player = processes.start(
            [game], cwd=folder, stderr=log,
            env=dict(environment, QT_QPA_PLATFORM="wayland", WAYLAND_DEBUG="client",
                     QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", SDL_AUDIODRIVER="dummy"))
    window = game_window(player)
    started(player)
    problems = tour(window, compositor, protocol_log, words, keep)

    press(wait_for("the Quit button", lambda: find(window, "push button", "Quit")))
    try:
        code = player.wait(timeout=20)
    except subprocess.TimeoutExpired:
        fail("the game did not end within 20 s of Quit")
    if code != 0:
        fail("the game ended with %d" % code)
    print("%s: the windows and their parents in the protocol log:" % name)
    print(check_parents(read_toplevels(protocol_log)))
    print("%s: the test took %.0f s" % (name, time.monotonic() - began))
    if keep:
        shutil.copy(protocol_log, os.path.join(keep, name + "-protocol.log"))
    if problems:
        fail("%d faults:\n  " % len(problems) + "\n  ".join(problems))
