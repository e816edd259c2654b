#pragma once

#include <cstdint>

// Days since 1899-12-30 00:00; the fraction is the time of day. One second is
// 1/86400. Both game clocks are deadlines in this unit.
using TDateTime = double;

constexpr double SecondsPerDay = 86400.0;
constexpr std::int64_t MillisecondsPerDay = 86'400'000;

// The seam through which the program reads time, so tests can set it.
class TClock {
public:
    virtual ~TClock() = default;
    // The local date and time.
    virtual TDateTime Now() const = 0;
    // Milliseconds since midnight of the system clock's UTC time.
    virtual std::uint32_t MillisecondsSinceMidnightUtc() const = 0;
    // Nanoseconds on a clock that only moves forward, at the pace of real time:
    // setting the system clock or a change of daylight-saving time leaves it alone.
    virtual std::int64_t SteadyNanoseconds() const = 0;
};

class TSystemClock final : public TClock {
public:
    TDateTime Now() const override;
    std::uint32_t MillisecondsSinceMidnightUtc() const override;
    std::int64_t SteadyNanoseconds() const override;
};

// A Unix time in milliseconds, shifted by the local offset from UTC, as a date-time.
TDateTime DateTimeFromUnixMilliseconds(std::int64_t unixMilliseconds,
                                       std::int64_t utcOffsetSeconds);

struct TTimeOfDay {
    int Hours = 0;
    int Minutes = 0;
    int Seconds = 0;
    int Milliseconds = 0;
};

// Splits the fraction of a day, rounded to the nearest millisecond, into its
// parts; each division truncates.
TTimeOfDay DecodeTime(TDateTime dateTime);
