#pragma once

#include "platform/widgets/TDialogForm.h"

namespace Ui {
class TfrmHelp;
}

// How to play, and the points table. The text box may be typed into; nothing
// typed survives the dialog. Destroyed when it closes.
class TfrmHelp : public TNoticeDialog<Ui::TfrmHelp> {
    Q_OBJECT

public:
    explicit TfrmHelp(QWidget* owner = nullptr);
    ~TfrmHelp() override;

protected:
    void FormShow() override;
    void FormClose() override;
};
