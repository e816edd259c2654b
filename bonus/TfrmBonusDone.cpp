#include "TfrmBonusDone.h"

#include "ui_TfrmBonusDone.h"

TfrmBonusDone::TfrmBonusDone(QWidget* owner) : TDialogForm(owner, 334, 404), ui_(std::make_unique<Ui::TfrmBonusDone>()) {
    ui_->setupUi(this);
    EnableKeyPreview();
}

TfrmBonusDone::~TfrmBonusDone() = default;
