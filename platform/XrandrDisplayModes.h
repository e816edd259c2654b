#pragma once

#include "DisplayModes.h"

#include <memory>
#include <string>
#include <vector>

typedef struct _XDisplay Display;

// Refresh rate of a mode line in whole Hz: the dot clock over the pixels of one
// frame. A double-scanned mode draws each line twice, an interlaced one draws
// half the lines per field. Zero totals give 0.
int RefreshRate(unsigned long dotClock, unsigned hTotal, unsigned vTotal, bool doubleScan,
                bool interlace);

// The modes of one output of an X server, through the RandR extension: those
// the output offers, in the server's order, at the depth of the screen. Setting
// a mode switches that output's CRTC to it and fits the screen around it. The
// server stores no default mode, so a mode holds until someone changes it.
class TXrandrDisplayModes : public TDisplayModes {
public:
    // The output named `outputName` (as the toolkit names screens), else the one
    // showing the point (x, y), else the primary output, else the first one that
    // is lit. Nothing when the server cannot be reached, lacks RandR 1.2, or has
    // no lit output.
    static std::unique_ptr<TXrandrDisplayModes> Open(const char* displayName,
                                                     const std::string& outputName, int x, int y);
    ~TXrandrDisplayModes() override;

    std::optional<TDisplayMode> Mode(int index) override;
    bool SetMode(const TDisplayMode& mode) override;
    int Depth() override;

    const std::string& OutputName() const { return outputName_; }

private:
    TXrandrDisplayModes(Display* display, unsigned long output, std::string outputName,
                        std::vector<TDisplayMode> modes);

    Display* display_;
    unsigned long output_;
    std::string outputName_;
    std::vector<TDisplayMode> modes_;
};
