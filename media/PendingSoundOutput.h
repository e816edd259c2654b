#pragma once

#include "SdlSoundOutput.h"

#include <future>
#include <string>
#include <thread>
#include <vector>

// The device output while it is still being opened on a helper thread at
// start-up. The first question asked of it waits for the answer, so the slow
// part overlaps the toolkit's own start. Where there is no device, SDL is shut
// down again on the helper thread after the answer is given: SDL's ALSA
// back end takes up to a tenth of a second to stop. Problems with the compiled
// clips are reported once, on stderr, naming each clip.
//
// The helper touches nothing of Qt until ToolkitStarted(): the first thread to
// make a Qt object becomes Qt's main thread, and an application object made on
// another thread afterwards gets no input at all.
class TPendingSoundOutput final : public TSoundOutput {
public:
    explicit TPendingSoundOutput(TSdlSoundOutput& output);
    ~TPendingSoundOutput() override;

    // Call once the application object exists: the compiled clips, which are
    // read through Qt's resources, may now be loaded.
    void ToolkitStarted();

    bool DevicePresent() override { return Ready().DevicePresent(); }
    void Play(const std::string& name, bool async) override { Ready().Play(name, async); }

private:
    TSdlSoundOutput& Ready();
    void AnswerToolkit(bool started);

    TSdlSoundOutput& output_;
    std::promise<bool> toolkit_; // true: the clips may be loaded
    bool toolkitAnswered_ = false;
    std::promise<std::vector<std::string>> answer_;
    std::future<std::vector<std::string>> opened_;
    std::thread opening_;
};
