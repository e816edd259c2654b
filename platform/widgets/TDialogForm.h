#pragma once

#include <QDialog>
#include <memory>

class TImageButton;

// What every dialog of the game shares: a borderless, white, fixed-size window
// centred on the screen that sees every key before its controls. It closes only
// where the dialog says so: never on Escape.
class TDialogForm : public QDialog {
    Q_OBJECT

public:
    TDialogForm(QWidget* owner, int clientWidth, int clientHeight);

    // The OK picture closes the dialog.
    void cmdOKClick() { close(); }

protected:
    // Hooks named as the dialogs name them. FormShow runs before the window
    // becomes visible; FormClose when it closes, however it is closed.
    virtual void FormShow() {}
    virtual void FormClose() {}
    // Enter closes a dialog unless it says otherwise.
    virtual void FormKeyDown(QKeyEvent* key) { CloseOnEnter(key); }

    // Wires the key preview; call once the design is set up.
    void EnableKeyPreview();
    void BindOk(TImageButton* ok);
    // Enter (Return or the keypad's Enter, virtual key 13, any modifiers) closes
    // the dialog; true when it did.
    bool CloseOnEnter(QKeyEvent* key);

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    bool closing_ = false;
};

// A dialog made from its Qt Designer design, which it holds as Form().
template <class Design> class TDesignedDialog : public TDialogForm {
public:
    Design& Form() { return *ui_; }

protected:
    TDesignedDialog(QWidget* owner, int clientWidth, int clientHeight)
        : TDialogForm(owner, clientWidth, clientHeight), ui_(std::make_unique<Design>()) {
        ui_->setupUi(this);
    }

    std::unique_ptr<Design> ui_;
};

// A notice: it tells the player something, closes on its OK picture or Enter,
// and is destroyed when it closes.
template <class Design> class TNoticeDialog : public TDesignedDialog<Design> {
protected:
    TNoticeDialog(QWidget* owner, int clientWidth, int clientHeight)
        : TDesignedDialog<Design>(owner, clientWidth, clientHeight) {
        this->setAttribute(Qt::WA_DeleteOnClose);
        this->EnableKeyPreview();
        this->BindOk(this->ui_->cmdOk);
    }
};
