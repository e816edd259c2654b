#include "Countdown.h"

#include <cmath>
#include <cstdio>

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

std::string ClockText(unsigned minutes, unsigned seconds) {
    char text[16];
    std::snprintf(text, sizeof text, "%2.2u:%2.2u", minutes, seconds);
    return text;
}

bool Blink(std::int32_t& blinkCount) {
    ++blinkCount;
    return blinkCount % 2 == 1;
}
