#pragma once

#include "platform/widgets/TDialogForm.h"

namespace Ui {
class TfrmDisplaySettings;
}

// Lists the display modes and sets one.
class TfrmDisplaySettings : public TDesignedDialog<Ui::TfrmDisplaySettings> {
    Q_OBJECT

public:
    explicit TfrmDisplaySettings(QWidget* owner = nullptr);
    ~TfrmDisplaySettings() override;
};
