#include "TfrmSameWord.h"

#include "media/Sound.h"
#include "ui_TfrmSameWord.h"

TfrmSameWord::TfrmSameWord(QWidget* owner) : TDialogForm(owner, 330, 180), ui_(std::make_unique<Ui::TfrmSameWord>()) {
    ui_->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    EnableKeyPreview();
    connect(ui_->cmdOk, &TImageButton::clicked, this, &TfrmSameWord::cmdOKClick);
}

TfrmSameWord::~TfrmSameWord() = default;

TLabel* TfrmSameWord::lblSameWord() const { return ui_->lblSameWord; }

void TfrmSameWord::cmdOKClick() { close(); }

void TfrmSameWord::FormKeyDown(QKeyEvent* key) { CloseOnEnter(key); }

void TfrmSameWord::FormClose() {
    PlayWave("OK", false);
}
