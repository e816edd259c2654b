#pragma once

#include <functional>

class QObject;

// Lets assistive technology see our picture buttons, and the labels that act as
// buttons, as push buttons and our grids as tables of cells. The widgets call it
// as they are made, before anything can ask how they look to assistive
// technology.
void InstallAccessibility();

// An accessible press answers at once and presses in the next turn of the event
// loop, unless target is gone by then: a press that opens a modal window (a
// dialog, the bonus round) would otherwise hold the screen reader's call until
// the window closed, and D-Bus gives up on a call after 25 s.
void PressSoon(QObject* target, std::function<void()> press);
