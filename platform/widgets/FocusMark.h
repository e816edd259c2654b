#pragma once

#include <functional>

class QKeyEvent;
class QPainter;
class QRect;
class QWidget;

// The keyboard focus mark, shown as desktops show theirs: only while the player
// uses the keyboard. A key that moves the focus or presses what has it (Tab,
// Shift+Tab, an arrow, Space, Enter) shows it; a mouse press hides it until the
// next such key. One state for the whole program, so a dialog opened from the
// keyboard shows its mark at once.
//
// The widgets that take the focus call WatchKeyboardUse as they are made.
void WatchKeyboardUse();
// True while widget has the keyboard focus and the mark is shown.
bool FocusMarkShown(const QWidget* widget);
// The mark: an outline drawn inside rect, over what is there, so that it moves
// and resizes nothing.
void PaintFocusMark(QPainter& painter, const QRect& rect);

// Space or Enter on a focused button: takes the key and presses, on its first
// press only (a held key presses once). False for any other key, which is left
// to the widget.
bool PressOnKey(QKeyEvent& key, const std::function<void()>& press);
