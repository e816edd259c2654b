#include "game/globals.h"
#include "game/utility.h"

#include <gtest/gtest.h>
#include <map>

namespace {

TEST(LetterTable, holdsTheWeightedFacesInOrderWithoutALoneQ) {
    std::map<std::string_view, int> counts;
    for (std::string_view face : LetterTable) {
        ++counts[face];
    }
    EXPECT_EQ(counts.size(), 26u);
    EXPECT_EQ(counts.count("Q"), 0u);
    EXPECT_EQ(counts["E"], 12);
    EXPECT_EQ(counts["A"], 9);
    EXPECT_EQ(counts["I"], 9);
    EXPECT_EQ(counts["O"], 8);
    EXPECT_EQ(counts["QU"], 1);
    EXPECT_EQ(LetterTable[0], "A");
    EXPECT_EQ(LetterTable[72], "QU");
    EXPECT_EQ(LetterTable[73], "R");
    EXPECT_EQ(LetterTable[100], "Z");
}

TEST(LetterOffset, placesWideAndNarrowFacesInTheirDie) {
    EXPECT_EQ(LetterOffset("QU").X, 5);
    EXPECT_EQ(LetterOffset("I").X, 18);
    for (std::string_view face : {"A", "M", "W", "Z", "Qu", "i", ""}) {
        EXPECT_EQ(LetterOffset(face).X, 13)
            << face << ": the comparison is whole and case-sensitive";
    }
    for (std::string_view face : {"QU", "I", "E"}) {
        EXPECT_EQ(LetterOffset(face).Y, 10);
    }
}

TEST(ProgramRandom, startsAtStateZeroInAFreshProcess) {
    // ctest runs each test in a process of its own.
    EXPECT_EQ(ProgramRandom().State(), 0u);
}

} // namespace
