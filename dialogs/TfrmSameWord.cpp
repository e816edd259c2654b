#include "TfrmSameWord.h"

#include "ui_TfrmSameWord.h"

TfrmSameWord::TfrmSameWord(QWidget* owner) : TDialogForm(owner, 330, 180), ui_(std::make_unique<Ui::TfrmSameWord>()) {
    ui_->setupUi(this);
    EnableKeyPreview();
}

TfrmSameWord::~TfrmSameWord() = default;
