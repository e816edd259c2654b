#include "TfrmDisplaySettings.h"

#include "ui_TfrmDisplaySettings.h"

TfrmDisplaySettings::TfrmDisplaySettings(QWidget* owner) : TDesignedDialog(owner, 430, 407) {
    EnableKeyPreview();
}

TfrmDisplaySettings::~TfrmDisplaySettings() = default;
