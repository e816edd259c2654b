#include "Clock.h"

#include <cmath>
#include <ctime>

namespace {

// 1970-01-01 is day 25569 counted from 1899-12-30.
constexpr double UnixEpochAsDateTime = 25569.0;

std::int64_t UnixMillisecondsNow(std::time_t& seconds) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    seconds = now.tv_sec;
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

} // namespace

TDateTime DateTimeFromUnixMilliseconds(std::int64_t unixMilliseconds,
                                       std::int64_t utcOffsetSeconds) {
    const std::int64_t local = unixMilliseconds + utcOffsetSeconds * 1000;
    return UnixEpochAsDateTime +
           static_cast<double>(local) / static_cast<double>(MillisecondsPerDay);
}

TDateTime TSystemClock::Now() const {
    std::time_t seconds = 0;
    const std::int64_t milliseconds = UnixMillisecondsNow(seconds);
    std::tm local{};
    localtime_r(&seconds, &local);
    return DateTimeFromUnixMilliseconds(milliseconds, local.tm_gmtoff);
}

std::uint32_t TSystemClock::MillisecondsSinceMidnightUtc() const {
    std::time_t seconds = 0;
    const std::int64_t milliseconds = UnixMillisecondsNow(seconds);
    const std::int64_t ofDay =
        ((milliseconds % MillisecondsPerDay) + MillisecondsPerDay) % MillisecondsPerDay;
    return static_cast<std::uint32_t>(ofDay);
}

std::int64_t TSystemClock::SteadyNanoseconds() const {
    // The boot-time clock also counts a suspend, as the wall clock would.
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

TTimeOfDay DecodeTime(TDateTime dateTime) {
    const double fraction = dateTime - std::floor(dateTime);
    std::int64_t milliseconds = std::llround(fraction * static_cast<double>(MillisecondsPerDay));
    milliseconds %= MillisecondsPerDay;
    TTimeOfDay time;
    time.Milliseconds = static_cast<int>(milliseconds % 1000);
    milliseconds /= 1000;
    time.Seconds = static_cast<int>(milliseconds % 60);
    milliseconds /= 60;
    time.Minutes = static_cast<int>(milliseconds % 60);
    time.Hours = static_cast<int>(milliseconds / 60);
    return time;
}
