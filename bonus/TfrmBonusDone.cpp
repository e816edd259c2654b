#include "TfrmBonusDone.h"

#include "ui_TfrmBonusDone.h"

TfrmBonusDone::TfrmBonusDone(QWidget* owner) : TDesignedDialog(owner, 334, 404) {
    EnableKeyPreview();
}

TfrmBonusDone::~TfrmBonusDone() = default;
