#include "TfrmDisplaySettings.h"

#include "ui_TfrmDisplaySettings.h"

TfrmDisplaySettings::TfrmDisplaySettings(QWidget* owner) : TDialogForm(owner, 430, 407), ui_(std::make_unique<Ui::TfrmDisplaySettings>()) {
    ui_->setupUi(this);
    EnableKeyPreview();
}

TfrmDisplaySettings::~TfrmDisplaySettings() = default;
