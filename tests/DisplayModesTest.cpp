// The display mode dialog's lines and colour counts, and the refresh rate of
// an X mode line.

#include "media/DisplayModeText.h"
#include "platform/XrandrDisplayModes.h"

#include <gtest/gtest.h>

namespace {

struct TLineCase {
    int Bits;
    const char* Line;
    const char* Current;
};

class DisplayModeLineTest : public testing::TestWithParam<TLineCase> {};

TEST_P(DisplayModeLineTest, countsTwoToTheBitsInFull) {
    const TLineCase& c = GetParam();
    EXPECT_EQ(DisplayModeLine(TDisplayMode{800, 600, c.Bits, 60, 7}), c.Line);
    EXPECT_EQ(CurrentColoursText(c.Bits), c.Current);
}

INSTANTIATE_TEST_SUITE_P(
    Depths, DisplayModeLineTest,
    testing::Values(
        TLineCase{4, "800x600 16 Colors at 60 Hz", "Currently at: 16 Colors"},
        TLineCase{8, "800x600 256 Colors at 60 Hz", "Currently at: 256 Colors"},
        TLineCase{16, "800x600 65536 Colors at 60 Hz", "Currently at: 65536 Colors"},
        TLineCase{24, "800x600 16777216 Colors at 60 Hz", "Currently at: 16777216 Colors"},
        TLineCase{32, "800x600 4294967296 Colors at 60 Hz", "Currently at: 4294967296 Colors"}));

struct TTimingCase {
    unsigned long DotClock;
    unsigned HTotal, VTotal;
    bool DoubleScan, Interlace;
    int Hz;
};

class RefreshRateTest : public testing::TestWithParam<TTimingCase> {};

TEST_P(RefreshRateTest, isTheDotClockOverOneFrameRounded) {
    const TTimingCase& c = GetParam();
    EXPECT_EQ(RefreshRate(c.DotClock, c.HTotal, c.VTotal, c.DoubleScan, c.Interlace), c.Hz);
}

INSTANTIATE_TEST_SUITE_P(
    ModeLines, RefreshRateTest,
    testing::Values(TTimingCase{65000000, 1344, 806, false, false, 60}, // 60.00
                    TTimingCase{40000000, 1056, 628, false, false, 60}, // 60.32
                    TTimingCase{25175000, 800, 525, false, false, 60},  // 59.94
                    TTimingCase{57284000, 1152, 667, false, false, 75}, // 74.55
                    TTimingCase{31500000, 832, 445, false, false, 85},  // 85.08
                    TTimingCase{40000000, 1056, 628, true, false, 30},  // each line twice
                    TTimingCase{40000000, 1056, 628, false, true, 121}, // fields of half a frame
                    TTimingCase{40000000, 0, 628, false, false, 0},
                    TTimingCase{40000000, 1056, 0, false, false, 0}));

} // namespace
