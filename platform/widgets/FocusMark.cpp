#include "FocusMark.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QWidget>

namespace {

bool MovesOrPresses(int key) {
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true;
    default:
        return false;
    }
}

// Sees every key and mouse press of the program before any widget does.
class TKeyboardUse : public QObject {
public:
    explicit TKeyboardUse(QObject* application) : QObject(application) {
        application->installEventFilter(this);
    }

    bool Shown() const { return shown_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (MovesOrPresses(static_cast<QKeyEvent*>(event)->key())) {
                Show(true);
            }
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::TouchBegin:
            Show(false);
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void Show(bool shown) {
        if (shown_ == shown) {
            return;
        }
        shown_ = shown;
        // Only the widget with the focus draws the mark.
        if (QWidget* focused = QApplication::focusWidget()) {
            focused->update();
        }
    }

    bool shown_ = false;
};

QPointer<TKeyboardUse> watcher;

void FillFrame(QPainter& painter, const QRect& rect, int thickness, const QColor& colour) {
    const int x = rect.left();
    const int y = rect.top();
    const int w = rect.width();
    const int h = rect.height();
    painter.fillRect(QRect(x, y, w, thickness), colour);
    painter.fillRect(QRect(x, y + h - thickness, w, thickness), colour);
    painter.fillRect(QRect(x, y, thickness, h), colour);
    painter.fillRect(QRect(x + w - thickness, y, thickness, h), colour);
}

} // namespace

void WatchKeyboardUse() {
    if (watcher == nullptr && QCoreApplication::instance() != nullptr) {
        watcher = new TKeyboardUse(QCoreApplication::instance());
    }
}

bool FocusMarkShown(const QWidget* widget) {
    return watcher != nullptr && watcher->Shown() && widget->hasFocus();
}

void PaintFocusMark(QPainter& painter, const QRect& rect) {
    // One pixel in from the edge: the buttons of the main window's column
    // overlap by a row, and the one on top would cover a mark on the edge.
    // Black shows on the lime buttons, the white panels and the dice; the
    // white line inside it shows on the dark green frame and on black type.
    const QRect outer = rect.adjusted(1, 1, -1, -1);
    FillFrame(painter, outer, 2, Qt::black);
    FillFrame(painter, outer.adjusted(2, 2, -2, -2), 1, Qt::white);
}

bool PressOnKey(QKeyEvent& key, const std::function<void()>& press) {
    if (key.key() != Qt::Key_Space && key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter) {
        return false;
    }
    key.accept();
    if (!key.isAutoRepeat()) {
        press();
    }
    return true;
}
