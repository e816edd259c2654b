// Press to sound: a left press on a die of the main window, on the offscreen
// platform, with the real sound output on whatever SDL picks (a sound server
// on a desktop), until the click's first samples come out of the sink. The
// sink's monitor is recorded by parec; a recorded block's samples are dated
// back from the moment the block arrives. Run by scripts/sound-server-bench.sh
// beside a sound server of its own, which also names the monitor
// (LEXIPEDE_MONITOR; the default sink's monitor otherwise).
//
// The pause between presses is the argument: 300 ms finds the output open,
// half a second beyond the quiet spell finds it closed. Reports the median and
// the 90th percentile.

#include "Percentile.h"
#include "UiFixture.h"
#include "app/TfrmMain.h"
#include "media/SdlSoundOutput.h"
#include "platform/widgets/TDrawGrid.h"
#include "ui_TfrmMain.h"

#include <QApplication>
#include <QtTest>
#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int MonitorRate = 44100;

// parec on the monitor, read on a thread of its own: the first loud sample
// after Arm() is dated and kept.
class TMonitor {
public:
    TMonitor() {
        const char* monitor = std::getenv("LEXIPEDE_MONITOR");
        const std::string device = monitor != nullptr ? monitor : "@DEFAULT_MONITOR@";
        int pipe[2];
        if (::pipe(pipe) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipe[1], 1);
        posix_spawn_file_actions_addclose(&actions, pipe[0]);
        std::vector<std::string> args = {"parec",
                                         "--raw",
                                         "--format=s16le",
                                         "--rate=44100",
                                         "--channels=1",
                                         "--latency-msec=1",
                                         "--device=" + device};
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        const bool spawned =
            posix_spawnp(&child_, "parec", &actions, nullptr, argv.data(), environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipe[1]);
        if (!spawned) {
            ::close(pipe[0]);
            return;
        }
        fd_ = pipe[0];
        reader_ = std::thread([this] { Read(); });
    }
    ~TMonitor() {
        if (child_ > 0) {
            ::kill(child_, SIGTERM);
            ::waitpid(child_, nullptr, 0);
        }
        if (reader_.joinable()) {
            reader_.join();
        }
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    TMonitor(const TMonitor&) = delete;
    TMonitor& operator=(const TMonitor&) = delete;

    // parec has connected and delivers blocks, within five seconds.
    bool Running() const {
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        while (fd_ >= 0 && blocks_ == 0 && Clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return blocks_ > 0;
    }
    void Arm() {
        onset_ = Clock::time_point{};
        armed_ = true;
    }
    // The onset heard since Arm(), waiting up to a second for it.
    std::optional<Clock::time_point> Onset() {
        const auto deadline = Clock::now() + std::chrono::seconds(1);
        while (armed_ && Clock::now() < deadline) {
            QCoreApplication::processEvents();
        }
        if (armed_) {
            armed_ = false;
            return std::nullopt;
        }
        return onset_.load();
    }

private:
    void Read() {
        std::int16_t block[4096];
        ssize_t got = 0;
        while ((got = ::read(fd_, block, sizeof block)) > 0) {
            const auto arrived = Clock::now();
            const auto samples = static_cast<std::size_t>(got) / sizeof(std::int16_t);
            ++blocks_;
            if (!armed_) {
                continue;
            }
            for (std::size_t k = 0; k < samples; ++k) {
                if (std::abs(block[k]) > 256) {
                    const auto after = std::chrono::duration_cast<Clock::duration>(
                        std::chrono::duration<double>(double(samples - k) / MonitorRate));
                    onset_ = arrived - after;
                    armed_ = false;
                    break;
                }
            }
        }
    }

    pid_t child_ = -1;
    int fd_ = -1;
    std::thread reader_;
    std::atomic<bool> armed_ = false;
    std::atomic<int> blocks_ = 0;
    std::atomic<Clock::time_point> onset_{};
};

void PressToOnset(benchmark::State& state) {
    const auto pause = std::chrono::milliseconds(state.range(0));
    TTestProgram program({"cat"}, {}); // no bonus die: every die is a plain pick
    TSdlSoundOutput output;
    if (!output.Open()) {
        state.SkipWithError(("no sound device: " + output.Error()).c_str());
        return;
    }
    LoadCompiledClips(output);
    SetSoundOutput(&output);
    TMonitor monitor;
    if (!monitor.Running()) {
        state.SkipWithError("parec does not run");
        return;
    }
    TfrmMain form(program.Services());
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        state.SkipWithError("the main window was not exposed");
        return;
    }
    TDrawGrid* grid = form.Form().Grid;
    std::vector<double> latencies;
    int picked = 25;
    for (auto _ : state) {
        if (picked == 25) {
            form.cmdNewGameClick();
            picked = 0;
        }
        QTest::qWait(static_cast<int>(pause.count()));
        monitor.Arm();
        const QPoint centre = grid->CellRect(picked % 5, picked / 5).center();
        const auto pressed = Clock::now();
        QTest::mousePress(grid, Qt::LeftButton, {}, centre);
        const std::optional<Clock::time_point> onset = monitor.Onset();
        QTest::mouseRelease(grid, Qt::LeftButton, {}, centre);
        ++picked;
        if (!onset) {
            state.SkipWithError("a press was not heard within a second");
            break;
        }
        const double seconds = std::chrono::duration<double>(*onset - pressed).count();
        state.SetIterationTime(std::max(seconds, 0.0));
        latencies.push_back(seconds * 1000);
    }
    if (!latencies.empty()) {
        state.counters["median_ms"] = Percentile(latencies, 0.5);
        state.counters["p90_ms"] = Percentile(latencies, 0.9);
    }
}
BENCHMARK(PressToOnset)
    ->ArgName("pause_ms")
    ->Arg(300)
    ->Arg(TSdlSoundOutput::DefaultQuietSpell.count() + 500)
    ->Iterations(30)
    ->MeasureProcessCPUTime() // the sound threads' work too
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
