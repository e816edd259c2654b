#include "GameClock.h"

namespace {
constexpr double NanosecondsPerDay = SecondsPerDay * 1e9;
}

TGameClock::TGameClock(const TClock& clock)
    : clock_(clock), startLocal_(clock.Now()), startSteady_(clock.SteadyNanoseconds()) {}

TDateTime TGameClock::Now() const {
    const std::int64_t elapsed = clock_.SteadyNanoseconds() - startSteady_;
    return startLocal_ + static_cast<double>(elapsed) / NanosecondsPerDay;
}
