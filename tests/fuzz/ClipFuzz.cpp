// Loading any bytes as a sound clip into an output on SDL's dummy driver: a bad
// clip is refused with a line naming it, never a crash or an overflow.

#include "media/SdlSoundOutput.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {
TSdlSoundOutput* output = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    output = new TSdlSoundOutput();
    if (!output->Open()) {
        std::fprintf(stderr, "no dummy sound device: %s\n", output->Error().c_str());
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string problem =
        output->AddClip("FUZZ", std::string_view(reinterpret_cast<const char*>(data), size));
    if (!problem.empty() && problem.rfind("FUZZ: ", 0) != 0) {
        __builtin_trap(); // every complaint names its clip
    }
    if (problem.empty()) {
        output->Clip("FUZZ"); // converted on first use
    }
    return 0;
}
