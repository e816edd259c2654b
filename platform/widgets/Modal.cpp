#include "Modal.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>

int TModalRunner::ShowModal(QDialog& dialog) {
    return dialog.exec();
}

void TModalRunner::Warning(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Warning"), text, QMessageBox::Ok, parent);
    box.exec();
}

void TModalRunner::Message(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, parent);
    box.exec();
}
