#include "DisplayModeText.h"

#include <algorithm>

std::uint64_t ColourCount(int bitsPerPixel) {
    return std::uint64_t{1} << std::clamp(bitsPerPixel, 0, 63);
}

std::string DisplayModeLine(const TDisplayMode& mode) {
    return std::to_string(mode.Width) + "x" + std::to_string(mode.Height) + " " +
           std::to_string(ColourCount(mode.BitsPerPixel)) + " Colors at " +
           std::to_string(mode.RefreshRate) + " Hz";
}

std::string CurrentColoursText(int bitsPerPixel) {
    return "Currently at: " + std::to_string(ColourCount(bitsPerPixel)) + " Colors";
}
