// The SDL sound output with SDL's disk and dummy drivers, so no sound card is
// needed: what reaches the device, cutting, waiting, the quiet spell, and bad
// clips. The way through a real sound server is tested in tests/sound.

#include "media/Sound.h"

#include "StoreFixture.h"
#include "media/SdlSoundOutput.h"

#include <QFile>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The steady clock as FirstSamplesHandedAt tells it.
std::int64_t Nanoseconds(Clock::time_point at) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch()).count();
}

QByteArray CompiledClip(const char* name) {
    QFile file(QStringLiteral(":/sounds/%1.wav").arg(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::uint32_t Le32(const QByteArray& bytes, qsizetype at) {
    std::uint32_t value = 0;
    for (int k = 3; k >= 0; --k) {
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + k]);
    }
    return value;
}

std::uint16_t Le16(const QByteArray& bytes, qsizetype at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                      static_cast<std::uint8_t>(bytes[at + 1]) << 8);
}

// A canonical PCM WAVE file of silence.
QByteArray Wave(int channels, std::uint32_t rate, int bits, std::uint32_t frames) {
    QByteArray bytes;
    const auto put = [&bytes](std::uint32_t value, int width) {
        for (int k = 0; k < width; ++k) {
            bytes.append(static_cast<char>(value >> (8 * k) & 0xff));
        }
    };
    const std::uint32_t frameBytes = static_cast<std::uint32_t>(channels * bits / 8);
    const std::uint32_t dataBytes = frames * frameBytes;
    bytes.append("RIFF");
    put(36 + dataBytes, 4);
    bytes.append("WAVEfmt ");
    put(16, 4);
    put(1, 2); // PCM
    put(static_cast<std::uint32_t>(channels), 2);
    put(rate, 4);
    put(rate * frameBytes, 4);
    put(frameBytes, 2);
    put(static_cast<std::uint32_t>(bits), 2);
    bytes.append("data");
    put(dataBytes, 4);
    bytes.append(QByteArray(static_cast<qsizetype>(dataBytes), bits == 8 ? '\x80' : '\0'));
    return bytes;
}

// An output on SDL's disk driver, which writes what the device is handed to a file.
class DiskOutput : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = folder_.File("device.raw");
        ::setenv("SDL_AUDIODRIVER", "disk", 1);
        ::setenv("SDL_DISKAUDIOFILE", path_.c_str(), 1);
        output_ = std::make_unique<TSdlSoundOutput>();
        ASSERT_TRUE(output_->Open()) << output_->Error();
        ASSERT_EQ(LoadCompiledClips(*output_), std::vector<std::string>());
    }

    // Closes the device and gives what it was handed.
    std::vector<std::uint8_t> Handed() {
        output_.reset();
        const std::string bytes = ReadBytes(path_);
        return {bytes.begin(), bytes.end()};
    }

    static std::ptrdiff_t Find(const std::vector<std::uint8_t>& haystack,
                               const std::vector<std::uint8_t>& needle) {
        const auto at = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end());
        return at == haystack.end() ? -1 : at - haystack.begin();
    }

    TTempFolder folder_;
    std::string path_;
    std::unique_ptr<TSdlSoundOutput> output_;
};

TEST_F(DiskOutput, aPlayedClipReachesTheDeviceWhole) {
    const std::vector<std::uint8_t> click = *output_->Clip("CLICK");
    ASSERT_GT(click.size(), 100u);
    output_->Play("Click", false); // any case
    EXPECT_GE(Find(Handed(), click), 0);
}

