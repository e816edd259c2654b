#include "FormStyle.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWidget>
#include <algorithm>

void ApplyWindowConventions(QWidget* form, int clientWidth, int clientHeight) {
    form->setWindowFlag(Qt::FramelessWindowHint, true);
    form->setFixedSize(clientWidth, clientHeight);
    QPalette colours = form->palette();
    colours.setColor(QPalette::Window, Qt::white);
    colours.setColor(QPalette::Base, Qt::white);
    form->setPalette(colours);
    form->setAutoFillBackground(true);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    form->setFont(font);
}

namespace {

QScreen* ScreenOf(QWidget* form) {
    return form->screen() != nullptr ? form->screen() : QGuiApplication::primaryScreen();
}

} // namespace

void CentreOnScreen(QWidget* form) {
    QScreen* screen = ScreenOf(form);
    if (screen == nullptr) {
        return;
    }
    const QRect available = screen->availableGeometry();
    form->move(available.center() - QPoint(form->width() / 2, form->height() / 2));
}

void KeepOnScreen(QWidget* form) {
    QScreen* screen = ScreenOf(form);
    if (screen == nullptr) {
        return;
    }
    const QRect available = screen->availableGeometry();
    const QRect frame = form->frameGeometry();
    QPoint corner = frame.topLeft();
    corner.setX(
        std::max(available.left(), std::min(corner.x(), available.right() + 1 - frame.width())));
    corner.setY(
        std::max(available.top(), std::min(corner.y(), available.bottom() + 1 - frame.height())));
    if (corner != frame.topLeft()) {
        form->move(corner);
    }
}

TKeyPreview::TKeyPreview(QWidget* form, std::function<void(QKeyEvent*)> handler)
    : QObject(form), handler_(std::move(handler)) {
    form->installEventFilter(this);
    for (QWidget* child : form->findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
}

bool TKeyPreview::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || delivering_) {
        return QObject::eventFilter(watched, event);
    }
    auto* key = static_cast<QKeyEvent*>(event);
    key->ignore();
    handler_(key);
    if (key->isAccepted()) {
        return true;
    }
    // The first receiver is where the key was sent; deliver it from there
    // ourselves, so that its travel up the parents does not show it to the
    // window a second time.
    delivering_ = true;
    key->accept();
    QCoreApplication::sendEvent(watched, key);
    delivering_ = false;
    key->accept();
    return true;
}
