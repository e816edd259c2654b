// Loading any bytes as a sound clip and converting it to the output format: a
// bad clip is refused with a line naming it, never a crash or an overflow.

#include "media/SdlClips.h"
#include "media/SdlLibrary.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {
TSdlClips* clips = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* problem = nullptr;
    const TSdlLibrary* sdl = LoadSdlLibrary(&problem);
    if (sdl == nullptr) {
        std::fprintf(stderr, "no SDL2: %s\n", problem);
        std::abort();
    }
    clips = new TSdlClips(*sdl, TOutputFormat{});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string problem =
        clips->Add("FUZZ", std::string_view(reinterpret_cast<const char*>(data), size));
    if (!problem.empty() && problem.rfind("FUZZ: ", 0) != 0) {
        __builtin_trap(); // every complaint names its clip
    }
    if (problem.empty()) {
        clips->Converted("FUZZ"); // converted on first use
    }
    return 0;
}