TEST_F(DiskOutput, aNewClipCutsTheOneStillPlaying) {
    const std::vector<std::uint8_t> click = *output_->Clip("CLICK");
    const std::vector<std::uint8_t> gameOver = *output_->Clip("GAMEOVER");
    output_->Play("GAMEOVER", true);
    // Cut only once the device has taken GAMEOVER's first samples: a fixed pause
    // is not enough on a loaded machine.
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (output_->FirstSamplesHandedAt() == 0 && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_NE(output_->FirstSamplesHandedAt(), 0) << "GAMEOVER never reached the device";
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    output_->Play("CLICK", false);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    const std::vector<std::uint8_t> handed = Handed();

    const std::ptrdiff_t clickAt = Find(handed, click);
    ASSERT_GE(clickAt, 0);
    EXPECT_GE(Find(std::vector<std::uint8_t>(handed.begin(), handed.begin() + clickAt),
                   std::vector<std::uint8_t>(gameOver.begin(), gameOver.begin() + 256)),
              0)
        << "GAMEOVER had begun";
    const std::uint8_t silence = handed.back();
    EXPECT_TRUE(std::all_of(handed.begin() + clickAt + static_cast<std::ptrdiff_t>(click.size()),
                            handed.end(), [silence](std::uint8_t b) { return b == silence; }))
        << "after CLICK the cut GAMEOVER does not come back";
    EXPECT_LT(handed.size(), gameOver.size() / 2);
}

TEST_F(DiskOutput, aClipWithAChunkAfterItsDataPlaysOnlyItsSamples) {
    const QByteArray wave = CompiledClip("GAMEOVER");
    const std::uint32_t dataLength = Le32(wave, 40);
    const std::uint32_t dataEnd =
        44 + dataLength + dataLength % 2; // chunks are padded to even sizes
    ASSERT_GT(static_cast<std::uint32_t>(wave.size()), dataEnd + 8)
        << "GAMEOVER carries a chunk after its data";
    EXPECT_EQ(wave.mid(dataEnd, 4), QByteArray("LIST"));
    const double seconds = static_cast<double>(output_->Clip("GAMEOVER")->size()) /
                           (output_->BytesPerFrame() * output_->DeviceRate());
    EXPECT_NEAR(seconds, 4.27, 0.02);
}

struct TCatalogueEntry {
    const char* Name;
    std::uint32_t Rate;
    std::uint16_t Bits;
    double Seconds;
};

class ClipFormat : public ::testing::TestWithParam<TCatalogueEntry> {};

TEST_P(ClipFormat, isMonoPcmWithTheCatalogueRateBitsAndLength) {
    const TCatalogueEntry& entry = GetParam();
    const QByteArray wave = CompiledClip(entry.Name);
    ASSERT_GE(wave.size(), 44);
    EXPECT_EQ(wave.left(4), QByteArray("RIFF"));
    EXPECT_EQ(wave.mid(8, 8), QByteArray("WAVEfmt "));
    EXPECT_EQ(Le16(wave, 20), 1) << "PCM";
    EXPECT_EQ(Le16(wave, 22), 1) << "mono";
    EXPECT_EQ(Le32(wave, 24), entry.Rate);
    EXPECT_EQ(Le16(wave, 34), entry.Bits);
    EXPECT_EQ(wave.mid(36, 4), QByteArray("data"));
    const double seconds = static_cast<double>(Le32(wave, 40)) / (entry.Rate * entry.Bits / 8);
    EXPECT_NEAR(seconds, entry.Seconds, entry.Seconds * 0.05);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, ClipFormat,
                         ::testing::Values(TCatalogueEntry{"ADDWORD", 11025, 8, 0.94},
                                           TCatalogueEntry{"CLICK", 11025, 8, 0.04},
                                           TCatalogueEntry{"GAMEOVER", 11025, 8, 4.27},
                                           TCatalogueEntry{"GOODJOB", 22050, 16, 1.87},
                                           TCatalogueEntry{"LOADING", 11025, 8, 0.29},
                                           TCatalogueEntry{"NEWGAME", 22050, 16, 0.38},
                                           TCatalogueEntry{"OK", 22050, 16, 0.81},
                                           TCatalogueEntry{"OOPS", 44100, 16, 0.31},
                                           TCatalogueEntry{"QUIT", 22050, 16, 1.54},
                                           TCatalogueEntry{"DUPEWORD", 11025, 8, 0.13},
                                           TCatalogueEntry{"ERROR", 11025, 8, 1.10}),
                         [](const auto& info) { return std::string(info.param.Name); });

// An output on SDL's dummy driver, which consumes samples at the device's pace.
class DummyOutput : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_TRUE(output_.Open()) << output_.Error();
        ASSERT_EQ(LoadCompiledClips(output_), std::vector<std::string>());
    }
    TSdlSoundOutput output_;
};

