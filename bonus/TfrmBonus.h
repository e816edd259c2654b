#pragma once

#include "platform/widgets/TDialogForm.h"

namespace Ui {
class TfrmBonus;
}

// The bonus round: put the tangled letters back in order.
class TfrmBonus : public TDesignedDialog<Ui::TfrmBonus> {
    Q_OBJECT

public:
    explicit TfrmBonus(QWidget* owner = nullptr);
    ~TfrmBonus() override;
};
