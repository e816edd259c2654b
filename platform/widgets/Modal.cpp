#include "Modal.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QShortcut>
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
    CloseOnEnterFromBlockedWindows(box);
    box.exec();
}

void TModalRunner::Message(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, parent);
    CloseOnEnterFromBlockedWindows(box);
    box.exec();
}

bool KeyboardAtBlockedWindow() {
    QWindow* modal = QGuiApplication::modalWindow();
    QWindow* focused = QGuiApplication::focusWindow();
    return modal != nullptr && focused != nullptr && !OpensFrom(focused, modal);
}

void CloseOnEnterFromBlockedWindows(QDialog& dialog) {
    // A compositor that does not know the dialog is modal (mutter 43, which
    // also refuses to hand the focus back) gives the keyboard to the window
    // the player clicks, though the dialog blocks it, and the toolkit drops the
    // keys sent there. Its shortcuts are still looked up, and an application
    // shortcut reaches only the modal window on top: Enter closes the dialog
    // from there too. Enabled only then, so that every other Enter goes
    // through the key preview as before.
    QList<QShortcut*> shortcuts;
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), &dialog);
        shortcut->setContext(Qt::ApplicationShortcut);
        shortcut->setEnabled(false);
        QObject::connect(shortcut, &QShortcut::activated, &dialog, &QDialog::close);
        shortcuts.push_back(shortcut);
    }
    QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, &dialog, [shortcuts] {
        const bool blocked = KeyboardAtBlockedWindow();
        for (QShortcut* shortcut : shortcuts) {
            shortcut->setEnabled(blocked);
        }
    });
}

void HandFocusToModalWindow(QGuiApplication& app) {
    QObject::connect(&app, &QGuiApplication::focusWindowChanged, &app, [] {
        if (KeyboardAtBlockedWindow()) {
            QGuiApplication::modalWindow()->requestActivate();
        }
    });
}
