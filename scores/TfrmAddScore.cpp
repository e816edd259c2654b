#include "TfrmAddScore.h"

#include "ui_TfrmAddScore.h"

TfrmAddScore::TfrmAddScore(QWidget* owner) : TDialogForm(owner, 332, 404), ui_(std::make_unique<Ui::TfrmAddScore>()) {
    ui_->setupUi(this);
    EnableKeyPreview();
}

TfrmAddScore::~TfrmAddScore() = default;
