#include "Countdown.h"

#include <cmath>

TCountdown CountDown(TDateTime deadline, TDateTime now) {
    TCountdown countdown;
    countdown.TimeLeft = deadline - now;
    if (countdown.TimeLeft < 0) {
        countdown.Up = true;
        return countdown;
    }
    countdown.TimeLeft -= std::floor(countdown.TimeLeft);
    const TTimeOfDay left = DecodeTime(countdown.TimeLeft);
    countdown.Minutes = static_cast<std::uint16_t>(left.Minutes);
    countdown.Seconds = static_cast<std::uint16_t>(left.Seconds);
    return countdown;
}
