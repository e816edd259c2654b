#include "RandomSource.h"

#include "platform/Clock.h"

std::uint32_t TRandomSource::Draw(std::uint32_t n) {
    state_ = state_ * 134775813u + 1u;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(state_) * n) >> 32);
}

void TRandomSource::Reseed(const TClock& clock) {
    state_ = clock.MillisecondsSinceMidnightUtc();
}
