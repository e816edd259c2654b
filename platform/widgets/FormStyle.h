#pragma once

#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;

// The conventions every window of the game follows: no border or caption, a
// white background, a fixed client size, the default font (Liberation Sans
// standing in for "MS Sans Serif", 11 pixels), centred on the screen.
void ApplyWindowConventions(QWidget* form, int clientWidth, int clientHeight);
void CentreOnScreen(QWidget* form);
// Moves a window that reaches past its screen's available area back inside
// it (its top-left corner first, where the window is larger than the screen).
void KeepOnScreen(QWidget* form);

// Key preview: the window sees every key press of its controls before they do.
// The handler may accept the event to keep it from the control.
class TKeyPreview : public QObject {
public:
    TKeyPreview(QWidget* form, std::function<void(QKeyEvent*)> handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(QKeyEvent*)> handler_;
    // True while a key the window did not take goes on to its control (and, if
    // the control ignores it, up through the control's parents as usual).
    bool delivering_ = false;
};
