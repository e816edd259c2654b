#pragma once

#include <functional>
#include <string>

class TClock;
class TModalRunner;

// The edges of the program that tests replace: time, the showing of modal
// windows and boxes, where the program lives, and how it ends.
struct TAppServices {
    TClock* Clock = nullptr;
    TModalRunner* Modal = nullptr;
    std::string ExecutablePath;       // its folder holds the word stores
    std::function<void()> Terminate;  // ends the message loop
};
