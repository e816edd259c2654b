#pragma once

#include <SDL.h>

// The SDL2 functions the sound output calls, looked up in libSDL2 at run time
// rather than linked. SDL2 brings some thirty libraries with it (sound
// servers, codecs, Wayland); linked, the dynamic loader loads them all before
// main() and the first window waited 3 ms for them. Looked up, they load on
// the sound helper thread while the toolkit starts.
struct TSdlLibrary {
    decltype(&::SDL_GetError) GetError;
    decltype(&::SDL_SetHint) SetHint;
    decltype(&::SDL_InitSubSystem) InitSubSystem;
    decltype(&::SDL_QuitSubSystem) QuitSubSystem;
    decltype(&::SDL_Quit) Quit;
    decltype(&::SDL_GetNumAudioDevices) GetNumAudioDevices;
    decltype(&::SDL_OpenAudioDevice) OpenAudioDevice;
    decltype(&::SDL_PauseAudioDevice) PauseAudioDevice;
    decltype(&::SDL_CloseAudioDevice) CloseAudioDevice;
    decltype(&::SDL_GetAudioDeviceStatus) GetAudioDeviceStatus;
    decltype(&::SDL_LockAudioDevice) LockAudioDevice;
    decltype(&::SDL_UnlockAudioDevice) UnlockAudioDevice;
    decltype(&::SDL_RWFromConstMem) RWFromConstMem;
    decltype(&::SDL_LoadWAV_RW) LoadWAV_RW;
    decltype(&::SDL_FreeWAV) FreeWAV;
    decltype(&::SDL_NewAudioStream) NewAudioStream;
    decltype(&::SDL_AudioStreamPut) AudioStreamPut;
    decltype(&::SDL_AudioStreamFlush) AudioStreamFlush;
    decltype(&::SDL_AudioStreamAvailable) AudioStreamAvailable;
    decltype(&::SDL_AudioStreamGet) AudioStreamGet;
    decltype(&::SDL_FreeAudioStream) FreeAudioStream;
};

// SDL2, loaded on the first call and kept for the life of the process; null
// when libSDL2 or one of these functions cannot be found, with the reason in
// *problem. Safe to call from any thread.
const TSdlLibrary* LoadSdlLibrary(const char** problem = nullptr);
