// The countdown every game clock shows, and the clock it runs on.

#include "game/Countdown.h"

#include "game/GameState.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr TDateTime Deadline = 45000.5;

TDateTime SecondsBefore(double seconds) {
    return Deadline - seconds / SecondsPerDay;
}

struct TCountdownCase {
    double SecondsLeft;
    bool Up;
    int Minutes;
    int Seconds;
};

class CountDownShows : public testing::TestWithParam<TCountdownCase> {};

TEST_P(CountDownShows, minutesAndSecondsRoundedToTheMillisecondThenTruncated) {
    const TCountdownCase c = GetParam();
    const TCountdown left = CountDown(Deadline, SecondsBefore(c.SecondsLeft));
    EXPECT_EQ(left.Up, c.Up);
    EXPECT_EQ(left.Minutes, c.Minutes);
    EXPECT_EQ(left.Seconds, c.Seconds);
    EXPECT_NEAR(left.TimeLeft * SecondsPerDay, c.SecondsLeft, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(GameClock, CountDownShows,
                         testing::Values(TCountdownCase{172.8, false, 2, 52},  // a new game
                                         TCountdownCase{172.0, false, 2, 52},  //
                                         TCountdownCase{171.99, false, 2, 51}, //
                                         TCountdownCase{60.0, false, 1, 0},    //
                                         TCountdownCase{0.9996, false, 0, 1},  // rounds up
                                         TCountdownCase{0.9994, false, 0, 0},  // under a second
                                         TCountdownCase{0.0, false, 0, 0},     // not yet up
                                         TCountdownCase{-0.001, true, 0, 0},   // below zero
                                         TCountdownCase{-3600.0, true, 0, 0}));

class TSteppableClock : public TClock {
public:
    TDateTime Local = 45000.5;
    std::int64_t Steady = 7'000'000'000;

    TDateTime Now() const override { return Local; }
    std::uint32_t MillisecondsSinceMidnightUtc() const override { return 0; }
    std::int64_t SteadyNanoseconds() const override { return Steady; }
    void Pass(double seconds) {
        Local += seconds / SecondsPerDay;
        Steady += std::llround(seconds * 1e9);
    }
};

TEST(GameClock, startsAtTheLocalTimeAndFollowsRealTimeOnly) {
    TSteppableClock system;
    const TGameClock clock(system);
    EXPECT_DOUBLE_EQ(clock.Now(), 45000.5);
    system.Pass(30);
    EXPECT_NEAR((clock.Now() - 45000.5) * SecondsPerDay, 30, 1e-6);
    for (double step : {3600.0, -7200.0, 86400.0}) {
        system.Local += step / SecondsPerDay; // the system clock is set
        EXPECT_NEAR((clock.Now() - 45000.5) * SecondsPerDay, 30, 1e-6) << step;
    }
}

TEST(GameFlow, aGameStartsWithItsWholeLengthLeft) {
    TGameState state;
    state.Score = 12;
    state.Paused = true;
    state.TimeLeft = -0.5; // what the last game left behind
    state.StartClock(Deadline);
    EXPECT_EQ(state.Score, 0);
    EXPECT_FALSE(state.Paused);
    EXPECT_DOUBLE_EQ(state.EndTime, Deadline + GameLength);
    EXPECT_DOUBLE_EQ(state.TimeLeft, GameLength);

    // Paused and resumed before any tick: the whole game is still to play.
    state.TogglePause(Deadline + 0.1);
    EXPECT_TRUE(state.Paused);
    state.TogglePause(Deadline + 0.3);
    EXPECT_FALSE(state.Paused);
    EXPECT_DOUBLE_EQ(state.EndTime, Deadline + 0.3 + GameLength);
}

TEST(GameFlow, theEndedClockBlinksEveryOtherTick) {
    TGameState state;
    EXPECT_TRUE(state.Blink());
    EXPECT_FALSE(state.Blink());
    EXPECT_TRUE(state.Blink());
    EXPECT_EQ(state.BlinkCount, 3);
}

} // namespace
