#pragma once

#include <QString>

class QDialog;
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
