#include "TfrmAddScore.h"

#include "media/Sound.h"
#include "ui_TfrmAddScore.h"

TfrmAddScore::TfrmAddScore(QWidget* owner) : TDialogForm(owner, 332, 404), ui_(std::make_unique<Ui::TfrmAddScore>()) {
    ui_->setupUi(this);
    EnableKeyPreview();
    connect(ui_->cmdOk, &TImageButton::clicked, this, &TfrmAddScore::cmdOKClick);
}

TfrmAddScore::~TfrmAddScore() = default;

void TfrmAddScore::FormShow() {
    PlayWave("GOODJOB", true);
    ui_->eNewName->setFocus();
}

void TfrmAddScore::cmdOKClick() { close(); }

void TfrmAddScore::FormKeyDown(QKeyEvent* key) { CloseOnEnter(key); }

void TfrmAddScore::FormClose() { PlayWave("CLICK", true); }
