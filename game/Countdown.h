#pragma once

#include "GameClock.h"

#include <cstdint>
#include <string>

// What one tick of a game clock finds: the time left before the deadline and,
// while there is some, the minutes and seconds to show.
struct TCountdown {
    double TimeLeft = 0; // days; below zero once the deadline has passed
    bool Up = false;     // the deadline has passed: show 00:00 and stop
    std::uint16_t Minutes = 0;
    std::uint16_t Seconds = 0;
};

// Time left is the deadline minus now. While it is 0 or more, its fraction of a
// day is rounded to the nearest millisecond and split, each division truncating:
// 172.8 s shows 02:52, 0.4 s shows 00:00, 0.9996 s rounds up to 00:01. Hours
// are never shown.
TCountdown CountDown(TDateTime deadline, TDateTime now);

// The clock as the game shows it: minutes and seconds, each "%2.2d", joined by ":".
std::string ClockText(unsigned minutes, unsigned seconds);

// One blink of a clock that has run out: counts it, and gives whether the time
// shows; it shows at the odd blinks, from the first on.
bool Blink(std::int32_t& blinkCount);
