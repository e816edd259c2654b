#include "TfrmAbout.h"

#include "media/Sound.h"
#include "ui_TfrmAbout.h"

TfrmAbout::TfrmAbout(QWidget* owner) : TNoticeDialog(owner, 330, 180) {}

TfrmAbout::~TfrmAbout() = default;

void TfrmAbout::FormShow() {
    ui_->lblVersion->setText(QStringLiteral("Lexipede 1.1.6.1"));
    ui_->lblCompany->setText(QStringLiteral("The Lexipede developers"));
    ui_->lblCopyright->setText(QStringLiteral("Copyright 2026 The Lexipede developers"));
}

void TfrmAbout::FormClose() {
    PlayWave("OK", false);
}
