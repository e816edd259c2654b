#include "globals.h"

#include <utility>

TRandomSource& ProgramRandom() {
    static TRandomSource random;
    return random;
}

namespace {

constexpr std::pair<std::string_view, int> FaceWeights[] = {
    {"A", 9}, {"B", 2}, {"C", 2}, {"D", 4}, {"E", 12}, {"F", 2}, {"G", 3}, {"H", 2},  {"I", 9},
    {"J", 1}, {"K", 4}, {"L", 4}, {"M", 2}, {"N", 6},  {"O", 8}, {"P", 2}, {"QU", 1}, {"R", 6},
    {"S", 4}, {"T", 6}, {"U", 4}, {"V", 2}, {"W", 2},  {"X", 1}, {"Y", 2}, {"Z", 1},
};

constexpr std::array<std::string_view, LetterTableSize> MakeLetterTable() {
    std::array<std::string_view, LetterTableSize> table{};
    int next = 0;
    for (const auto& [face, weight] : FaceWeights) {
        for (int k = 0; k < weight; ++k) {
            table[next++] = face;
        }
    }
    return table;
}

} // namespace

const std::array<std::string_view, LetterTableSize> LetterTable = MakeLetterTable();
