#pragma once

#include "platform/widgets/TDialogForm.h"

#include <memory>

namespace Ui {
class TfrmBonusDone;
}

// The result of the bonus round.
class TfrmBonusDone : public TDialogForm {
    Q_OBJECT

public:
    explicit TfrmBonusDone(QWidget* owner = nullptr);
    ~TfrmBonusDone() override;

    Ui::TfrmBonusDone& Form() { return *ui_; }

private:
    std::unique_ptr<Ui::TfrmBonusDone> ui_;
};
