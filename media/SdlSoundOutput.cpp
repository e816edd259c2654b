#include "SdlSoundOutput.h"

#include <SDL.h>
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <dlfcn.h>
#include <limits>
#include <mutex>

namespace {

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::int64_t SteadyNow() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// ALSA prints a page of complaints on a machine without sound through its own
// error handler. A silent handler, set in the library SDL loads later, keeps
// them off the terminal; the standard error itself is never redirected, since
// other threads may be writing to it.
void SilentAlsaHandler(const char*, int, const char*, int, const char*, ...) {}

void QuietenAlsa() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Kept loaded for the life of the process, so the handler stays set.
        void* alsa = ::dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL);
        if (alsa == nullptr) {
            return;
        }
        using THandler = void (*)(const char*, int, const char*, int, const char*, ...);
        using TSetHandler = int (*)(THandler);
        if (auto set = reinterpret_cast<TSetHandler>(::dlsym(alsa, "snd_lib_error_set_handler"))) {
            set(&SilentAlsaHandler);
        }
    });
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

TSdlSoundOutput::~TSdlSoundOutput() {
    Close();
}

void TSdlSoundOutput::Close() {
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
        device_ = 0;
    }
    if (subsystemStarted_) {
        // The game uses SDL for nothing else: shut all of it down, so what the
        // audio start set up (its event layer included) is released too.
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        SDL_Quit();
        subsystemStarted_ = false;
    }
}

bool TSdlSoundOutput::Open(int bufferFrames) {
    QuietenAlsa();
    // Starting audio starts SDL's event layer too, which would catch SIGINT and
    // SIGTERM for an SDL event loop the game does not have: the game could no
    // longer be ended by a signal.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error_ = std::string("audio does not start: ") + SDL_GetError();
        return false;
    }
    subsystemStarted_ = true;
    if (SDL_GetNumAudioDevices(0) < 1) {
        error_ = "no playback device";
        return false;
    }
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = static_cast<Uint16>(bufferFrames);
    want.callback = &TSdlSoundOutput::Fill;
    want.userdata = this;
    SDL_AudioSpec have{};
    // The rate, format and channels may be the device's own; the clips are
    // converted to them. The buffer stays short.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have,
                                  SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_FORMAT_CHANGE |
                                      SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (device_ == 0) {
        error_ = std::string("the playback device does not open: ") + SDL_GetError();
        return false;
    }
    rate_ = have.freq;
    channels_ = have.channels;
    format_ = have.format;
    silence_ = have.silence;
    bufferFrames_ = have.samples;
    frameBytes_ = static_cast<int>(SDL_AUDIO_BITSIZE(have.format) / 8 * have.channels);
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

