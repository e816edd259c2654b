#include "TfrmHelp.h"

#include "ui_TfrmHelp.h"

TfrmHelp::TfrmHelp(QWidget* owner) : TDialogForm(owner, 430, 410), ui_(std::make_unique<Ui::TfrmHelp>()) {
    ui_->setupUi(this);
    EnableKeyPreview();
}

TfrmHelp::~TfrmHelp() = default;
