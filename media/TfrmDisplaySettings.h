#pragma once

#include "platform/DisplayModes.h"
#include "platform/widgets/TDialogForm.h"

#include <memory>

namespace Ui {
class TfrmDisplaySettings;
}

// Lists the display's modes, one line each in the display's own order, and
// switches the display to the one picked. Apply always ends with the
// program-wide display-change notice. Destroyed when it closes.
class TfrmDisplaySettings : public TDesignedDialog<Ui::TfrmDisplaySettings> {
    Q_OBJECT

public:
    explicit TfrmDisplaySettings(std::unique_ptr<TDisplayModes> modes, QWidget* owner = nullptr);
    ~TfrmDisplaySettings() override;

    void DispResListClick();
    void cmdApplyClick();

protected:
    void FormShow() override;
    void FormClose() override;

private:
    void FormCreate();

    std::unique_ptr<TDisplayModes> modes_;
    int pickedRow_ = -1; // the line lblSelected names; -1 before any
};
