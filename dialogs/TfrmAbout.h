#pragma once

#include "platform/widgets/TDialogForm.h"

#include <memory>

namespace Ui {
class TfrmAbout;
}

// Product, version, maker and copyright. Destroyed when it closes.
class TfrmAbout : public TDialogForm {
    Q_OBJECT

public:
    explicit TfrmAbout(QWidget* owner = nullptr);
    ~TfrmAbout() override;

    Ui::TfrmAbout& Form() { return *ui_; }
    void cmdOKClick();

protected:
    void FormShow() override;
    void FormKeyDown(QKeyEvent* key) override;
    void FormClose() override;

private:
    std::unique_ptr<Ui::TfrmAbout> ui_;
};
