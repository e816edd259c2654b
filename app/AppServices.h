#pragma once

#include "game/globals.h"
#include "platform/DisplayModes.h"
#include "platform/widgets/ScreenDisplayModes.h"
#include "scores/ScoreKeeper.h"

#include <functional>
#include <memory>
#include <string>

class TClock;
class TModalRunner;
class QWidget;

// The edges of the program that tests replace: time, the random source, the
// showing of modal windows and boxes, where the program lives, how it ends,
// where the high scores are kept, and the display's modes.
struct TAppServices {
    TClock* Clock = nullptr;
    TRandomSource* Random = &ProgramRandom();
    TModalRunner* Modal = nullptr;
    std::string ExecutablePath;      // its folder holds the word stores
    std::function<void()> Terminate; // ends the message loop
    TScoreFolders ScoreFolders = TScoreFolders::Default();
    // The modes of the display a window is on.
    std::function<std::unique_ptr<TDisplayModes>(const QWidget&)> DisplayModes = OpenDisplayModes;
};
