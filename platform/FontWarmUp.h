#pragma once

#include <thread>

// Reads the system's font configuration on a helper thread while the toolkit
// starts. Fontconfig parses its configuration files and caches once per
// process, about 2.5 ms here, and the first window built would otherwise wait
// for it; the toolkit then finds it ready. Fontconfig is safe to use from any
// thread and nothing of the toolkit is touched here, so this may start before
// the application object exists.
class TFontWarmUp {
public:
    TFontWarmUp();
    ~TFontWarmUp();
    TFontWarmUp(const TFontWarmUp&) = delete;
    TFontWarmUp& operator=(const TFontWarmUp&) = delete;

    // Waits until the configuration is read; call before the first window is
    // built, or the toolkit would read it a second time alongside.
    void Wait();

private:
    std::thread reading_;
};
