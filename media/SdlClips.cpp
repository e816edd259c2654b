#include "SdlClips.h"

#include "SdlLibrary.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <limits>

namespace {

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// A clip is refused beyond these, before anything is reserved for it: the
// catalogue's clips are mono or stereo, 8000 to 48000 Hz and a few seconds long.
constexpr std::int64_t MinClipRate = 1000;
constexpr std::int64_t MaxClipRate = 384000;
constexpr std::int64_t MaxClipChannels = 8;
constexpr std::int64_t MaxClipSeconds = 60;

std::uint32_t Le32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t k = 4; k-- > 0;) {
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + k]);
    }
    return value;
}

// SDL's loader reserves what a chunk's header claims before it reads the chunk:
// four bytes of header could have gigabytes reserved. Every chunk must lie
// within the bytes there are. Returns what is wrong, or an empty text.
std::string OverclaimedChunk(std::string_view wave) {
    if (wave.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return "larger than 2 GB";
    }
    // The chunks follow "RIFF", size, "WAVE"; SDL also takes a bare "WAVE".
    const std::size_t firstChunk = wave.substr(0, 4) == "RIFF"   ? 12
                                   : wave.substr(0, 4) == "WAVE" ? 4
                                                                 : wave.size();
    constexpr std::size_t ChunkHeader = 8; // name, size
    for (std::size_t at = firstChunk; at + ChunkHeader <= wave.size();) {
        const std::uint64_t length = Le32(wave, at + 4);
        const std::size_t left = wave.size() - at - ChunkHeader;
        if (length > left) {
            return "chunk \"" + std::string(wave.substr(at, 4)) + "\" claims " +
                   std::to_string(length) + " bytes, " + std::to_string(left) + " are there";
        }
        at += ChunkHeader + static_cast<std::size_t>(length) + (length & 1); // padded to even
    }
    return {};
}

// What makes a clip too much to load, or an empty text.
std::string BeyondClipLimits(std::int64_t rate, std::int64_t channels, std::int64_t frames) {
    if (rate < MinClipRate || rate > MaxClipRate) {
        return "a rate of " + std::to_string(rate) + " Hz, outside " + std::to_string(MinClipRate) +
               " to " + std::to_string(MaxClipRate);
    }
    if (channels < 1 || channels > MaxClipChannels) {
        return std::to_string(channels) + " channels, more than " + std::to_string(MaxClipChannels);
    }
    if (frames > MaxClipSeconds * rate) {
        return "longer than " + std::to_string(MaxClipSeconds) + " seconds";
    }
    return {};
}

} // namespace

