#include "TfrmBadWord.h"

#include "media/Sound.h"
#include "ui_TfrmBadWord.h"

TfrmBadWord::TfrmBadWord(QWidget* owner) : TDialogForm(owner, 330, 180), ui_(std::make_unique<Ui::TfrmBadWord>()) {
    ui_->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    EnableKeyPreview();
    connect(ui_->cmdOk, &TImageButton::clicked, this, &TfrmBadWord::cmdOKClick);
}

TfrmBadWord::~TfrmBadWord() = default;

TLabel* TfrmBadWord::lblBadWord() const { return ui_->lblBadWord; }

void TfrmBadWord::FormShow() {
    PlayWave("OOPS", true);
}

void TfrmBadWord::cmdOKClick() { close(); }

void TfrmBadWord::FormKeyDown(QKeyEvent* key) { CloseOnEnter(key); }

void TfrmBadWord::FormClose() {
    PlayWave("CLICK", true);
}
