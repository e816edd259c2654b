#pragma once

#include <cstdint>

class TClock;

// The program's one pseudo-random generator: a 32-bit linear congruential state.
// Every draw of the program (board faces, bonus die, bonus word, scramble) comes
// from the same instance, so the sequence is fixed by the state alone.
class TRandomSource {
public:
    // state := state * 134775813 + 1 (mod 2^32), then the high 32 bits of
    // state * n: a value from 0 to n-1.
    std::uint32_t Draw(std::uint32_t n);

    // The state becomes the milliseconds since midnight UTC; two reseeds within
    // one millisecond therefore give the same state.
    void Reseed(const TClock& clock);

    std::uint32_t State() const { return state_; }
    void SetState(std::uint32_t state) { state_ = state; }

private:
    std::uint32_t state_ = 0;
};
