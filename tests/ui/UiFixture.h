#pragma once

// Fakes for the program's edges, so window tests neither wait nor block on a box.

#include "StoreFixture.h"
#include "app/AppServices.h"
#include "game/RandomSource.h"
#include "media/Sound.h"
#include "platform/Clock.h"
#include "platform/widgets/Modal.h"

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class TFakeClock : public TClock {
public:
    TDateTime Current = 45000.5; // 2023-03-15 12:00 local
    // UTC milliseconds; each reading moves them on by one, as a real clock
    // read in a loop would, so a new game's scramble always finishes.
    mutable std::uint32_t Utc = 12u * 3600u * 1000u;
    std::int64_t Steady = 0;

    TDateTime Now() const override { return Current; }
    std::uint32_t MillisecondsSinceMidnightUtc() const override { return Utc++; }
    std::int64_t SteadyNanoseconds() const override { return Steady; }
    void AdvanceSeconds(double seconds) {
        Current += seconds / SecondsPerDay;
        Utc += static_cast<std::uint32_t>(seconds * 1000);
        Steady += std::llround(seconds * 1e9);
    }
    // The system clock is set, or daylight-saving time changes: real time does
    // not pass.
    void StepWallClock(double seconds) {
        Current += seconds / SecondsPerDay;
        Utc += static_cast<std::uint32_t>(std::llround(seconds * 1000));
    }
};

// Answers every box at once and records it; a dialog is handed to OnDialog
// (which may click in it) and then closed as the player would. Every dialog and
// box must have the window that opens it as parent, and a dialog a title of its
// own: the test that shows one without fails.
class TRecordingModal : public TModalRunner {
public:
    QStringList Warnings;
    QStringList Messages;
    std::vector<QPointer<QWidget>> BoxParents;
    std::vector<QString> DialogsShown; // object names
    std::function<void(QDialog&)> OnDialog;

    int ShowModal(QDialog& dialog) override;
    void Warning(QWidget* parent, const QString& text) override;
    void Message(QWidget* parent, const QString& text) override;

private:
    void RecordBoxParent(QWidget* parent, const QString& text);
};

class TRecordingSound : public TSoundOutput {
public:
    bool Device = false;
    std::vector<std::pair<std::string, bool>> Played; // name, async
    // Called as a clip is played, after it is recorded.
    std::function<void(const std::string&)> OnPlay;

    bool DevicePresent() override { return Device; }
    void Play(const std::string& name, bool async) override {
        Played.emplace_back(name, async);
        if (OnPlay) {
            OnPlay(name);
        }
    }
};

// A program folder holding word stores, and the services of a program that
// lives there. The program's edges are its own: the fake clock, the recording
// modal runner and sound output, and a random source at state 0. The sound
// switches start as a run starts them, sound on and no device; the fixture is
// the one place that sets them.
class TTestProgram {
public:
    // Writes Dict and Bonus from the given words (sorted as the stores want).
    explicit TTestProgram(const std::vector<std::string>& dictionary = {"cat", "cats", "dog",
                                                                        "quiet"},
                          const std::vector<std::string>& bonusWords = {"apple", "tiger"});
    ~TTestProgram();

    std::string Folder() const { return folder_.Path(); }
    std::string File(const std::string& name) const { return folder_.File(name); }
    TAppServices Services();

    // A sound device, found as start-up finds one (the main window asks for
    // itself; a dialog alone relies on this).
    TTestProgram& WithSoundDevice();
    // The player's sound switch, as the sound dialog leaves it.
    void SwitchSound(bool on);

    TFakeClock Clock;
    TRecordingModal Modal;
    TRecordingSound Sound;
    TRandomSource Random;
    int Terminations = 0;

private:
    TTempFolder folder_;
};