TEST_F(DummyOutput, aWaitedClipBlocksForAboutItsLengthAndAnUnwaitedOneReturnsAtOnce) {
    auto start = Clock::now();
    output_.Play("LOADING", false);
    const double waited = SecondsSince(start);
    // SDL's dummy driver sleeps whole milliseconds per buffer, 5 for 5.8, so
    // its clock runs about 14 % fast: LOADING's 0.29 s pass in about 0.25.
    EXPECT_GT(waited, 0.2);
    EXPECT_LT(waited, 0.9) << "LOADING lasts 0.29 s";

    start = Clock::now();
    output_.Play("GAMEOVER", true);
    EXPECT_LT(SecondsSince(start), 0.5) << "GAMEOVER lasts 4.27 s";
}

TEST_F(DummyOutput, soundOffOrNoDeviceCostsNoTime) {
    SetSoundOutput(&output_);
    for (const auto& [present, on] : {std::pair{true, false}, std::pair{false, true}}) {
        SoundCardPresent = present;
        SoundOn = on;
        const auto start = Clock::now();
        PlayWave("QUIT", false);
        EXPECT_LT(SecondsSince(start), 0.2) << "device " << present << ", sound " << on;
        EXPECT_EQ(output_.FirstSamplesHandedAt(), 0) << "nothing was started";
    }
    SoundCardPresent = true;
    SoundOn = true;
    PlayWave("CLICK", false);
    EXPECT_NE(output_.FirstSamplesHandedAt(), 0);
    SetSoundOutput(nullptr);
}

TEST(QuietSpell, theDeviceClosesWhenQuietAndAWaitedClipOpensItAgainAndIsWaitedFor) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    TSdlSoundOutput output(std::chrono::milliseconds(100));
    ASSERT_TRUE(output.Open()) << output.Error();
    ASSERT_EQ(LoadCompiledClips(output), std::vector<std::string>());
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (output.StreamOpen() && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_FALSE(output.StreamOpen()) << "still open 5 s after the device test";

    // Timed from the clip's own first samples, not from the call: the device
    // opened again for it, and the call returned only once it had played.
    // (The stream itself may be closed again by the time this thread runs on
    // a busy machine: its quiet spell is short.)
    const std::int64_t start = Nanoseconds(Clock::now());
    output.Play("LOADING", false);
    const std::int64_t returned = Nanoseconds(Clock::now());
    const std::int64_t handed = output.FirstSamplesHandedAt();
    ASSERT_GT(handed, start) << "the clip was not handed to a device opened again";
    EXPECT_GT(static_cast<double>(returned - handed) / 1e9, 0.2) << "LOADING lasts 0.29 s";
}

