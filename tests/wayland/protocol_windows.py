"""The windows a Wayland client made, read from its protocol log
(WAYLAND_DEBUG=client on its standard error): each xdg_toplevel with its
title, app_id and parent, in the order they were made.

Every window the game opens from another must name that window as its
parent (xdg_toplevel.set_parent), or a compositor may stack it below the
window it blocks; only the windows made before the main window (the loading
window and the start-up warning) have none to name.
"""

import re

from atspi_board import fail

MAIN_TITLE = "Lexipede"

REQUEST = re.compile(r"->\s+(xdg_\w+)@(\d+)\.(\w+)\((.*)\)\s*$")
NEW_TOPLEVEL = re.compile(r"new id xdg_toplevel@(\d+)")
PARENT = re.compile(r"xdg_toplevel@(\d+)")
TITLE = re.compile(r'^"(.*)"$')


def read_toplevels(path):
    """[{"title", "app_id", "parent"}] in creation order; parent is the
    parent's title (as it last was) or None."""
    made = []
    live = {}  # object id -> its record; ids are reused after destroy
    with open(path, errors="replace") as log:
        for line in log:
            request = REQUEST.search(line)
            if not request:
                continue
            interface, number, name, arguments = request.groups()
            if interface == "xdg_surface" and name == "get_toplevel":
                toplevel = {"title": None, "app_id": None, "parent": None}
                made.append(toplevel)
                live[NEW_TOPLEVEL.search(arguments).group(1)] = toplevel
                continue
            toplevel = live.get(number) if interface == "xdg_toplevel" else None
            if toplevel is None:
                continue
            if name == "set_title" or name == "set_app_id":
                text = TITLE.match(arguments)
                toplevel["title" if name == "set_title" else "app_id"] = (
                    text.group(1) if text else arguments)
            elif name == "set_parent":
                parent = PARENT.search(arguments)
                toplevel["parent"] = live.get(parent.group(1)) if parent else None
            elif name == "destroy":
                del live[number]
    return [dict(t, parent=t["parent"]["title"] if t["parent"] else None) for t in made]


def plain(title):
    """A title without the application's name, which the toolkit appends."""
    if title and title.endswith(" \u2014 " + MAIN_TITLE):
        return title[:-len(" \u2014 " + MAIN_TITLE)]
    return title


def table(toplevels):
    rows = ["%-24s %-10s %s" % ("window", "app_id", "parent")]
    rows += ["%-24s %-10s %s" % (plain(t["title"]), t["app_id"], plain(t["parent"]) or "-")
             for t in toplevels]
    return "\n".join(rows)


def check_parents(toplevels):
    """Fails unless every window made after the main window has a parent and a
    title; returns the table of windows and parents."""
    main = next((i for i, t in enumerate(toplevels) if t["title"] == MAIN_TITLE), None)
    if main is None:
        fail("no window titled %r in the protocol log:\n%s" % (MAIN_TITLE, table(toplevels)))
    faults = []
    for toplevel in toplevels[main + 1:]:
        if toplevel["parent"] is None:
            faults.append("%r has no parent" % toplevel["title"])
        # A plain message box carries the application's title by design; the
        # dialogs name what they are.
        if not toplevel["title"]:
            faults.append("a window with the parent %r has no title" % toplevel["parent"])
    if faults:
        fail("; ".join(faults) + ":\n" + table(toplevels))
    return table(toplevels)
