#include "TImage.h"

#include "platform/Pictures.h"

#include <QMouseEvent>
#include <QPainter>

TImage::TImage(QWidget* parent) : QWidget(parent) {}

void TImage::SetPictureName(const QString& name) {
    pictureName_ = name;
    picture_ = QPixmap();
    loaded_ = false;
    update();
}

void TImage::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    loaded_ = true;
    update();
}

const QPixmap& TImage::Picture() const {
    if (!loaded_) {
        picture_ = LoadPicture(pictureName_);
        loaded_ = true;
    }
    return picture_;
}

void TImage::paintEvent(QPaintEvent*) {
    const QPixmap& picture = Picture();
    if (picture.isNull()) {
        return;
    }
    QPainter painter(this);
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
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
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
