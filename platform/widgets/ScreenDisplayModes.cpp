#include "ScreenDisplayModes.h"

#include "platform/XrandrDisplayModes.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

TCurrentModeOnly::TCurrentModeOnly(const QScreen* screen) {
    if (screen != nullptr) {
        const QSize pixels = screen->size() * screen->devicePixelRatio();
        current_ = TDisplayMode{pixels.width(), pixels.height(), screen->depth(),
                                qRound(screen->refreshRate()), 0};
    }
}

std::optional<TDisplayMode> TCurrentModeOnly::Mode(int index) {
    if (index == 0 || index == -1) {
        return current_;
    }
    return std::nullopt;
}

std::unique_ptr<TDisplayModes> OpenDisplayModes(const QWidget& window) {
    const QScreen* screen =
        window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    if (QGuiApplication::platformName() == QStringLiteral("xcb")) {
        // The toolkit names an X screen after its RandR output; the window's
        // centre in device pixels finds it otherwise.
        const QPoint centre = window.mapToGlobal(window.rect().center());
        const qreal ratio = window.devicePixelRatioF();
        const QString name = screen != nullptr ? screen->name() : QString();
        if (auto modes =
                TXrandrDisplayModes::Open(nullptr, name.toStdString(), qRound(centre.x() * ratio),
                                          qRound(centre.y() * ratio))) {
            return modes;
        }
    }
    return std::make_unique<TCurrentModeOnly>(screen);
}
