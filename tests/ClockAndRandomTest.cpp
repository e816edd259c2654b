#include "game/RandomSource.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

class TFixedClock : public TClock {
public:
    explicit TFixedClock(std::uint32_t utcMilliseconds) : utc_(utcMilliseconds) {}
    TDateTime Now() const override { return 0; }
    std::uint32_t MillisecondsSinceMidnightUtc() const override { return utc_; }
    std::int64_t SteadyNanoseconds() const override { return 0; }

private:
    std::uint32_t utc_;
};

std::vector<std::uint32_t> Draws(TRandomSource& random, std::uint32_t n, int count) {
    std::vector<std::uint32_t> values;
    for (int i = 0; i < count; ++i) {
        values.push_back(random.Draw(n));
    }
    return values;
}

TEST(RandomSource, firstDrawsFromAFreshStateArePinned) {
    TRandomSource random;
    EXPECT_EQ(random.State(), 0u);
    EXPECT_EQ(Draws(random, 101, 6), (std::vector<std::uint32_t>{0, 3, 86, 20, 27, 67}));
    EXPECT_EQ(random.State(), 2884733762u);
}

TEST(RandomSource, reseedTakesMillisecondsSinceUtcMidnight) {
    // 12:34:56.789 UTC
    const TFixedClock clock(((12 * 60 + 34) * 60 + 56) * 1000 + 789);
    TRandomSource random;
    random.Reseed(clock);
    EXPECT_EQ(random.State(), 45296789u);
    EXPECT_EQ(Draws(random, 5, 3), (std::vector<std::uint32_t>{2, 1, 1}));

    // Within one millisecond a reseed repeats the state, and so the next draw.
    TRandomSource again;
    again.Reseed(clock);
    EXPECT_EQ(again.Draw(5), 2u);
}

TEST(RandomSource, drawsStayBelowTheirRange) {
    TRandomSource random;
    random.SetState(0xFFFFFFFFu);
    for (std::uint32_t n : {1u, 2u, 5u, 101u, 115171u}) {
        for (int i = 0; i < 1000; ++i) {
            ASSERT_LT(random.Draw(n), n);
        }
    }
}

TEST(DateTime, unixTimeBecomesDaysSince1899WithTheLocalOffset) {
    EXPECT_DOUBLE_EQ(DateTimeFromUnixMilliseconds(0, 0), 25569.0);
    EXPECT_DOUBLE_EQ(DateTimeFromUnixMilliseconds(0, 3600), 25569.0 + 1.0 / 24.0);
    EXPECT_DOUBLE_EQ(DateTimeFromUnixMilliseconds(43'200'000, -7200), 25569.5 - 2.0 / 24.0);
}

TEST(DateTime, decodeTimeRoundsToTheMillisecondThenTruncates) {
    const TTimeOfDay game = DecodeTime(0.002); // the game's length
    EXPECT_EQ(game.Minutes, 2);
    EXPECT_EQ(game.Seconds, 52);
    EXPECT_EQ(game.Milliseconds, 800);

    const TTimeOfDay almost = DecodeTime(45000.0 + 0.9996 / SecondsPerDay);
    EXPECT_EQ(almost.Hours, 0);
    EXPECT_EQ(almost.Seconds, 1) << "0.9996 s rounds to 1000 ms";
    EXPECT_EQ(almost.Milliseconds, 0);

    const TTimeOfDay late = DecodeTime(12.75 + 59.4994 / SecondsPerDay);
    EXPECT_EQ(late.Hours, 18);
    EXPECT_EQ(late.Minutes, 0);
    EXPECT_EQ(late.Seconds, 59);
    EXPECT_EQ(late.Milliseconds, 499);
}

TEST(DateTime, systemClockAgreesWithItself) {
    const TSystemClock clock;
    const TDateTime now = clock.Now();
    EXPECT_GT(now, 45000.0) << "after 2023";
    EXPECT_LT(clock.MillisecondsSinceMidnightUtc(), 86'400'000u);
}

} // namespace
