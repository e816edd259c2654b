#pragma once

#include "platform/widgets/TDialogForm.h"

#include <memory>

namespace Ui {
class TfrmBonus;
}

// The bonus round: put the tangled letters back in order.
class TfrmBonus : public TDialogForm {
    Q_OBJECT

public:
    explicit TfrmBonus(QWidget* owner = nullptr);
    ~TfrmBonus() override;

    Ui::TfrmBonus& Form() { return *ui_; }

private:
    std::unique_ptr<Ui::TfrmBonus> ui_;
};
