#pragma once

#include "platform/widgets/TDialogForm.h"

namespace Ui {
class TfrmSound;
}

// Switches sound on and off. The button reads as what a click does: "Off"
// while sound is on, "On" while it is off. Destroyed when it closes.
class TfrmSound : public TDesignedDialog<Ui::TfrmSound> {
    Q_OBJECT

public:
    explicit TfrmSound(QWidget* owner = nullptr);
    ~TfrmSound() override;

    void cmdSetSoundClick();

protected:
    void FormShow() override;
    void FormClose() override;

private:
    void ShowSoundState();
};
