#pragma once

#include "platform/widgets/TDialogForm.h"

#include <memory>

namespace Ui {
class TfrmDisplaySettings;
}

// Lists the display modes and sets one.
class TfrmDisplaySettings : public TDialogForm {
    Q_OBJECT

public:
    explicit TfrmDisplaySettings(QWidget* owner = nullptr);
    ~TfrmDisplaySettings() override;

    Ui::TfrmDisplaySettings& Form() { return *ui_; }

private:
    std::unique_ptr<Ui::TfrmDisplaySettings> ui_;
};
