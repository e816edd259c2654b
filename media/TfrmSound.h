#pragma once

#include "platform/widgets/TDialogForm.h"

#include <memory>

namespace Ui {
class TfrmSound;
}

// Switches sound on and off.
class TfrmSound : public TDialogForm {
    Q_OBJECT

public:
    explicit TfrmSound(QWidget* owner = nullptr);
    ~TfrmSound() override;

    Ui::TfrmSound& Form() { return *ui_; }

private:
    std::unique_ptr<Ui::TfrmSound> ui_;
};