std::string TSdlSoundOutput::AddClip(const std::string& name, std::string_view wave) {
    if (device_ == 0) {
        return name + ": no device to convert for";
    }
    const std::string overclaimed = OverclaimedChunk(wave);
    if (!overclaimed.empty()) {
        return name + ": not a playable WAVE clip: " + overclaimed;
    }
    SDL_RWops* source = SDL_RWFromConstMem(wave.data(), static_cast<int>(wave.size()));
    if (source == nullptr) {
        return name + ": " + SDL_GetError();
    }
    SDL_AudioSpec clipFormat{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV_RW(source, 1, &clipFormat, &samples, &length) == nullptr) {
        return name + ": not a playable WAVE clip: " + SDL_GetError();
    }
    // 64-bit throughout: a header may claim any rate and channel count.
    const std::int64_t rate = clipFormat.freq;
    const std::int64_t sourceFrameBytes =
        std::int64_t{SDL_AUDIO_BITSIZE(clipFormat.format) / 8} * clipFormat.channels;
    const std::int64_t sourceFrames = sourceFrameBytes == 0 ? 0 : length / sourceFrameBytes;
    const std::string beyond = BeyondClipLimits(rate, clipFormat.channels, sourceFrames);
    if (!beyond.empty()) {
        SDL_FreeWAV(samples);
        return name + ": not a playable WAVE clip: " + beyond;
    }
    const std::int64_t clipFrames = (sourceFrames * rate_ + rate / 2) / rate; // at the device rate
    SDL_AudioStream* stream =
        SDL_NewAudioStream(clipFormat.format, clipFormat.channels, clipFormat.freq, format_,
                           static_cast<Uint8>(channels_), rate_);
    std::string problem;
    std::vector<std::uint8_t> converted;
    // SDL 2.26's resampler keeps the last few hundred frames back even after a
    // flush: feed it a tenth of a second of silence after the clip, and cut the
    // result back to the clip's own length below.
    const std::vector<std::uint8_t> tail(static_cast<std::size_t>(rate / 10 * sourceFrameBytes),
                                         clipFormat.format == AUDIO_U8 ? 0x80 : 0);
    const auto clipBytes = static_cast<std::size_t>(clipFrames * frameBytes_);
    if (stream == nullptr || SDL_AudioStreamPut(stream, samples, static_cast<int>(length)) != 0 ||
        SDL_AudioStreamPut(stream, tail.data(), static_cast<int>(tail.size())) != 0 ||
        SDL_AudioStreamFlush(stream) != 0) {
        problem = name + ": cannot convert: " + SDL_GetError();
    } else {
        // The stream hands its output over in pieces: read until it is empty.
        for (int available = SDL_AudioStreamAvailable(stream); available > 0;
             available = SDL_AudioStreamAvailable(stream)) {
            const std::size_t had = converted.size();
            converted.resize(had + static_cast<std::size_t>(available));
            const int got = SDL_AudioStreamGet(stream, converted.data() + had, available);
            converted.resize(had + static_cast<std::size_t>(std::max(got, 0)));
            if (got <= 0) {
                break;
            }
        }
        converted.resize(std::min(converted.size(), clipBytes));
    }
    if (stream != nullptr) {
        SDL_FreeAudioStream(stream);
    }
    SDL_FreeWAV(samples);
    if (problem.empty()) {
        SDL_LockAudioDevice(device_);
        clips_[Upper(name)] = std::move(converted);
        SDL_UnlockAudioDevice(device_);
    }
    return problem;
}

const std::vector<std::uint8_t>* TSdlSoundOutput::Clip(const std::string& name) const {
    const auto found = clips_.find(Upper(name));
    return found == clips_.end() ? nullptr : &found->second;
}

void TSdlSoundOutput::Play(const std::string& name, bool async) {
    const std::vector<std::uint8_t>* clip = Clip(name);
    if (device_ == 0 || clip == nullptr) {
        return;
    }
    SDL_LockAudioDevice(device_);
    const std::uint64_t number = ++started_;
    {
        // The clip that was playing is cut: whoever waited for it may go on.
        const std::lock_guard lock(endedMutex_);
        ended_ = number - 1;
    }
    endedSignal_.notify_all();
    playing_ = clip;
    position_ = 0;
    firstHandedAt_ = 0;
    firstHanded_ = false;
    SDL_UnlockAudioDevice(device_);
    if (async) {
        return;
    }
    // A clip is handed over at the device's own pace; allow it its length and
    // a second more, so a stalled device cannot hang the game.
    const double seconds =
        static_cast<double>(clip->size()) / (static_cast<double>(frameBytes_) * rate_);
    std::unique_lock lock(endedMutex_);
    endedSignal_.wait_for(lock, std::chrono::duration<double>(seconds + 1.0),
                          [this, number] { return ended_ >= number; });
}

void TSdlSoundOutput::Fill(void* self, std::uint8_t* stream, int length) {
    auto& output = *static_cast<TSdlSoundOutput*>(self);
    std::size_t written = 0;
    const auto wanted = static_cast<std::size_t>(length);
    if (output.playing_ != nullptr) {
        const std::vector<std::uint8_t>& clip = *output.playing_;
        const std::size_t take = std::min(wanted, clip.size() - output.position_);
        std::memcpy(stream, clip.data() + output.position_, take);
        output.position_ += take;
        written = take;
        if (!output.firstHanded_) {
            output.firstHanded_ = true;
            output.firstHandedAt_ = SteadyNow();
        }
        if (output.position_ >= clip.size()) {
            output.playing_ = nullptr;
            {
                const std::lock_guard lock(output.endedMutex_);
                output.ended_ = output.started_;
            }
            output.endedSignal_.notify_all();
        }
    }
    std::memset(stream + written, output.silence_, wanted - written);
}
