#pragma once

#include "RandomSource.h"

#include <array>
#include <string_view>

// What the whole program shares: its one random source, and the letter table
// every board is dealt from.

// The one random source of the process; its state is 0 when the process starts.
TRandomSource& ProgramRandom();

// The 101 die faces a board is drawn from, each repeated by its weight: 12 E,
// 9 A and I, one each of J, QU, X and Z. There is no lone Q.
constexpr int LetterTableSize = 101;
extern const std::array<std::string_view, LetterTableSize> LetterTable;
