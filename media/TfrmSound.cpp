#include "TfrmSound.h"

#include "Sound.h"
#include "ui_TfrmSound.h"

TfrmSound::TfrmSound(QWidget* owner) : TDesignedDialog(owner, 330, 179) {
    setAttribute(Qt::WA_DeleteOnClose);
    EnableKeyPreview();
    connect(ui_->cmdSetSound, &TImageButton::clicked, this, &TfrmSound::cmdSetSoundClick);
    BindOk(ui_->cmdOk);
}

TfrmSound::~TfrmSound() = default;

void TfrmSound::FormShow() {
    ShowSoundState();
    // First in the tab order; the toolkit would start at the OK picture, made
    // before it.
    ui_->cmdSetSound->setFocus();
}

void TfrmSound::ShowSoundState() {
    ui_->cmdSetSound->SetPicture(SoundOn ? ui_->ImageSoundOff->Picture()
                                         : ui_->ImageSoundOn->Picture());
}

void TfrmSound::cmdSetSoundClick() {
    // The click is heard when sound goes off, and not when it comes on.
    PlayWave("Click", false);
    SoundOn = !SoundOn;
    ShowSoundState();
}

void TfrmSound::FormClose() {
    PlayWave("CLICK", true);
}
