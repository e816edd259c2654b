#pragma once

#include "platform/widgets/TDialogForm.h"

#include <memory>

namespace Ui {
class TfrmSound;
}

// Switches sound on and off. The button reads as what a click does: "Off"
// while sound is on, "On" while it is off. Destroyed when it closes.
class TfrmSound : public TDialogForm {
    Q_OBJECT

public:
    explicit TfrmSound(QWidget* owner = nullptr);
    ~TfrmSound() override;

    Ui::TfrmSound& Form() { return *ui_; }

    void cmdSetSoundClick();
    void cmdOKClick();

protected:
    void FormShow() override;
    void FormKeyDown(QKeyEvent* key) override;
    void FormClose() override;

private:
    void ShowSoundState();

    std::unique_ptr<Ui::TfrmSound> ui_;
};
