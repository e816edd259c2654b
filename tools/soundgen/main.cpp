// soundgen OUTDIR: synthesises the game's eleven clips as RIFF/WAVE files
// (uncompressed PCM, mono) with the sample rates, bit depths and lengths of the
// sound catalogue. GAMEOVER and QUIT carry a LIST chunk after their data, as
// some clips do; playback ignores it.

#include "Synth.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

// Note frequencies, equal temperament from A4 = 440 Hz.
double NoteHz(int semitonesFromA4) {
    return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0);
}
constexpr int C4 = -9, E4 = -5, F4 = -4, G4 = -2, A4 = 0, C5 = 3, D5 = 5, E5 = 7, G5 = 10, A5 = 12,
              C6 = 15, E6 = 19;

struct TClip {
    const char* Name;
    int Rate;
    int Bits;
    double Seconds;
    bool TrailingChunk;
    std::function<void(TSynth&)> Compose;
};

const std::vector<double> Bell{1.0, 0.5, 0.25, 0.12, 0.06};
const std::vector<double> Reed{1.0, 0.6, 0.45, 0.3, 0.2, 0.12};

const std::vector<TClip> Clips = {
    {"ADDWORD", 11025, 8, 0.94, false,
     [](TSynth& s) {
         // A bright rising arpeggio: a word well found.
         const int notes[] = {C5, E5, G5, C6};
         for (int i = 0; i < 4; ++i) {
             s.Note(i * 0.09, 0.94 - i * 0.09, NoteHz(notes[i]), 1.0, 4.5, Bell);
         }
     }},
    {"CLICK", 11025, 8, 0.04, false,
     [](TSynth& s) {
         s.Noise(0, 0.04, 0.8, 160);
         s.Note(0, 0.04, 1800, 0.6, 120, {1.0});
     }},
    {"GAMEOVER", 11025, 8, 4.27, true,
     [](TSynth& s) {
         // The slide-trombone "wah, wah, wah, waaah" of a game that is over.
         const int notes[] = {G4, -3, F4, E4};
         const double starts[] = {0.0, 0.62, 1.24, 1.86};
         const double lengths[] = {0.58, 0.58, 0.58, 2.35};
         for (int i = 0; i < 4; ++i) {
             s.Note(starts[i], lengths[i], NoteHz(notes[i]) / 2, 1.0, i == 3 ? 0.9 : 1.6, Reed,
                    i == 3 ? 5.5 : 0.0);
         }
     }},
    {"GOODJOB", 22050, 16, 1.87, false,
     [](TSynth& s) {
         // A little fanfare for a new high score.
         const int notes[] = {C5, E5, G5, C6};
         const double starts[] = {0.0, 0.16, 0.32, 0.52};
         for (int i = 0; i < 4; ++i) {
             s.Note(starts[i], 1.87 - starts[i], NoteHz(notes[i]), i == 3 ? 1.0 : 0.7,
                    i == 3 ? 1.8 : 5.0, Reed);
         }
         s.Note(0.52, 1.35, NoteHz(E6), 0.35, 2.2, Bell);
     }},
    {"LOADING", 11025, 8, 0.29, false, [](TSynth& s) { s.Sweep(0, 0.29, 330, 1320, 1.0); }},
    {"NEWGAME", 22050, 16, 0.38, false,
     [](TSynth& s) {
         s.Note(0.0, 0.2, NoteHz(E5), 1.0, 9, Bell);
         s.Note(0.12, 0.26, NoteHz(A5), 1.0, 8, Bell);
     }},
    {"OK", 22050, 16, 0.81, false,
     [](TSynth& s) {
         s.Note(0.0, 0.4, NoteHz(G5), 0.8, 6, Bell);
         s.Note(0.18, 0.63, NoteHz(C6), 1.0, 4, Bell);
     }},
    {"OOPS", 44100, 16, 0.31, false,
     [](TSynth& s) {
         // A falling "boing".
         s.Sweep(0, 0.31, 700, 180, 1.0);
     }},
    {"QUIT", 22050, 16, 1.54, true,
     [](TSynth& s) {
         // Goodbye: a gentle falling phrase.
         s.Note(0.0, 0.5, NoteHz(C5), 0.9, 3, Bell);
         s.Note(0.36, 0.5, NoteHz(G4), 0.9, 3, Bell);
         s.Note(0.72, 0.82, NoteHz(C4), 1.0, 2.5, Bell);
     }},
    {"DUPEWORD", 11025, 8, 0.13, false,
     [](TSynth& s) {
         s.Note(0.0, 0.06, NoteHz(D5), 1.0, 10, Reed);
         s.Note(0.07, 0.06, NoteHz(D5), 1.0, 10, Reed);
     }},
    {"ERROR", 11025, 8, 1.10, false,
     [](TSynth& s) { s.Note(0.0, 1.1, NoteHz(A4) / 4, 1.0, 2.0, Reed, 7.0); }},
};

void Put16(std::string& out, std::uint16_t v) {
    out.push_back(static_cast<char>(v & 0xff));
    out.push_back(static_cast<char>(v >> 8));
}

void Put32(std::string& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>((v >> shift) & 0xff));
    }
}

std::string Wave(const TClip& clip, const std::vector<double>& samples) {
    std::string data;
    for (double v : samples) {
        if (clip.Bits == 8) {
            data.push_back(
                static_cast<char>(static_cast<std::uint8_t>(std::lround(128 + v * 127))));
        } else {
            Put16(data,
                  static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(v * 32767))));
        }
    }
    if (data.size() % 2 != 0) {
        data.push_back(static_cast<char>(0x80)); // chunks are padded to an even size
    }
    std::string list;
    if (clip.TrailingChunk) {
        const std::string text = std::string("Lexipede ") + clip.Name;
        std::string info = "INFO";
        info += "INAM";
        Put32(info, static_cast<std::uint32_t>(text.size() + 1));
        info += text;
        info.push_back('\0');
        if (info.size() % 2 != 0) {
            info.push_back('\0');
        }
        list = "LIST";
        Put32(list, static_cast<std::uint32_t>(info.size()));
        list += info;
    }
    const std::uint16_t blockAlign = static_cast<std::uint16_t>(clip.Bits / 8);
    std::string fmt = "fmt ";
    Put32(fmt, 16);
    Put16(fmt, 1); // PCM
    Put16(fmt, 1); // mono
    Put32(fmt, static_cast<std::uint32_t>(clip.Rate));
    Put32(fmt, static_cast<std::uint32_t>(clip.Rate * blockAlign));
    Put16(fmt, blockAlign);
    Put16(fmt, static_cast<std::uint16_t>(clip.Bits));
    std::string body = "WAVE" + fmt + "data";
    Put32(body, static_cast<std::uint32_t>(samples.size() * blockAlign));
    body += data + list;
    std::string file = "RIFF";
    Put32(file, static_cast<std::uint32_t>(body.size()));
    return file + body;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: soundgen OUTDIR\n");
        return 2;
    }
    for (const TClip& clip : Clips) {
        TSynth synth(clip.Rate, clip.Seconds);
        clip.Compose(synth);
        const std::string path = std::string(argv[1]) + "/" + clip.Name + ".wav";
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        const std::string wave = Wave(clip, synth.Samples());
        out.write(wave.data(), static_cast<std::streamsize>(wave.size()));
        if (!out) {
            std::fprintf(stderr, "soundgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
