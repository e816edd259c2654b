#include "TfrmSound.h"

#include "ui_TfrmSound.h"

TfrmSound::TfrmSound(QWidget* owner) : TDialogForm(owner, 330, 179), ui_(std::make_unique<Ui::TfrmSound>()) {
    ui_->setupUi(this);
    EnableKeyPreview();
}

TfrmSound::~TfrmSound() = default;