std::string TSdlClips::Add(const std::string& name, std::string_view wave) {
    const std::string overclaimed = OverclaimedChunk(wave);
    if (!overclaimed.empty()) {
        return name + ": not a playable WAVE clip: " + overclaimed;
    }
    SDL_RWops* source = sdl_.RWFromConstMem(wave.data(), static_cast<int>(wave.size()));
    if (source == nullptr) {
        return name + ": " + sdl_.GetError();
    }
    SDL_AudioSpec clipFormat{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (sdl_.LoadWAV_RW(source, 1, &clipFormat, &samples, &length) == nullptr) {
        return name + ": not a playable WAVE clip: " + sdl_.GetError();
    }
    // 64-bit throughout: a header may claim any rate and channel count.
    const std::int64_t rate = clipFormat.freq;
    const std::int64_t sourceFrameBytes =
        std::int64_t{SDL_AUDIO_BITSIZE(clipFormat.format) / 8} * clipFormat.channels;
    const std::int64_t sourceFrames = sourceFrameBytes == 0 ? 0 : length / sourceFrameBytes;
    const std::string beyond = BeyondClipLimits(rate, clipFormat.channels, sourceFrames);
    if (!beyond.empty()) {
        sdl_.FreeWAV(samples);
        return name + ": not a playable WAVE clip: " + beyond;
    }
    SDL_AudioStream* stream =
        sdl_.NewAudioStream(clipFormat.format, clipFormat.channels, clipFormat.freq, format_.Format,
                            static_cast<Uint8>(format_.Channels), format_.Rate);
    if (stream == nullptr) {
        sdl_.FreeWAV(samples);
        return name + ": cannot convert: " + sdl_.GetError();
    }
    sdl_.FreeAudioStream(stream);
    TClip clip;
    clip.Source.assign(samples, samples + length);
    clip.SourceFormat = clipFormat.format;
    clip.SourceChannels = clipFormat.channels;
    clip.SourceRate = clipFormat.freq;
    sdl_.FreeWAV(samples);
    clips_[Upper(name)] = std::move(clip);
    return {};
}

std::string TSdlClips::Convert(TClip& clip) const {
    const std::int64_t rate = clip.SourceRate;
    const std::int64_t sourceFrameBytes =
        std::int64_t{SDL_AUDIO_BITSIZE(clip.SourceFormat) / 8} * clip.SourceChannels;
    if (clip.Source.empty() || sourceFrameBytes == 0) {
        // Nothing to hear; SDL refuses to be handed no samples at all.
        clip.IsConverted = true;
        return {};
    }
    const std::int64_t sourceFrames =
        static_cast<std::int64_t>(clip.Source.size()) / sourceFrameBytes;
    const std::int64_t clipFrames = (sourceFrames * format_.Rate + rate / 2) / rate;
    SDL_AudioStream* stream =
        sdl_.NewAudioStream(clip.SourceFormat, clip.SourceChannels, clip.SourceRate, format_.Format,
                            static_cast<Uint8>(format_.Channels), format_.Rate);
    std::string problem;
    std::vector<std::uint8_t> converted;
    // SDL 2.26's resampler keeps the last few hundred frames back even after a
    // flush: feed it a tenth of a second of silence after the clip, and cut the
    // result back to the clip's own length below.
    const std::vector<std::uint8_t> tail(static_cast<std::size_t>(rate / 10 * sourceFrameBytes),
                                         clip.SourceFormat == AUDIO_U8 ? 0x80 : 0);
    const auto clipBytes = static_cast<std::size_t>(clipFrames * format_.BytesPerFrame());
    if (stream == nullptr ||
        sdl_.AudioStreamPut(stream, clip.Source.data(), static_cast<int>(clip.Source.size())) !=
            0 ||
        sdl_.AudioStreamPut(stream, tail.data(), static_cast<int>(tail.size())) != 0 ||
        sdl_.AudioStreamFlush(stream) != 0) {
        problem = std::string("cannot convert: ") + sdl_.GetError();
    } else {
        // The stream hands its output over in pieces: read until it is empty.
        for (int available = sdl_.AudioStreamAvailable(stream); available > 0;
             available = sdl_.AudioStreamAvailable(stream)) {
            const std::size_t had = converted.size();
            converted.resize(had + static_cast<std::size_t>(available));
            const int got = sdl_.AudioStreamGet(stream, converted.data() + had, available);
            converted.resize(had + static_cast<std::size_t>(std::max(got, 0)));
            if (got <= 0) {
                break;
            }
        }
        converted.resize(std::min(converted.size(), clipBytes));
    }
    if (stream != nullptr) {
        sdl_.FreeAudioStream(stream);
    }
    if (problem.empty()) {
        clip.Converted = std::move(converted);
        clip.IsConverted = true;
        clip.Source = {};
    }
    return problem;
}

const std::vector<std::uint8_t>* TSdlClips::Converted(const std::string& name) {
    const auto found = clips_.find(Upper(name));
    if (found == clips_.end()) {
        return nullptr;
    }
    TClip& clip = found->second;
    if (!clip.IsConverted) {
        const std::string problem = Convert(clip);
        if (!problem.empty()) {
            std::fprintf(stderr, "Lexipede: sound clip %s: %s\n", found->first.c_str(),
                         problem.c_str());
            clips_.erase(found);
            return nullptr;
        }
    }
    return &clip.Converted;
}
