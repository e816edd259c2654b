#include "TLabel.h"

#include "Accessibility.h"
#include "FocusMark.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

TLabel::TLabel(QWidget* parent) : QLabel(parent) {
    InstallAccessibility();
    WatchKeyboardUse();
    SetTransparent(true);
    // The design names the label after it is made.
    connect(this, &QObject::objectNameChanged, this,
            [this] { setFocusPolicy(ActsAsButton() ? Qt::StrongFocus : Qt::NoFocus); });
}

void TLabel::Press() {
    if (isEnabled() && isVisible()) {
        emit clicked();
    }
}

void TLabel::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    FitToText();
}

void TLabel::SetTransparent(bool transparent) {
    transparent_ = transparent;
    setAutoFillBackground(!transparent);
    if (!transparent) {
        QPalette colours = palette();
        colours.setColor(QPalette::Window, Qt::white);
        setPalette(colours);
    }
}

void TLabel::SetCaption(const QString& caption) {
    setText(caption);
    FitToText();
}

void TLabel::FitToText() {
    if (autoSize_) {
        ensurePolished();
        resize(sizeHint());
    }
}

bool TLabel::event(QEvent* event) {
    // An auto-size label takes the size of its text once its font is known.
    const bool handled = QLabel::event(event);
    if (event->type() == QEvent::Polish) {
        FitToText();
    }
    return handled;
}

void TLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        setAttribute(Qt::WA_TransparentForMouseEvents, !isEnabled());
    }
    QLabel::changeEvent(event);
}

void TLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (ActsAsButton() && FocusMarkShown(this)) {
        QPainter painter(this);
        PaintFocusMark(painter, rect());
    }
}

void TLabel::keyPressEvent(QKeyEvent* event) {
    if (!ActsAsButton() || !PressOnKey(*event, [this] { Press(); })) {
        QLabel::keyPressEvent(event);
    }
}

void TLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        event->accept();
        emit clicked();
        return;
    }
    QLabel::mousePressEvent(event);
}
