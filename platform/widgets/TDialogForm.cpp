#include "TDialogForm.h"

#include "FormStyle.h"
#include "Modal.h"
#include "TImage.h"

#include <QKeyEvent>
#include <QShowEvent>

TDialogForm::TDialogForm(QWidget* owner, int clientWidth, int clientHeight) : QDialog(owner) {
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    ApplyWindowConventions(this, clientWidth, clientHeight);
}

void TDialogForm::EnableKeyPreview() {
    new TKeyPreview(this, [this](QKeyEvent* key) { FormKeyDown(key); });
    CloseOnEnterFromBlockedWindows(*this);
}

void TDialogForm::BindOk(TImageButton* ok) {
    connect(ok, &TImageButton::clicked, this, &TDialogForm::cmdOKClick);
}

bool TDialogForm::CloseOnEnter(QKeyEvent* key) {
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) {
        return false;
    }
    key->accept();
    close();
    return true;
}

void TDialogForm::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        CentreOnScreen(this);
        FormShow();
    }
    QDialog::showEvent(event);
}

void TDialogForm::keyPressEvent(QKeyEvent* event) {
    // QDialog would reject on Escape; the game's dialogs ignore it.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TDialogForm::done(int result) {
    if (!closing_) {
        closing_ = true;
        FormClose();
    }
    QDialog::done(result);
}
