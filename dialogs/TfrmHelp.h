#pragma once

#include "platform/widgets/TDialogForm.h"

#include <memory>

namespace Ui {
class TfrmHelp;
}

// How to play, and the points table. The text box may be typed into; nothing
// typed survives the dialog. Destroyed when it closes.
class TfrmHelp : public TDialogForm {
    Q_OBJECT

public:
    explicit TfrmHelp(QWidget* owner = nullptr);
    ~TfrmHelp() override;

    Ui::TfrmHelp& Form() { return *ui_; }
    void cmdOKClick();

protected:
    void FormShow() override;
    void FormKeyDown(QKeyEvent* key) override;
    void FormClose() override;

private:
    std::unique_ptr<Ui::TfrmHelp> ui_;
};
