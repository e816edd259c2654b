#include "DisplayChange.h"

#include <QGuiApplication>
#include <QScreen>

TDisplayChange& TDisplayChange::Instance() {
    static TDisplayChange* instance = new TDisplayChange(); // lives as long as the application
    return *instance;
}

TDisplayChange::TDisplayChange() : QObject(QCoreApplication::instance()) {
    settle_.setSingleShot(true);
    settle_.setInterval(0);
    connect(&settle_, &QTimer::timeout, this, &TDisplayChange::Raise);
    for (QScreen* screen : QGuiApplication::screens()) {
        Watch(screen);
    }
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        Watch(screen);
        ScreenChanged();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &TDisplayChange::ScreenChanged);
}

void TDisplayChange::Watch(QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, this, &TDisplayChange::ScreenChanged);
    connect(screen, &QScreen::refreshRateChanged, this, &TDisplayChange::ScreenChanged);
    // Qt reports no depth change of its own; a depth change comes with a mode
    // change, which X11 announces as a geometry or refresh rate change.
}
