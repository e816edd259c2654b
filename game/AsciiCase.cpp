#include "AsciiCase.h"

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
