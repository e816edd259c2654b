#include "TfrmHighScores.h"

#include "ui_TfrmHighScores.h"

TfrmHighScores::TfrmHighScores(QWidget* owner) : TDialogForm(owner, 333, 403), ui_(std::make_unique<Ui::TfrmHighScores>()) {
    ui_->setupUi(this);
    EnableKeyPreview();
}

TfrmHighScores::~TfrmHighScores() = default;
