#pragma once

#include <QDialog>

class TKeyPreview;

// What every dialog of the game shares: a borderless, white, fixed-size window
// centred on the screen that sees every key before its controls. It closes only
// where the dialog says so: never on Escape.
class TDialogForm : public QDialog {
    Q_OBJECT

public:
    TDialogForm(QWidget* owner, int clientWidth, int clientHeight);

protected:
    // Hooks named as the dialogs name them. FormShow runs before the window
    // becomes visible; FormClose when it closes, however it is closed.
    virtual void FormShow() {}
    virtual void FormClose() {}
    virtual void FormKeyDown(QKeyEvent*) {}

    // Wires the key preview; call once the design is set up.
    void EnableKeyPreview();
    // Enter (Return or the keypad's Enter, virtual key 13, any modifiers) closes
    // the dialog; true when it did.
    bool CloseOnEnter(QKeyEvent* key);

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    bool closing_ = false;
};
