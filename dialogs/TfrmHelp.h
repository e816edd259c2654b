#pragma once

#include "platform/widgets/TDialogForm.h"

#include <memory>

namespace Ui {
class TfrmHelp;
}

// How to play, and the points table.
class TfrmHelp : public TDialogForm {
    Q_OBJECT

public:
    explicit TfrmHelp(QWidget* owner = nullptr);
    ~TfrmHelp() override;

    Ui::TfrmHelp& Form() { return *ui_; }

private:
    std::unique_ptr<Ui::TfrmHelp> ui_;
};
