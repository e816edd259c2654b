#include "SdlSoundOutput.h"

#include "SdlLibrary.h"

#include <algorithm>
#include <cstring>
#include <dlfcn.h>
#include <pthread.h>
#include <utility>

namespace {

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

// How long a waited clip may take to start when the device has to be opened
// first: a sound server opens a stream in milliseconds, a machine whose
// drivers all fail gives up within a few tenths of a second.
constexpr double OpeningAllowanceSeconds = 2.0;

} // namespace

TSdlSoundOutput::TSdlSoundOutput(std::chrono::milliseconds quietSpell) : quietSpell_(quietSpell) {}

TSdlSoundOutput::~TSdlSoundOutput() {
    Close();
}

void TSdlSoundOutput::Close() {
    if (keeper_.joinable()) {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        keeperWake_.notify_one();
        keeper_.join();
    }
    if (const std::uint32_t device = std::exchange(device_, 0); device != 0) {
        sdl_->CloseAudioDevice(device);
    }
    playing_ = nullptr;
    Release(requested_);
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
    clips_ = std::make_unique<TSdlClips>(*sdl_, format_);
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
    bufferFrames_ = bufferFrames;
    const std::uint32_t device = OpenDevice();
    if (device == 0) {
        error_ = std::string("the playback device does not open: ") + sdl_->GetError();
        return false;
    }
    present_ = true;
    {
        const std::lock_guard lock(mutex_);
        device_ = device;
        quietFrom_ = TSteady::now();
    }
    keeper_ = std::thread([this] { Keep(); });
    return true;
}

std::uint32_t TSdlSoundOutput::OpenDevice() {
    SDL_AudioSpec want{};
    want.freq = format_.Rate;
    want.format = format_.Format;
    want.channels = static_cast<Uint8>(format_.Channels);
    // A short buffer, so a click is heard at once.
    want.samples = static_cast<Uint16>(bufferFrames_);
    want.callback = &TSdlSoundOutput::Fill;
    want.userdata = this;
    SDL_AudioSpec have{};
    const std::uint32_t device = sdl_->OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device != 0) {
        sdl_->PauseAudioDevice(device, 0);
    }
    return device;
}

std::uint32_t TSdlSoundOutput::OpenDeviceAgain() {
    if (subsystemStarted_) {
        if (const std::uint32_t device = OpenDevice(); device != 0) {
            return device;
        }
        sdl_->QuitSubSystem(SDL_INIT_AUDIO);
        subsystemStarted_ = false;
    }
    // Audio started anew, as at start-up: a back end that lost its server
    // connects again, and SDL may pick another driver. It is stopped again when
    // no device opens, so that none of SDL's drivers polls for devices while
    // the sound server is away.
    if (sdl_->InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return 0;
    }
    subsystemStarted_ = true;
    if (const std::uint32_t device = OpenDevice(); device != 0) {
        return device;
    }
    sdl_->QuitSubSystem(SDL_INIT_AUDIO);
    subsystemStarted_ = false;
    return 0;
}

std::string TSdlSoundOutput::AddClip(const std::string& name, std::string_view wave) {
    if (clips_ == nullptr) {
        return name + ": SDL audio is not loaded";
    }
    // The clip playing may be the one replaced: it is cut first.
    const std::lock_guard lock(mutex_);
    if (device_ != 0) {
        sdl_->LockAudioDevice(device_);
    }
    playing_ = nullptr;
    std::string problem = clips_->Add(name, wave);
    if (device_ != 0) {
        sdl_->UnlockAudioDevice(device_);
    }
    Release(requested_);
    return problem;
}

const std::vector<std::uint8_t>* TSdlSoundOutput::Clip(const std::string& name) {
    return clips_ == nullptr ? nullptr : clips_->Converted(name);
}

bool TSdlSoundOutput::StreamOpen() const {
    const std::lock_guard lock(mutex_);
    return device_ != 0;
}

bool TSdlSoundOutput::DeviceAlive() const {
    // SDL stops a device whose server or hardware went away.
    return device_ != 0 && sdl_->GetAudioDeviceStatus(device_) == SDL_AUDIO_PLAYING;
}

void TSdlSoundOutput::Play(const std::string& name, bool async) {
    const std::vector<std::uint8_t>* clip = present_ ? Clip(name) : nullptr;
    if (clip == nullptr) {
        return;
    }
    std::uint64_t number = 0;
    bool opening = false;
    {
        const std::lock_guard lock(mutex_);
        number = ++requested_;
        Release(number - 1); // the clip before is cut, or never starts
        if (DeviceAlive()) {
            Start(*clip, number);
        } else {
            pending_ = clip;
            pendingNumber_ = number;
            opening = true;
        }
    }
    keeperWake_.notify_one(); // to open the device, or to time the quiet spell anew
    if (async) {
        return;
    }
    // A clip is handed over at the device's own pace; allow it its length and
    // a second more, so a stalled device cannot hang the game.
    const std::chrono::duration<double> allowance(format_.Seconds(clip->size()) + 1.0 +
                                                  (opening ? OpeningAllowanceSeconds : 0.0));
    std::unique_lock lock(endedMutex_);
    endedSignal_.wait_for(lock, allowance, [this, number] { return ended_ >= number; });
}

void TSdlSoundOutput::Start(const std::vector<std::uint8_t>& clip, std::uint64_t number) {
    sdl_->LockAudioDevice(device_);
    playing_ = &clip;
    playingNumber_ = number;
    position_ = 0;
    firstHandedAt_ = 0;
    firstHanded_ = false;
    sdl_->UnlockAudioDevice(device_);
    quietFrom_ = TSteady::now() + std::chrono::duration_cast<TSteady::duration>(
                                      std::chrono::duration<double>(format_.Seconds(clip.size())));
}

void TSdlSoundOutput::Release(std::uint64_t number) {
    {
        const std::lock_guard lock(endedMutex_);
        ended_ = std::max(ended_, number);
    }
    endedSignal_.notify_all();
}

void TSdlSoundOutput::Keep() {
    pthread_setname_np(pthread_self(), "lexi-sound");
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (pending_ != nullptr && DeviceAlive()) {
            Start(*pending_, pendingNumber_);
            pending_ = nullptr;
        } else if (pending_ != nullptr) {
            // Closed after a quiet spell, or lost with its server: open it
            // again, while further clips may be asked for.
            const std::uint32_t lost = std::exchange(device_, 0);
            lock.unlock();
            if (lost != 0) {
                sdl_->CloseAudioDevice(lost);
            }
            const std::uint32_t opened = OpenDeviceAgain();
            lock.lock();
            device_ = opened;
            if (opened == 0 && pending_ != nullptr) {
                // Dropped, as with sound off; the next clip tries again.
                Release(pendingNumber_);
                pending_ = nullptr;
            }
        } else if (device_ != 0 && TSteady::now() >= quietFrom_ + quietSpell_) {
            // Closed, not paused: a paused device still feeds a sound server
            // silence, and keeps its audio thread and the sink awake.
            const std::uint32_t quiet = std::exchange(device_, 0);
            lock.unlock();
            sdl_->CloseAudioDevice(quiet);
            lock.lock();
        } else if (device_ != 0) {
            keeperWake_.wait_until(lock, quietFrom_ + quietSpell_);
        } else {
            keeperWake_.wait(lock);
        }
    }
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
            output.Release(output.playingNumber_);
        }
    }
    // The output format is signed: its silence is zero.
    std::memset(stream + written, 0, wanted - written);
}
