#pragma once

#include <QObject>

// One program-wide notice that the display changed: a screen came or went, or
// a screen's geometry, depth or refresh rate changed. The display mode dialog
// raises it too, after Apply.
class TDisplayChange : public QObject {
    Q_OBJECT

public:
    static TDisplayChange& Instance();
    void Raise() { emit Changed(); }

signals:
    void Changed();

private:
    TDisplayChange();
    void Watch(class QScreen* screen);
};
