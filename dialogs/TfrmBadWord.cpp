#include "TfrmBadWord.h"

#include "ui_TfrmBadWord.h"

TfrmBadWord::TfrmBadWord(QWidget* owner) : TDialogForm(owner, 330, 180), ui_(std::make_unique<Ui::TfrmBadWord>()) {
    ui_->setupUi(this);
    EnableKeyPreview();
}

TfrmBadWord::~TfrmBadWord() = default;
