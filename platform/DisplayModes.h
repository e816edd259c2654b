#pragma once

#include <cstdint>
#include <optional>

// One display mode as the display mode dialog lists it. Id is the platform's
// own handle of the mode, for setting it again.
struct TDisplayMode {
    int Width = 0;
    int Height = 0;
    int BitsPerPixel = 0;
    int RefreshRate = 0; // whole Hz
    std::uint64_t Id = 0;

    bool operator==(const TDisplayMode&) const = default;
};

// The display the program's window is on: its modes by index and a way to set
// one. Tests hand the dialog a fixed list.
class TDisplayModes {
public:
    virtual ~TDisplayModes() = default;
    // Mode `index` in the platform's own order, from 0; -1 is the current mode.
    // Nothing past the last mode.
    virtual std::optional<TDisplayMode> Mode(int index) = 0;
    // Switches the display to the mode; false when the platform refused.
    virtual bool SetMode(const TDisplayMode& mode) = 0;
    // Bits per pixel of the screen the window is drawn on.
    virtual int Depth() = 0;
};
