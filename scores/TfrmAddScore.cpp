#include "TfrmAddScore.h"

#include "media/Sound.h"
#include "ui_TfrmAddScore.h"

TfrmAddScore::TfrmAddScore(QWidget* owner) : TDesignedDialog(owner, 332, 404) {
    EnableKeyPreview();
    BindOk(ui_->cmdOk);
}

TfrmAddScore::~TfrmAddScore() = default;

void TfrmAddScore::FormShow() {
    PlayWave("GOODJOB", true);
    ui_->eNewName->setFocus();
}

void TfrmAddScore::FormClose() {
    PlayWave("CLICK", true);
}
