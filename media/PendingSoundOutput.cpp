#include "PendingSoundOutput.h"

#include <cstdio>

TPendingSoundOutput::TPendingSoundOutput(TSdlSoundOutput& output) : output_(output) {
    opening_ = std::async(std::launch::async, [this] {
        return output_.Open() ? LoadCompiledClips(output_) : std::vector<std::string>{};
    });
}

TPendingSoundOutput::~TPendingSoundOutput() {
    Ready();
}

TSdlSoundOutput& TPendingSoundOutput::Ready() {
    if (opening_.valid()) {
        for (const std::string& problem : opening_.get()) {
            std::fprintf(stderr, "Lexipede: sound clip %s\n", problem.c_str());
        }
    }
    return output_;
}
