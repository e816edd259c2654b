#include "TfrmBadWord.h"

#include "media/Sound.h"
#include "ui_TfrmBadWord.h"

TfrmBadWord::TfrmBadWord(QWidget* owner) : TNoticeDialog(owner, 330, 180) {}

TfrmBadWord::~TfrmBadWord() = default;

TLabel* TfrmBadWord::lblBadWord() const {
    return ui_->lblBadWord;
}

void TfrmBadWord::FormShow() {
    PlayWave("OOPS", true);
}

void TfrmBadWord::FormClose() {
    PlayWave("CLICK", true);
}