TEST_F(DummyOutput, malformedClipsAreRefusedWithTheirName) {
    const QByteArray click = CompiledClip("CLICK");
    QByteArray foreign = click;
    foreign[20] = 0x55; // a format tag no decoder knows
    QByteArray overclaimed = Wave(1, 8000, 8, 64);
    overclaimed.replace(40, 4, QByteArray("\x40\x00\xff\xff", 4)); // data: 4 GB
    const std::pair<const char*, QByteArray> bad[] = {
        {"EMPTY", QByteArray()},
        {"GARBAGE", QByteArray("this is not a RIFF file, not even close")},
        {"HEADERONLY", click.left(30)},
        {"FOREIGN", foreign},
        // Beyond the loader's limits: refused from the header, before the
        // clip is converted (int overflow, gigabytes and seconds otherwise).
        {"HUGERATE", Wave(255, 2147483647u, 8, 4)},
        {"MANYCHANNELS", Wave(9, 11025, 8, 441)},
        {"SLOWRATE", Wave(1, 999, 8, 441)},
        {"ONEHERTZ", Wave(1, 1, 8, 64)},
        {"OVERAMINUTE", Wave(1, 1000, 8, 61000)},
        {"OVERCLAIMED", overclaimed},
        {"BAREOVERCLAIMED", overclaimed.mid(8)}, // "WAVE" without "RIFF" before it
    };
    for (const auto& [name, bytes] : bad) {
        const std::string problem = output_.AddClip(
            name, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        EXPECT_NE(problem.find(name), std::string::npos) << name << ": " << problem;
        EXPECT_EQ(output_.Clip(name), nullptr);
    }
    const QByteArray longest = Wave(2, 48000, 16, 60 * 48000);
    EXPECT_EQ(
        output_.AddClip("LONGEST", std::string_view(longest.constData(),
                                                    static_cast<std::size_t>(longest.size()))),
        "");
    output_.Play("GARBAGE", false); // an unknown clip is simply not played
}

TEST(Signals, aGameWithSoundStillEndsOnSigterm) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        TSdlSoundOutput output;
        if (!output.Open()) {
            ::_exit(2);
        }
        ::raise(SIGTERM);
        ::sleep(2);
        ::_exit(0); // SIGTERM was caught and turned into an event nobody reads
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "status " << status;
}

// While it lives, the standard error of the whole process goes to a file.
class TCapturedStderr {
public:
    TCapturedStderr() {
        std::fflush(stderr);
        saved_ = ::dup(2);
        const int capture = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        ::dup2(capture, 2);
        ::close(capture);
    }
    ~TCapturedStderr() { Text(); }
    TCapturedStderr(const TCapturedStderr&) = delete;
    TCapturedStderr& operator=(const TCapturedStderr&) = delete;

    // Ends the capture and gives what was written.
    std::string Text() {
        if (saved_ >= 0) {
            std::fflush(stderr);
            ::dup2(saved_, 2);
            ::close(saved_);
            saved_ = -1;
        }
        return ReadBytes(path_);
    }

private:
    TTempFolder folder_;
    std::string path_ = folder_.File("stderr.txt");
    int saved_ = -1;
};

TEST(Stderr, everyLineOfAnotherThreadArrivesWhileTheDeviceOpensAndCloses) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    TCapturedStderr captured;
    std::atomic<bool> stop = false;
    int written = 0;
    std::thread writer([&] {
        while (!stop) {
            written += ::write(2, "x\n", 2) == 2 ? 1 : 0;
        }
    });
    for (int round = 0; round < 20; ++round) {
        TSdlSoundOutput output;
        EXPECT_TRUE(output.Open()) << output.Error();
    }
    stop = true;
    writer.join();
    const std::string lines = captured.Text();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), written);
}

TEST(NoDevice, anOutputThatCannotOpenIsSilentAndQuiet) {
    ::setenv("SDL_AUDIODRIVER", "nosuchdriver", 1);
    TCapturedStderr captured;
    bool opened = true;
    {
        TSdlSoundOutput output;
        opened = output.Open();
        EXPECT_FALSE(output.DevicePresent());
        EXPECT_FALSE(output.Error().empty());
        const auto start = Clock::now();
        output.Play("QUIT", false);
        EXPECT_LT(SecondsSince(start), 0.2) << "QUIT lasts 1.54 s";
    }
    EXPECT_FALSE(opened);
    EXPECT_EQ(captured.Text(), "") << "the terminal stays clean";
}

} // namespace
