#pragma once

#include "SdlSoundOutput.h"

#include <future>
#include <string>
#include <vector>

// The device output while it is still being opened on a helper thread at
// start-up. The first question asked of it waits for the opening to finish, so
// the slow part overlaps the toolkit's own start. Problems with the compiled
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
    std::future<std::vector<std::string>> opening_;
};
