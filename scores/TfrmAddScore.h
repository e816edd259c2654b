#pragma once

#include "platform/widgets/TDialogForm.h"

namespace Ui {
class TfrmAddScore;
}

// Asks for the name that goes with a new high score. Its caller reads the name
// once it has closed, then destroys it.
class TfrmAddScore : public TDesignedDialog<Ui::TfrmAddScore> {
    Q_OBJECT

public:
    explicit TfrmAddScore(QWidget* owner = nullptr);
    ~TfrmAddScore() override;

protected:
    void FormShow() override;
    void FormClose() override;
};
