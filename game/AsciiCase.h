#pragma once

#include <string>
#include <string_view>

// Lower-cases the ASCII letters A to Z only; every other byte stays as it is.
std::string AsciiLower(std::string_view word);
// Upper-cases the ASCII letters a to z only.
std::string AsciiUpper(std::string_view word);
