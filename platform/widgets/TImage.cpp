#include "TImage.h"

#include "Accessibility.h"
#include "ButtonCaptions.h"
#include "FocusMark.h"
#include "platform/Pictures.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

TImage::TImage(QWidget* parent) : QWidget(parent) {}

void TImage::SetPictureName(const QString& name) {
    pictureName_ = name;
    shownName_ = name;
    picture_ = QPixmap();
    loadedRatio_ = 0;
    update();
}

void TImage::SetPicture(const QPixmap& picture) {
    const QString captionBefore = ButtonCaption(shownName_);
    shownName_ = PictureResourceName(picture);
    picture_ = picture;
    loadedRatio_ = 0;
    update();
    if (ButtonCaption(shownName_) != captionBefore) {
        QAccessibleEvent renamed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&renamed);
    }
}

const QPixmap& TImage::Picture() const {
    const qreal ratio = devicePixelRatioF();
    if (!shownName_.isEmpty() && loadedRatio_ != ratio) {
        picture_ = LoadPicture(shownName_, ratio);
        loadedRatio_ = ratio;
    }
    return picture_;
}

void TImage::paintEvent(QPaintEvent*) {
    const QPixmap& picture = Picture();
    if (picture.isNull()) {
        return;
    }
    QPainter painter(this);
    // The 2x picture on a screen scaled by 1.25 or 1.5 is drawn scaled down.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(0, 0, picture);
}

void TImage::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        setAttribute(Qt::WA_TransparentForMouseEvents, !isEnabled());
    }
    QWidget::changeEvent(event);
}

void TImage::mousePressEvent(QMouseEvent* event) {
    emit mousePressed(event);
    event->accept();
}

TImageButton::TImageButton(QWidget* parent) : TImage(parent) {
    InstallAccessibility();
    WatchKeyboardUse();
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

QString TImageButton::Caption() const {
    const QString caption = ButtonCaption(ShownPictureName());
    return caption.isEmpty() ? accessibleName() : caption;
}

void TImageButton::Press() {
    if (isEnabled() && isVisible()) {
        emit clicked();
    }
}

void TImageButton::paintEvent(QPaintEvent* event) {
    TImage::paintEvent(event);
    if (FocusMarkShown(this)) {
        QPainter painter(this);
        PaintFocusMark(painter, rect());
    }
}

void TImageButton::keyPressEvent(QKeyEvent* event) {
    if (!PressOnKey(*event, [this] { Press(); })) {
        TImage::keyPressEvent(event);
    }
}

void TImageButton::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void TImageButton::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) {
        emit clicked();
    }
}
