#include "Sound.h"

bool SoundCardPresent = false;
bool SoundOn = false;

namespace {
TSoundOutput* installed = nullptr;
}

void SetSoundOutput(TSoundOutput* output) {
    installed = output;
}

bool CheckForSoundCard() {
    return installed != nullptr && installed->DevicePresent();
}

void PlayWave(const std::string& name, bool async) {
    if (!SoundCardPresent || !SoundOn || installed == nullptr) {
        return;
    }
    installed->Play(name, async);
}
