#include "FontWarmUp.h"

#include <fontconfig/fontconfig.h>

TFontWarmUp::TFontWarmUp() : reading_([] { FcInit(); }) {}

TFontWarmUp::~TFontWarmUp() {
    Wait();
}

void TFontWarmUp::Wait() {
    if (reading_.joinable()) {
        reading_.join();
    }
}
