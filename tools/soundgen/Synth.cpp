#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {
constexpr double Pi = 3.14159265358979323846;
}

TSynth::TSynth(int sampleRate, double seconds)
    : rate_(sampleRate), mix_(static_cast<std::size_t>(std::lround(sampleRate * seconds)), 0.0) {}

void TSynth::Note(double start, double length, double hz, double volume, double decay,
                  const std::vector<double>& harmonics, double vibrato) {
    const auto first = static_cast<std::size_t>(start * rate_);
    const auto count = static_cast<std::size_t>(length * rate_);
    double phase = 0;
    for (std::size_t i = 0; i < count && first + i < mix_.size(); ++i) {
        const double t = static_cast<double>(i) / rate_;
        const double attack = std::min(1.0, t / 0.006);
        const double release = std::min(1.0, (length - t) / 0.02);
        const double envelope = attack * release * std::exp(-decay * t);
        const double wobble = vibrato > 0 ? 1.0 + 0.012 * std::sin(2 * Pi * vibrato * t) : 1.0;
        phase += 2 * Pi * hz * wobble / rate_;
        double value = 0;
        for (std::size_t h = 0; h < harmonics.size(); ++h) {
            value += harmonics[h] * std::sin(phase * static_cast<double>(h + 1));
        }
        mix_[first + i] += volume * envelope * value;
    }
}

void TSynth::Sweep(double start, double length, double fromHz, double toHz, double volume) {
    const auto first = static_cast<std::size_t>(start * rate_);
    const auto count = static_cast<std::size_t>(length * rate_);
    double phase = 0;
    for (std::size_t i = 0; i < count && first + i < mix_.size(); ++i) {
        const double f = static_cast<double>(i) / static_cast<double>(count);
        const double hz = fromHz * std::pow(toHz / fromHz, f);
        phase += 2 * Pi * hz / rate_;
        const double envelope = std::sin(Pi * f);
        mix_[first + i] += volume * envelope * (std::sin(phase) + 0.25 * std::sin(2 * phase));
    }
}

void TSynth::Noise(double start, double length, double volume, double decay) {
    const auto first = static_cast<std::size_t>(start * rate_);
    const auto count = static_cast<std::size_t>(length * rate_);
    std::uint32_t seed = 2463534242u;
    double low = 0;
    for (std::size_t i = 0; i < count && first + i < mix_.size(); ++i) {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        const double white = static_cast<double>(seed) / 4294967295.0 * 2.0 - 1.0;
        low += 0.45 * (white - low);
        const double t = static_cast<double>(i) / rate_;
        mix_[first + i] += volume * std::exp(-decay * t) * low;
    }
}

std::vector<double> TSynth::Samples(double peak) const {
    std::vector<double> out = mix_;
    double loudest = 1e-9;
    for (double v : out) {
        loudest = std::max(loudest, std::abs(v));
    }
    const std::size_t fade =
        std::min<std::size_t>(out.size() / 4, static_cast<std::size_t>(rate_ * 0.004));
    for (std::size_t i = 0; i < out.size(); ++i) {
        double gain = peak / loudest;
        if (i < fade) {
            gain *= static_cast<double>(i) / static_cast<double>(fade);
        }
        if (out.size() - i <= fade) {
            gain *= static_cast<double>(out.size() - i - 1) / static_cast<double>(fade);
        }
        out[i] *= gain;
    }
    return out;
}
