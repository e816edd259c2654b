#include "TfrmSameWord.h"

#include "media/Sound.h"
#include "ui_TfrmSameWord.h"

TfrmSameWord::TfrmSameWord(QWidget* owner) : TDesignedDialog(owner, 330, 180) {
    setAttribute(Qt::WA_DeleteOnClose);
    EnableKeyPreview();
    BindOk(ui_->cmdOk);
}

TfrmSameWord::~TfrmSameWord() = default;

TLabel* TfrmSameWord::lblSameWord() const {
    return ui_->lblSameWord;
}

void TfrmSameWord::FormClose() {
    PlayWave("OK", false);
}
