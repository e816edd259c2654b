#pragma once

#include "platform/widgets/TDialogForm.h"

#include <memory>

namespace Ui {
class TfrmAddScore;
}

// Asks for the name that goes with a new high score. Its caller reads the name
// once it has closed, then destroys it.
class TfrmAddScore : public TDialogForm {
    Q_OBJECT

public:
    explicit TfrmAddScore(QWidget* owner = nullptr);
    ~TfrmAddScore() override;

    Ui::TfrmAddScore& Form() { return *ui_; }
    void cmdOKClick();

protected:
    void FormShow() override;
    void FormKeyDown(QKeyEvent* key) override;
    void FormClose() override;

private:
    std::unique_ptr<Ui::TfrmAddScore> ui_;
};
