#pragma once

#include "SdlClips.h"
#include "Sound.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// Sound through SDL2's audio subsystem (no SDL window). One clip sounds at a
// time: a new one cuts the one playing.
//
// The playback device is open only while there is sound: a clip opens it, and
// a keeper thread closes it after a quiet spell, so that a sound server can
// let its sink sleep and no audio thread wakes a thousand times a second while
// the game waits for the player. While it is open a clip starts on the calling
// thread with nothing in the way; otherwise the keeper opens the device and
// starts the clip. A device that was lost (the sound server died or the
// device was removed) is opened again by the next clip, with SDL's audio
// started anew if its back end lost its server; a clip that still cannot be
// played is dropped, and nobody waits for it.
class TSdlSoundOutput final : public TSoundOutput {
public:
    static constexpr int DefaultBufferFrames = 256;
    // Long enough that the dice picked for one word find the device open,
    // short enough that the sink sleeps while the player looks for the next.
    static constexpr std::chrono::milliseconds DefaultQuietSpell{2000};

    explicit TSdlSoundOutput(std::chrono::milliseconds quietSpell = DefaultQuietSpell);
    ~TSdlSoundOutput() override;
    TSdlSoundOutput(const TSdlSoundOutput&) = delete;
    TSdlSoundOutput& operator=(const TSdlSoundOutput&) = delete;

    // The device test at start-up: starts SDL audio and opens the default
    // playback device. False, with the reason in Error(), when audio cannot
    // start, no playback device is reported, or the device does not open; the
    // audio libraries' own complaints are kept off the terminal meanwhile.
    // After a failure SDL audio is still running until Close(), which can take
    // a tenth of a second. On success the device stays open for a quiet spell.
    bool Open(int bufferFrames = DefaultBufferFrames);
    // Closes the device and shuts SDL down; the destructor does it too.
    void Close();
    const std::string& Error() const { return error_; }

    // Adds a clip from the bytes of a WAVE file. Returns an empty text, or
    // what is wrong with the clip. Needs SDL loaded (by Open, even a failed one).
    std::string AddClip(const std::string& name, std::string_view wave);

    // The start-up test found a device; a device lost later does not change it.
    bool DevicePresent() override { return present_; }
    void Play(const std::string& name, bool async) override;

    // The device is open now: from a clip until the quiet spell after it.
    bool StreamOpen() const;
    int DeviceRate() const { return format_.Rate; }
    int DeviceChannels() const { return format_.Channels; }
    int BytesPerFrame() const { return format_.BytesPerFrame(); }
    int BufferFrames() const { return bufferFrames_; }
    // A clip as converted to the output format, when first asked for or played.
    const std::vector<std::uint8_t>* Clip(const std::string& name);

    // Steady-clock nanoseconds at which the first samples of the most recently
    // started clip were handed to the device; 0 until they have been.
    std::int64_t FirstSamplesHandedAt() const { return firstHandedAt_.load(); }

private:
    using TSteady = std::chrono::steady_clock;

    std::uint32_t OpenDevice();
    // Opens the device for a clip; starts SDL audio anew if that fails.
    std::uint32_t OpenDeviceAgain();
    bool DeviceAlive() const;
    // Hands clip to the audio thread; mutex_ held and the device open.
    void Start(const std::vector<std::uint8_t>& clip, std::uint64_t number);
    // Whoever waits for clips up to number may go on: they ended, were cut
    // or were dropped.
    void Release(std::uint64_t number);
    void Keep();
    static void Fill(void* self, std::uint8_t* stream, int length);

    std::string error_;
    const struct TSdlLibrary* sdl_ = nullptr; // set by Open
    std::unique_ptr<TSdlClips> clips_;        // used on the caller's thread only
    TOutputFormat format_;
    int bufferFrames_ = 0;
    bool subsystemStarted_ = false;
    bool present_ = false;
    const std::chrono::milliseconds quietSpell_;

    // Shared by the callers of Play and the keeper.
    mutable std::mutex mutex_;
    std::condition_variable keeperWake_;
    std::uint32_t device_ = 0;                           // 0 while closed
    std::uint64_t requested_ = 0;                        // clips asked for
    const std::vector<std::uint8_t>* pending_ = nullptr; // for the keeper to start
    std::uint64_t pendingNumber_ = 0;
    TSteady::time_point quietFrom_; // when the last clip started has ended
    bool stopping_ = false;
    std::thread keeper_;

    // Shared with the audio thread, which SDL's device lock keeps apart.
    const std::vector<std::uint8_t>* playing_ = nullptr;
    std::uint64_t playingNumber_ = 0;
    std::size_t position_ = 0;
    std::atomic<std::int64_t> firstHandedAt_{0};
    bool firstHanded_ = true;

    // The waiting caller of a synchronous clip is woken when it ends.
    std::mutex endedMutex_;
    std::condition_variable endedSignal_;
    std::uint64_t ended_ = 0; // every clip up to this number has ended, was cut or dropped
};

// Adds every clip compiled into the program (:/sounds/NAME.wav) to output.
// Returns one line for each clip that could not be loaded, naming it.
std::vector<std::string> LoadCompiledClips(TSdlSoundOutput& output);
