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
class TPendingSoundOutput final : public TSoundOutput {
public:
    explicit TPendingSoundOutput(TSdlSoundOutput& output);
    ~TPendingSoundOutput() override;

    bool DevicePresent() override { return Ready().DevicePresent(); }
    void Play(const std::string& name, bool async) override { Ready().Play(name, async); }

private:
    TSdlSoundOutput& Ready();

    TSdlSoundOutput& output_;
    std::promise<std::vector<std::string>> answer_;
    std::future<std::vector<std::string>> opened_;
    std::thread opening_;
};
