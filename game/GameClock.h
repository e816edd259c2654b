#pragma once

#include "platform/Clock.h"

#include <cstdint>

// The date-time the game clocks run on: the local date-time read once, when the
// clock is made, plus the steady time elapsed since. Deadlines keep their unit,
// days, but a step of the system clock or a change of daylight-saving time in
// the middle of a game neither ends it nor adds an hour to it.
class TGameClock {
public:
    explicit TGameClock(const TClock& clock);

    TDateTime Now() const;

private:
    const TClock& clock_;
    TDateTime startLocal_;
    std::int64_t startSteady_;
};
