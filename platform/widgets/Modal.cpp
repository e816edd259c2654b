#include "Modal.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QWindow>

namespace {

// A window opened from the modal one (a drop-down list, a box of its own) is
// not blocked by it.
bool OpensFrom(const QWindow* window, const QWindow* modal) {
    for (; window != nullptr; window = window->transientParent()) {
        if (window == modal) {
            return true;
        }
    }
    return false;
}

} // namespace

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

void HandFocusToModalWindow(QGuiApplication& app) {
    QObject::connect(&app, &QGuiApplication::focusWindowChanged, &app, [](QWindow* focused) {
        QWindow* modal = QGuiApplication::modalWindow();
        if (focused != nullptr && modal != nullptr && !OpensFrom(focused, modal)) {
            modal->requestActivate();
        }
    });
}
