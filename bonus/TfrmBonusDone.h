#pragma once

#include "platform/widgets/TDialogForm.h"

namespace Ui {
class TfrmBonusDone;
}

// The result of the bonus round.
class TfrmBonusDone : public TDesignedDialog<Ui::TfrmBonusDone> {
    Q_OBJECT

public:
    explicit TfrmBonusDone(QWidget* owner = nullptr);
    ~TfrmBonusDone() override;
};
