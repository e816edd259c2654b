#pragma once

#include "platform/widgets/TDialogForm.h"

namespace Ui {
class TfrmAbout;
}

// Product, version, maker and copyright. Destroyed when it closes.
class TfrmAbout : public TNoticeDialog<Ui::TfrmAbout> {
    Q_OBJECT

public:
    explicit TfrmAbout(QWidget* owner = nullptr);
    ~TfrmAbout() override;

protected:
    void FormShow() override;
    void FormClose() override;
};
