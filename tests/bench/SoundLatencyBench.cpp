// Latency from a PlayWave call to the moment the clip's first samples are handed
// to the device, read off the audio callback. SDL's dummy driver unless
// SDL_AUDIODRIVER names another. Run with `make bench`.

#include "media/SdlSoundOutput.h"
#include "media/Sound.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

std::int64_t Now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void PlayWaveToDevice(benchmark::State& state) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    TSdlSoundOutput output;
    if (!output.Open()) {
        state.SkipWithError(("no device: " + output.Error()).c_str());
        return;
    }
    LoadCompiledClips(output);
    SetSoundOutput(&output);
    SoundCardPresent = true;
    SoundOn = true;
    std::vector<double> latencies;
    for (auto _ : state) {
        const std::int64_t start = Now();
        PlayWave("CLICK", true);
        while (output.FirstSamplesHandedAt() == 0) {
            std::this_thread::yield();
        }
        const double seconds = static_cast<double>(output.FirstSamplesHandedAt() - start) / 1e9;
        state.SetIterationTime(seconds);
        latencies.push_back(seconds * 1000);
        // Calls come at random moments against the device's period.
        std::this_thread::sleep_for(
            std::chrono::microseconds(1000 + latencies.size() * 373 % 4000));
    }
    std::sort(latencies.begin(), latencies.end());
    state.counters["median_ms"] = latencies[latencies.size() / 2];
    state.counters["p90_ms"] = latencies[latencies.size() * 9 / 10];
    state.counters["buffer_frames"] = output.BufferFrames();
    state.counters["device_hz"] = output.DeviceRate();
    SetSoundOutput(nullptr);
}
BENCHMARK(PlayWaveToDevice)->UseManualTime()->Iterations(400)->Unit(benchmark::kMillisecond);

} // namespace
