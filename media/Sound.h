#pragma once

#include <string>

// Where sound goes. Production installs the device output at start-up; tests
// install one that records what was played.
class TSoundOutput {
public:
    virtual ~TSoundOutput() = default;
    // A playback device exists and is open.
    virtual bool DevicePresent() = 0;
    // Plays the named clip (any case), stopping the one still playing. With
    // async false it returns only when the clip has ended.
    virtual void Play(const std::string& name, bool async) = 0;
};

// A wave output device exists; set once at start-up.
extern bool SoundCardPresent;
// The player wants sound; true at every start, flipped by the sound dialog.
extern bool SoundOn;

void SetSoundOutput(TSoundOutput* output); // nullptr: no device

// True when the sound output reports a playback device.
bool CheckForSoundCard();

// Plays the named WAVE clip, returning at once (async) or after the clip; silent
// and immediate unless SoundCardPresent and SoundOn are both true.
void PlayWave(const std::string& name, bool async);
