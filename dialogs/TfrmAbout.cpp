#include "TfrmAbout.h"

#include "ui_TfrmAbout.h"

TfrmAbout::TfrmAbout(QWidget* owner) : TDialogForm(owner, 330, 180), ui_(std::make_unique<Ui::TfrmAbout>()) {
    ui_->setupUi(this);
    EnableKeyPreview();
}

TfrmAbout::~TfrmAbout() = default;
