#include "Scoring.h"

#include <cstdio>

std::int32_t PointsForLength(std::size_t letters) {
    if (letters <= 1) {
        return 0;
    }
    if (letters <= 3) {
        return 1;
    }
    switch (letters) {
    case 4:
        return 2;
    case 5:
        return 3;
    case 6:
        return 6;
    case 7:
        return 8;
    default:
        return 10;
    }
}

std::string ClockText(unsigned minutes, unsigned seconds) {
    char text[16];
    std::snprintf(text, sizeof text, "%2.2u:%2.2u", minutes, seconds);
    return text;
}

namespace {

// Moves the ASCII letters from first..first+25 to the other case; every other
// byte stays as it is.
std::string ShiftAsciiCase(std::string_view word, char first, char otherFirst) {
    std::string shifted(word);
    for (char& c : shifted) {
        if (c >= first && c <= first + 25) {
            c = static_cast<char>(c - first + otherFirst);
        }
    }
    return shifted;
}

} // namespace

std::string AsciiLower(std::string_view word) {
    return ShiftAsciiCase(word, 'A', 'a');
}

std::string AsciiUpper(std::string_view word) {
    return ShiftAsciiCase(word, 'a', 'A');
}
