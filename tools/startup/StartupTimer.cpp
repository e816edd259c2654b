// Times how long a program takes to put its windows on the screen, as the X
// server sees it: from fork to the map of each top-level window, and to the
// first paint the program reports on stdout ("first-paint <unix ms>", printed
// when LEXIPEDE_STARTUP_PROBE is set). Runs the bare baseline window and the
// game in turn, N times each, with a time limit per run, and prints medians,
// the ratio of the two and their peak resident memory.
//
//   startup_timer [--runs N] [--limit SECONDS] BARE_PROGRAM GAME_PROGRAM...
//
// More than one game program (say, a build before a change and one after) are
// timed in the same rounds, each against the same bare runs.
//
// The display is $DISPLAY. A run that does not map its main window within the
// limit is killed and reported; it never hangs the measurement.

#include <X11/Xlib.h>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

// The main window and the bare window share the design's client size.
constexpr int MainWidth = 685;
constexpr int MainHeight = 391;

double NowMs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

struct TRun {
    std::optional<double> FirstMapMs; // any top-level window other than the main one
    std::optional<double> MainMapMs;
    std::optional<double> FirstPaintMs;
    long PeakRssKb = 0;
    bool TimedOut = false;
};

// Watches the root window for top-level windows being created, resized and
// mapped while one program starts.
class TMapWatch {
public:
    explicit TMapWatch(Display* display) : display_(display) {
        XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
        XSync(display_, False);
    }

    int Fd() const { return ConnectionNumber(display_); }

    void Drain(TRun& run) {
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            const double now = NowMs();
            switch (event.type) {
            case CreateNotify:
                sizes_[event.xcreatewindow.window] = {event.xcreatewindow.width,
                                                      event.xcreatewindow.height};
                break;
            case ConfigureNotify:
                sizes_[event.xconfigure.window] = {event.xconfigure.width, event.xconfigure.height};
                break;
            case MapNotify: {
                const auto size = sizes_[event.xmap.window];
                if (size.first == MainWidth && size.second == MainHeight) {
                    if (!run.MainMapMs) {
                        run.MainMapMs = now;
                    }
                } else if (!run.FirstMapMs) {
                    run.FirstMapMs = now;
                }
                break;
            }
            default:
                break;
            }
        }
    }

    void Forget() { sizes_.clear(); }

private:
    Display* display_;
    std::map<Window, std::pair<int, int>> sizes_;
};

// Starts the program with the paint probe on, watches until its main window
// is mapped and painted (or the limit passes), then ends it.
TRun TimeOneStart(TMapWatch& watch, const char* program, double limitMs) {
    int out[2];
    if (pipe(out) != 0) {
        std::perror("pipe");
        std::exit(2);
    }
    const double startMs = NowMs();
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        setenv("LEXIPEDE_STARTUP_PROBE", "1", 1);
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);

    TRun run;
    std::string printed;
    while (!(run.MainMapMs && run.FirstPaintMs)) {
        const double left = startMs + limitMs - NowMs();
        if (left <= 0) {
            run.TimedOut = true;
            break;
        }
        pollfd fds[2] = {{watch.Fd(), POLLIN, 0}, {out[0], POLLIN, 0}};
        watch.Drain(run); // events already read into Xlib's queue raise no POLLIN
        if (run.MainMapMs && run.FirstPaintMs) {
            break;
        }
        if (poll(fds, 2, static_cast<int>(left) + 1) < 0 && errno != EINTR) {
            break;
        }
        watch.Drain(run);
        if (fds[1].revents & (POLLIN | POLLHUP)) {
            char buffer[256];
            const ssize_t got = read(out[0], buffer, sizeof buffer);
            if (got <= 0) {
                run.TimedOut = !run.FirstPaintMs; // the program ended before painting
                break;
            }
            printed.append(buffer, static_cast<size_t>(got));
            const auto at = printed.find("first-paint ");
            if (at != std::string::npos && printed.find('\n', at) != std::string::npos) {
                run.FirstPaintMs = std::strtod(printed.c_str() + at + 12, nullptr);
            }
        }
    }
    kill(child, run.TimedOut ? SIGKILL : SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    run.PeakRssKb = usage.ru_maxrss;
    close(out[0]);
    watch.Forget();

    auto relative = [startMs](std::optional<double>& at) {
        if (at) {
            *at -= startMs;
        }
    };
    relative(run.FirstMapMs);
    relative(run.MainMapMs);
    relative(run.FirstPaintMs);
    return run;
}

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct TSeries {
    std::vector<double> FirstMap, MainMap, FirstPaint, RssMb;
    int TimedOut = 0;

    void Add(const TRun& run) {
        if (run.TimedOut) {
            ++TimedOut;
            return;
        }
        if (run.FirstMapMs) {
            FirstMap.push_back(*run.FirstMapMs);
        }
        MainMap.push_back(*run.MainMapMs);
        FirstPaint.push_back(*run.FirstPaintMs);
        RssMb.push_back(static_cast<double>(run.PeakRssKb) / 1024.0);
    }
};

void PrintSeries(const char* name, const TSeries& series, int runs) {
    std::printf("%s\n  main window mapped %6.1f ms, first paint %6.1f ms", name,
                Median(series.MainMap), Median(series.FirstPaint));
    if (!series.FirstMap.empty()) {
        std::printf(", loading window mapped %6.1f ms", Median(series.FirstMap));
    }
    std::printf("\n  peak RSS %5.1f MB (medians of %zu of %d runs)\n", Median(series.RssMb),
                series.MainMap.size(), runs);
}

} // namespace

int main(int argc, char** argv) {
    int runs = 15;
    double limitSeconds = 10;
    std::vector<const char*> programs;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--limit") == 0 && i + 1 < argc) {
            limitSeconds = std::atof(argv[++i]);
        } else {
            programs.push_back(argv[i]);
        }
    }
    if (programs.size() < 2) {
        std::fprintf(stderr,
                     "usage: startup_timer [--runs N] [--limit SECONDS] BARE GAME [GAME...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "startup_timer: cannot open display \"%s\"\n",
                     std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
        return 2;
    }
    TMapWatch watch(display);
    std::vector<TSeries> series(programs.size());
    for (int i = 0; i < runs; ++i) { // interleaved, so drift in the machine hits all alike
        for (size_t program = 0; program < programs.size(); ++program) {
            series[program].Add(TimeOneStart(watch, programs[program], limitSeconds * 1000));
        }
    }
    const TSeries& bare = series[0];
    int failures = bare.TimedOut;
    PrintSeries(programs[0], bare, runs);
    for (size_t program = 1; program < programs.size(); ++program) {
        const TSeries& game = series[program];
        failures += game.TimedOut;
        PrintSeries(programs[program], game, runs);
        if (!bare.MainMap.empty() && !game.MainMap.empty()) {
            std::printf("  ratio to bare: mapped %.2f, first paint %.2f, peak RSS %.2f\n",
                        Median(game.MainMap) / Median(bare.MainMap),
                        Median(game.FirstPaint) / Median(bare.FirstPaint),
                        Median(game.RssMb) / Median(bare.RssMb));
        }
    }
    if (failures > 0) {
        std::printf("%d run(s) did not map and paint the main window within %.0f s\n", failures,
                    limitSeconds);
    }
    XCloseDisplay(display);
    return failures > 0 ? 1 : 0;
}
