#include "SdlSoundOutput.h"

#include <SDL.h>
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <dlfcn.h>
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
    SDL_AudioStream* stream =
        SDL_NewAudioStream(clipFormat.format, clipFormat.channels, clipFormat.freq, format_,
                           static_cast<Uint8>(channels_), rate_);
    std::string problem;
    std::vector<std::uint8_t> converted;
    // SDL 2.26's resampler keeps the last few hundred frames back even after a
    // flush: feed it a tenth of a second of silence after the clip, and cut the
    // result back to the clip's own length below.
    const int sourceFrameBytes =
        static_cast<int>(SDL_AUDIO_BITSIZE(clipFormat.format) / 8 * clipFormat.channels);
    const std::vector<std::uint8_t> tail(
        static_cast<std::size_t>(clipFormat.freq / 10 * sourceFrameBytes),
        clipFormat.format == AUDIO_U8 ? 0x80 : 0);
    const std::size_t clipBytes =
        sourceFrameBytes == 0
            ? 0
            : static_cast<std::size_t>(
                  static_cast<double>(length / static_cast<Uint32>(sourceFrameBytes)) * rate_ /
                      clipFormat.freq +
                  0.5) *
                  static_cast<std::size_t>(frameBytes_);
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
