#include "TfrmBonusDone.h"

#include "media/Sound.h"
#include "ui_TfrmBonusDone.h"

TfrmBonusDone::TfrmBonusDone(QWidget* owner) : TNoticeDialog(owner, 334, 404) {}

TfrmBonusDone::~TfrmBonusDone() = default;

TLabel* TfrmBonusDone::lblCorrectWord() const {
    return ui_->lblCorrectWord;
}

TLabel* TfrmBonusDone::lblPlayerWord() const {
    return ui_->lblPlayerWord;
}

void TfrmBonusDone::ShowBonusPoints() {
    ui_->lblBonusPoints->SetCaption(QStringLiteral("Bonus Points : %1").arg(Points));
}

void TfrmBonusDone::FormClose() {
    PlayWave("CLICK", true);
}
