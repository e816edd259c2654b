#pragma once

#include "platform/widgets/TDialogForm.h"

#include <memory>

namespace Ui {
class TfrmAddScore;
}

// Asks for the name that goes with a new high score.
class TfrmAddScore : public TDialogForm {
    Q_OBJECT

public:
    explicit TfrmAddScore(QWidget* owner = nullptr);
    ~TfrmAddScore() override;

    Ui::TfrmAddScore& Form() { return *ui_; }

private:
    std::unique_ptr<Ui::TfrmAddScore> ui_;
};
