#pragma once

#include <vector>

// A tiny additive synthesiser for the game's clips: notes with an attack and an
// exponential decay, sweeps, and noise, mixed into floating-point samples.
class TSynth {
public:
    TSynth(int sampleRate, double seconds);

    // A note of frequency hz at start (seconds), lasting length, with a few
    // harmonics for a bell or reed colour and optional vibrato.
    void Note(double start, double length, double hz, double volume, double decay = 6.0,
              const std::vector<double>& harmonics = {1.0, 0.35, 0.12}, double vibrato = 0.0);
    // A tone gliding from one frequency to another.
    void Sweep(double start, double length, double fromHz, double toHz, double volume);
    // A burst of filtered noise.
    void Noise(double start, double length, double volume, double decay);

    // The mix scaled to peak, with short fades at both ends against clicks.
    std::vector<double> Samples(double peak = 0.85) const;
    int SampleRate() const { return rate_; }

private:
    int rate_;
    std::vector<double> mix_;
};
