#include "game/Scoring.h"

#include "game/AsciiCase.h"
#include "game/Countdown.h"

#include <gtest/gtest.h>

namespace {

TEST(Scoring, pointsGoByLength) {
    const std::pair<std::size_t, int> table[] = {{0, 0}, {1, 0}, {2, 1},  {3, 1},   {4, 2},  {5, 3},
                                                 {6, 6}, {7, 8}, {8, 10}, {10, 10}, {25, 10}};
    for (const auto& [letters, points] : table) {
        EXPECT_EQ(PointsForLength(letters), points) << letters << " letters";
    }
}

TEST(Scoring, theClockShowsTwoDigitsEach) {
    EXPECT_EQ(ClockText(2, 52), "02:52");
    EXPECT_EQ(ClockText(0, 5), "00:05");
    EXPECT_EQ(ClockText(0, 0), "00:00");
    EXPECT_EQ(ClockText(123, 7), "123:07");
}

TEST(Scoring, onlyAsciiLettersChangeCase) {
    EXPECT_EQ(AsciiLower("QuIeT"), "quiet");
    EXPECT_EQ(AsciiLower("\xc9T\xc9[@"), "\xc9t\xc9[@") << "bytes outside A-Z stay";
    EXPECT_EQ(AsciiUpper("qUiEt"), "QUIET");
    EXPECT_EQ(AsciiUpper("\xe9t\xe9{`"), "\xe9T\xe9{`") << "bytes outside a-z stay";
}

} // namespace
