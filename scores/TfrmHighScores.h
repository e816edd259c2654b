#pragma once

#include "platform/widgets/TDialogForm.h"

#include <memory>

namespace Ui {
class TfrmHighScores;
}

// The ten best scores.
class TfrmHighScores : public TDialogForm {
    Q_OBJECT

public:
    explicit TfrmHighScores(QWidget* owner = nullptr);
    ~TfrmHighScores() override;

    Ui::TfrmHighScores& Form() { return *ui_; }

private:
    std::unique_ptr<Ui::TfrmHighScores> ui_;
};
