#include "PendingSoundOutput.h"

#include <cstdio>

TPendingSoundOutput::TPendingSoundOutput(TSdlSoundOutput& output)
    : output_(output), opened_(answer_.get_future()) {
    opening_ = std::thread([this] {
        const bool open = output_.Open();
        answer_.set_value(open ? LoadCompiledClips(output_) : std::vector<std::string>{});
        if (!open) {
            output_.Close();
        }
    });
}

TPendingSoundOutput::~TPendingSoundOutput() {
    Ready();
    opening_.join();
}

TSdlSoundOutput& TPendingSoundOutput::Ready() {
    if (opened_.valid()) {
        for (const std::string& problem : opened_.get()) {
            std::fprintf(stderr, "Lexipede: sound clip %s\n", problem.c_str());
        }
    }
    return output_;
}
