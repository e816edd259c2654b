#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Points for a word of the given length in letters; a "QU" die counts as two.
// 0-1: 0, 2-3: 1, 4: 2, 5: 3, 6: 6, 7: 8, 8 and more: 10.
std::int32_t PointsForLength(std::size_t letters);

// The clock as the game shows it: minutes and seconds, each "%2.2d", joined by ":".
std::string ClockText(unsigned minutes, unsigned seconds);

// Lower-cases the ASCII letters A to Z only; every other byte stays as it is.
std::string AsciiLower(std::string_view word);
// Upper-cases the ASCII letters a to z only.
std::string AsciiUpper(std::string_view word);

// One game lasts 0.002 of a day: 172.8 seconds.
constexpr double GameLength = 0.002;
