#include "SdlLibrary.h"

#include <dlfcn.h>
#include <string>

namespace {

struct TLoaded {
    TSdlLibrary Functions{};
    bool Complete = false;
    std::string Problem;
};

template <typename TFunction>
void Find(void* library, const char* name, TFunction& function, std::string& problem) {
    function = reinterpret_cast<TFunction>(::dlsym(library, name));
    if (function == nullptr && problem.empty()) {
        problem = std::string("libSDL2 has no ") + name;
    }
}

TLoaded Load() {
    TLoaded loaded;
    // The library's soname, as the development package's link would record it.
    void* library = ::dlopen("libSDL2-2.0.so.0", RTLD_LAZY | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = ::dlerror();
        loaded.Problem = reason != nullptr ? reason : "libSDL2-2.0.so.0 cannot be loaded";
        return loaded;
    }
    TSdlLibrary& f = loaded.Functions;
    std::string& p = loaded.Problem;
    Find(library, "SDL_GetError", f.GetError, p);
    Find(library, "SDL_SetHint", f.SetHint, p);
    Find(library, "SDL_InitSubSystem", f.InitSubSystem, p);
    Find(library, "SDL_QuitSubSystem", f.QuitSubSystem, p);
    Find(library, "SDL_Quit", f.Quit, p);
    Find(library, "SDL_GetNumAudioDevices", f.GetNumAudioDevices, p);
    Find(library, "SDL_OpenAudioDevice", f.OpenAudioDevice, p);
    Find(library, "SDL_PauseAudioDevice", f.PauseAudioDevice, p);
    Find(library, "SDL_CloseAudioDevice", f.CloseAudioDevice, p);
    Find(library, "SDL_GetAudioDeviceStatus", f.GetAudioDeviceStatus, p);
    Find(library, "SDL_LockAudioDevice", f.LockAudioDevice, p);
    Find(library, "SDL_UnlockAudioDevice", f.UnlockAudioDevice, p);
    Find(library, "SDL_RWFromConstMem", f.RWFromConstMem, p);
    Find(library, "SDL_LoadWAV_RW", f.LoadWAV_RW, p);
    Find(library, "SDL_FreeWAV", f.FreeWAV, p);
    Find(library, "SDL_NewAudioStream", f.NewAudioStream, p);
    Find(library, "SDL_AudioStreamPut", f.AudioStreamPut, p);
    Find(library, "SDL_AudioStreamFlush", f.AudioStreamFlush, p);
    Find(library, "SDL_AudioStreamAvailable", f.AudioStreamAvailable, p);
    Find(library, "SDL_AudioStreamGet", f.AudioStreamGet, p);
    Find(library, "SDL_FreeAudioStream", f.FreeAudioStream, p);
    loaded.Complete = p.empty();
    // Kept loaded: the audio thread SDL starts runs its code until SDL_Quit.
    return loaded;
}

} // namespace

const TSdlLibrary* LoadSdlLibrary(const char** problem) {
    static const TLoaded loaded = Load(); // thread-safe once
    if (problem != nullptr) {
        *problem = loaded.Problem.c_str();
    }
    return loaded.Complete ? &loaded.Functions : nullptr;
}
