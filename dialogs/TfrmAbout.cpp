#include "TfrmAbout.h"

#include "media/Sound.h"
#include "ui_TfrmAbout.h"

TfrmAbout::TfrmAbout(QWidget* owner) : TDialogForm(owner, 330, 180), ui_(std::make_unique<Ui::TfrmAbout>()) {
    ui_->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    EnableKeyPreview();
    connect(ui_->cmdOk, &TImageButton::clicked, this, &TfrmAbout::cmdOKClick);
}

TfrmAbout::~TfrmAbout() = default;

void TfrmAbout::FormShow() {
    ui_->lblVersion->setText(QStringLiteral("Lexipede 1.1.6.1"));
    ui_->lblCompany->setText(QStringLiteral("The Lexipede developers"));
    ui_->lblCopyright->setText(QStringLiteral("Copyright 2026 The Lexipede developers"));
}

void TfrmAbout::cmdOKClick() { close(); }

void TfrmAbout::FormKeyDown(QKeyEvent* key) { CloseOnEnter(key); }

void TfrmAbout::FormClose() {
    PlayWave("OK", false);
}
