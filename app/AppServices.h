#pragma once

#include "scores/ScoreKeeper.h"

#include <functional>
#include <string>

class TClock;
class TModalRunner;

// The edges of the program that tests replace: time, the showing of modal
// windows and boxes, where the program lives, how it ends, and where the high
// scores are kept.
struct TAppServices {
    TClock* Clock = nullptr;
    TModalRunner* Modal = nullptr;
    std::string ExecutablePath;      // its folder holds the word stores
    std::function<void()> Terminate; // ends the message loop
    TScoreFolders ScoreFolders = TScoreFolders::Default();
};
