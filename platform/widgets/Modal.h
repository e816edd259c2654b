#pragma once

#include <QString>

class QDialog;
class QGuiApplication;
class QWidget;

// How modal windows and message boxes are shown. Production runs a nested
// message loop (timers keep firing inside it); tests answer without waiting.
class TModalRunner {
public:
    virtual ~TModalRunner() = default;
    virtual int ShowModal(QDialog& dialog);
    // A warning box: caption "Warning", the warning icon, one OK button.
    virtual void Warning(QWidget* parent, const QString& text);
    // A plain box: the application title as caption, no icon, one OK button.
    virtual void Message(QWidget* parent, const QString& text);
};

// A compositor that does not know our dialogs are modal (KWin 5.27 on Wayland)
// gives the focus to the window the player clicks, even one a modal dialog
// blocks, and the keys meant for the dialog are lost. From here on the focus
// is handed back to the modal window whenever a window it blocks takes it.
void HandFocusToModalWindow(QGuiApplication& app);
