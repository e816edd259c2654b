#pragma once

#include <QObject>
#include <QTimer>

class QScreen;

// One program-wide notice that the display changed: a screen came or went, or
// a screen's geometry, depth or refresh rate changed. The display mode dialog
// raises it too, after Apply, and then it arrives before Raise returns.
class TDisplayChange : public QObject {
    Q_OBJECT

public:
    static TDisplayChange& Instance();
    void Raise() { emit Changed(); }

signals:
    void Changed();

private:
    TDisplayChange();
    void Watch(QScreen* screen);
    // One switch of mode moves geometry and refresh rate together, and the
    // toolkit tells each apart: what arrives in one turn of the event loop is
    // one change.
    void ScreenChanged() { settle_.start(); }

    QTimer settle_;
};
