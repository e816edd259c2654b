#!/usr/bin/python3
"""Where a control of the main window's design (app/TfrmMain.ui) lies, for the
tests that press the real game from outside.

As a program: design.py UI_FILE NAME prints "x y width height" and, on a second
line, the file name of the control's picture when it has one.
"""

import sys
import xml.etree.ElementTree as ET


def widget(ui_file, name):
    for found in ET.parse(ui_file).iter("widget"):
        if found.get("name") == name:
            return found
    raise KeyError("no control %s in %s" % (name, ui_file))


def control(ui_file, name):
    """x, y, width, height of the control."""
    rect = widget(ui_file, name).find("property[@name='geometry']/rect")
    return tuple(int(rect.find(k).text) for k in ("x", "y", "width", "height"))


def picture(ui_file, name):
    """The file name of the control's picture, or None."""
    found = widget(ui_file, name).find("property[@name='pictureName']/string")
    return None if found is None else found.text.rsplit("/", 1)[-1]


if __name__ == "__main__":
    print(*control(sys.argv[1], sys.argv[2]))
    shown = picture(sys.argv[1], sys.argv[2])
    if shown:
        print(shown)
