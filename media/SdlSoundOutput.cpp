#include "SdlSoundOutput.h"

#include "SdlLibrary.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
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
        sdl_->CloseAudioDevice(device_);
        device_ = 0;
    }
    if (subsystemStarted_) {
        // The game uses SDL for nothing else: shut all of it down, so what the
        // audio start set up (its event layer included) is released too.
        sdl_->QuitSubSystem(SDL_INIT_AUDIO);
        sdl_->Quit();
        subsystemStarted_ = false;
    }
}

bool TSdlSoundOutput::Open(int bufferFrames) {
    const char* notLoaded = nullptr;
    sdl_ = LoadSdlLibrary(&notLoaded);
    if (sdl_ == nullptr) {
        error_ = std::string("audio does not start: ") + notLoaded;
        return false;
    }
    QuietenAlsa();
    // Starting audio starts SDL's event layer too, which would catch SIGINT and
    // SIGTERM for an SDL event loop the game does not have: the game could no
    // longer be ended by a signal.
    sdl_->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (sdl_->InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error_ = std::string("audio does not start: ") + sdl_->GetError();
        return false;
    }
    subsystemStarted_ = true;
    if (sdl_->GetNumAudioDevices(0) < 1) {
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
    device_ =
        sdl_->OpenAudioDevice(nullptr, 0, &want, &have,
                              SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_FORMAT_CHANGE |
                                  SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (device_ == 0) {
        error_ = std::string("the playback device does not open: ") + sdl_->GetError();
        return false;
    }
    rate_ = have.freq;
    channels_ = have.channels;
    format_ = have.format;
    silence_ = have.silence;
    bufferFrames_ = have.samples;
    frameBytes_ = static_cast<int>(SDL_AUDIO_BITSIZE(have.format) / 8 * have.channels);
    sdl_->PauseAudioDevice(device_, 0);
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
    SDL_RWops* source = sdl_->RWFromConstMem(wave.data(), static_cast<int>(wave.size()));
    if (source == nullptr) {
        return name + ": " + sdl_->GetError();
    }
    SDL_AudioSpec clipFormat{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (sdl_->LoadWAV_RW(source, 1, &clipFormat, &samples, &length) == nullptr) {
        return name + ": not a playable WAVE clip: " + sdl_->GetError();
    }
    // 64-bit throughout: a header may claim any rate and channel count.
    const std::int64_t rate = clipFormat.freq;
    const std::int64_t sourceFrameBytes =
        std::int64_t{SDL_AUDIO_BITSIZE(clipFormat.format) / 8} * clipFormat.channels;
    const std::int64_t sourceFrames = sourceFrameBytes == 0 ? 0 : length / sourceFrameBytes;
    const std::string beyond = BeyondClipLimits(rate, clipFormat.channels, sourceFrames);
    if (!beyond.empty()) {
        sdl_->FreeWAV(samples);
        return name + ": not a playable WAVE clip: " + beyond;
    }
    // The conversion itself waits for the clip's first play: SDL's resampler
    // needs more time for the whole catalogue than the rest of start-up
    // together. Whether SDL can convert the format at all is known now.
    SDL_AudioStream* stream =
        sdl_->NewAudioStream(clipFormat.format, clipFormat.channels, clipFormat.freq, format_,
                             static_cast<Uint8>(channels_), rate_);
    if (stream == nullptr) {
        sdl_->FreeWAV(samples);
        return name + ": cannot convert: " + sdl_->GetError();
    }
    sdl_->FreeAudioStream(stream);
    TClip clip;
    clip.Source.assign(samples, samples + length);
    clip.SourceFormat = clipFormat.format;
    clip.SourceChannels = clipFormat.channels;
    clip.SourceRate = clipFormat.freq;
    sdl_->FreeWAV(samples);
    sdl_->LockAudioDevice(device_);
    clips_[Upper(name)] = std::move(clip);
    sdl_->UnlockAudioDevice(device_);
    return {};
}

std::string TSdlSoundOutput::Convert(TClip& clip) const {
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
    const std::int64_t clipFrames = (sourceFrames * rate_ + rate / 2) / rate; // at the device rate
    SDL_AudioStream* stream =
        sdl_->NewAudioStream(clip.SourceFormat, clip.SourceChannels, clip.SourceRate, format_,
                             static_cast<Uint8>(channels_), rate_);
    std::string problem;
    std::vector<std::uint8_t> converted;
    // SDL 2.26's resampler keeps the last few hundred frames back even after a
    // flush: feed it a tenth of a second of silence after the clip, and cut the
    // result back to the clip's own length below.
    const std::vector<std::uint8_t> tail(static_cast<std::size_t>(rate / 10 * sourceFrameBytes),
                                         clip.SourceFormat == AUDIO_U8 ? 0x80 : 0);
    const auto clipBytes = static_cast<std::size_t>(clipFrames * frameBytes_);
    if (stream == nullptr ||
        sdl_->AudioStreamPut(stream, clip.Source.data(), static_cast<int>(clip.Source.size())) !=
            0 ||
        sdl_->AudioStreamPut(stream, tail.data(), static_cast<int>(tail.size())) != 0 ||
        sdl_->AudioStreamFlush(stream) != 0) {
        problem = std::string("cannot convert: ") + sdl_->GetError();
    } else {
        // The stream hands its output over in pieces: read until it is empty.
        for (int available = sdl_->AudioStreamAvailable(stream); available > 0;
             available = sdl_->AudioStreamAvailable(stream)) {
            const std::size_t had = converted.size();
            converted.resize(had + static_cast<std::size_t>(available));
            const int got = sdl_->AudioStreamGet(stream, converted.data() + had, available);
            converted.resize(had + static_cast<std::size_t>(std::max(got, 0)));
            if (got <= 0) {
                break;
            }
        }
        converted.resize(std::min(converted.size(), clipBytes));
    }
    if (stream != nullptr) {
        sdl_->FreeAudioStream(stream);
    }
    if (problem.empty()) {
        clip.Converted = std::move(converted);
        clip.IsConverted = true;
        clip.Source = {};
    }
    return problem;
}

const std::vector<std::uint8_t>* TSdlSoundOutput::Clip(const std::string& name) {
    const auto found = clips_.find(Upper(name));
    if (found == clips_.end()) {
        return nullptr;
    }
    TClip& clip = found->second;
    if (!clip.IsConverted) {
        // Only this thread changes the clips; the audio thread reads only the
        // one playing, which is converted already.
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

void TSdlSoundOutput::Play(const std::string& name, bool async) {
    const std::vector<std::uint8_t>* clip = Clip(name);
    if (device_ == 0 || clip == nullptr) {
        return;
    }
    sdl_->LockAudioDevice(device_);
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
    sdl_->UnlockAudioDevice(device_);
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
