#pragma once

#include "platform/DisplayModes.h"

#include <memory>

class QScreen;
class QWidget;

// Where no mode can be set (Wayland, an X server without RandR): the screen's
// current mode alone, and setting it changes nothing.
class TCurrentModeOnly : public TDisplayModes {
public:
    explicit TCurrentModeOnly(const QScreen* screen);

    std::optional<TDisplayMode> Mode(int index) override;
    bool SetMode(const TDisplayMode&) override { return false; }
    int Depth() override { return current_.BitsPerPixel; }

private:
    TDisplayMode current_;
};

// The modes of the display `window` is on: through RandR on X11, else the
// current mode alone.
std::unique_ptr<TDisplayModes> OpenDisplayModes(const QWidget& window);
