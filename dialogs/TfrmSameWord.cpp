#include "TfrmSameWord.h"

#include "media/Sound.h"
#include "ui_TfrmSameWord.h"

TfrmSameWord::TfrmSameWord(QWidget* owner) : TNoticeDialog(owner, 330, 180) {}

TfrmSameWord::~TfrmSameWord() = default;

TLabel* TfrmSameWord::lblSameWord() const {
    return ui_->lblSameWord;
}

void TfrmSameWord::FormClose() {
    PlayWave("OK", false);
}
