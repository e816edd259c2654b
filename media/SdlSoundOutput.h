#pragma once

#include "Sound.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

// Sound through SDL2's audio subsystem (no SDL window): one playback device
// opened at start-up with a short buffer, so a click is heard at once. Clips
// are read by SDL's WAVE loader from memory and converted once, when first
// played, to the device format by an SDL audio stream; playback copies the current clip into the
// device buffer. One clip sounds at a time: a new one cuts the one playing.
class TSdlSoundOutput final : public TSoundOutput {
public:
    static constexpr int DefaultBufferFrames = 256;

    TSdlSoundOutput() = default;
    ~TSdlSoundOutput() override;
    TSdlSoundOutput(const TSdlSoundOutput&) = delete;
    TSdlSoundOutput& operator=(const TSdlSoundOutput&) = delete;

    // Starts SDL audio and opens the default playback device. False, with the
    // reason in Error(), when audio cannot start, no playback device is
    // reported, or the device does not open; the audio libraries' own
    // complaints are kept off the terminal meanwhile. After a failure SDL audio
    // is still running until Close(), which can take a tenth of a second.
    bool Open(int bufferFrames = DefaultBufferFrames);
    // Closes the device and shuts SDL down; the destructor does it too.
    void Close();
    const std::string& Error() const { return error_; }

    // Adds a clip from the bytes of a WAVE file, converted to the device
    // format. Returns an empty text, or what is wrong with the clip.
    std::string AddClip(const std::string& name, std::string_view wave);

    bool DevicePresent() override { return device_ != 0; }
    void Play(const std::string& name, bool async) override;

    // The device format chosen when opening, and a clip as converted to it;
    // a clip is converted when it is first asked for or played.
    int DeviceRate() const { return rate_; }
    int DeviceChannels() const { return channels_; }
    int BytesPerFrame() const { return frameBytes_; }
    int BufferFrames() const { return bufferFrames_; }
    const std::vector<std::uint8_t>* Clip(const std::string& name);

    // Steady-clock nanoseconds at which the first samples of the most recently
    // started clip were handed to the device; 0 until they have been.
    std::int64_t FirstSamplesHandedAt() const { return firstHandedAt_.load(); }

private:
    // A clip's samples as the WAVE file holds them until its first play, then
    // converted to the device format.
    struct TClip {
        std::vector<std::uint8_t> Source;
        std::uint16_t SourceFormat = 0;
        int SourceChannels = 0;
        int SourceRate = 0;
        std::vector<std::uint8_t> Converted;
        bool IsConverted = false;
    };
    // Converts clip to the device format; returns what went wrong, or an empty text.
    std::string Convert(TClip& clip) const;
    static void Fill(void* self, std::uint8_t* stream, int length);

    std::string error_;
    const struct TSdlLibrary* sdl_ = nullptr; // set by Open
    std::uint32_t device_ = 0;
    bool subsystemStarted_ = false;
    int rate_ = 0;
    int channels_ = 0;
    int frameBytes_ = 0;
    int bufferFrames_ = 0;
    std::uint16_t format_ = 0;
    std::uint8_t silence_ = 0;
    std::map<std::string, TClip> clips_; // by upper-case name

    // Shared with the audio thread, which SDL's device lock keeps apart.
    const std::vector<std::uint8_t>* playing_ = nullptr;
    std::size_t position_ = 0;
    std::uint64_t started_ = 0; // clips started
    std::atomic<std::int64_t> firstHandedAt_{0};
    bool firstHanded_ = true;

    // The waiting caller of a synchronous clip is woken when it ends.
    std::mutex endedMutex_;
    std::condition_variable endedSignal_;
    std::uint64_t ended_ = 0; // the number of the last clip that ended or was cut
};

// Adds every clip compiled into the program (:/sounds/NAME.wav) to output.
// Returns one line for each clip that could not be loaded, naming it.
std::vector<std::string> LoadCompiledClips(TSdlSoundOutput& output);
