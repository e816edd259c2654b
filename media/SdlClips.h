#pragma once

#include <SDL.h>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

struct TSdlLibrary;

// The sample format every clip is converted to and the device is opened in.
// Fixed, so that a device opened again after a quiet spell or a lost sound
// server plays the clips already converted; where a device wants another
// format, SDL converts on its way out.
struct TOutputFormat {
    int Rate = 44100;
    SDL_AudioFormat Format = AUDIO_S16SYS;
    int Channels = 1;

    int BytesPerFrame() const { return SDL_AUDIO_BITSIZE(Format) / 8 * Channels; }
    double Seconds(std::size_t bytes) const {
        return static_cast<double>(bytes) / (static_cast<double>(BytesPerFrame()) * Rate);
    }
};

// The named clips, read by SDL's WAVE loader from the bytes of WAVE files and
// converted to the output format when each is first asked for: SDL's resampler
// needs more time for the whole catalogue than the rest of start-up together.
// Used from one thread; a converted clip stays where it is while the clips
// live, so the audio thread may read the one playing.
class TSdlClips {
public:
    TSdlClips(const TSdlLibrary& sdl, TOutputFormat format) : sdl_(sdl), format_(format) {}

    // Adds (or replaces) a clip. Returns an empty text, or what is wrong with
    // the clip, starting with its name; whether SDL can convert its format at
    // all is known at once.
    std::string Add(const std::string& name, std::string_view wave);
    // The clip (any case) in the output format, or null when there is none
    // or it cannot be converted (said once on stderr, and the clip dropped).
    const std::vector<std::uint8_t>* Converted(const std::string& name);

private:
    // A clip's samples as the WAVE file holds them until its first play.
    struct TClip {
        std::vector<std::uint8_t> Source;
        SDL_AudioFormat SourceFormat = 0;
        int SourceChannels = 0;
        int SourceRate = 0;
        std::vector<std::uint8_t> Converted;
        bool IsConverted = false;
    };
    // Returns what went wrong, or an empty text.
    std::string Convert(TClip& clip) const;

    const TSdlLibrary& sdl_;
    TOutputFormat format_;
    std::map<std::string, TClip> clips_; // by upper-case name
};
