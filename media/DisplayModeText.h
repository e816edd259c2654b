#pragma once

#include "platform/DisplayModes.h"

#include <cstdint>
#include <string>

// 2 to the power of the bits per pixel, in full: a 32-bit mode has
// 4294967296 colours. Depths past 63 bits do not exist and count as 63.
std::uint64_t ColourCount(int bitsPerPixel);

// The display mode dialog's line for a mode: "800x600 65536 Colors at 60 Hz".
std::string DisplayModeLine(const TDisplayMode& mode);

// "Currently at: 16777216 Colors" for a 24-bit screen.
std::string CurrentColoursText(int bitsPerPixel);
