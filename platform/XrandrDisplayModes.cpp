#include "XrandrDisplayModes.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <algorithm>
#include <cmath>

namespace {

// Xlib ends the process on a protocol error unless a handler says otherwise; a
// refused mode must not end the game.
int protocolErrors = 0;
int CountError(Display*, XErrorEvent*) {
    ++protocolErrors;
    return 0;
}

class TErrorTrap {
public:
    explicit TErrorTrap(Display* display) : display_(display) {
        XSync(display_, False);
        protocolErrors = 0;
        previous_ = XSetErrorHandler(CountError);
    }
    ~TErrorTrap() { XSetErrorHandler(previous_); }
    // True when no request since the trap was set failed.
    bool Clean() {
        XSync(display_, False);
        return protocolErrors == 0;
    }

private:
    Display* display_;
    int (*previous_)(Display*, XErrorEvent*) = nullptr;
};

template <class T, void (*Free)(T*)> struct TXFree {
    void operator()(T* p) const {
        if (p != nullptr) {
            Free(p);
        }
    }
};
using TResources =
    std::unique_ptr<XRRScreenResources, TXFree<XRRScreenResources, XRRFreeScreenResources>>;
using TOutputInfo = std::unique_ptr<XRROutputInfo, TXFree<XRROutputInfo, XRRFreeOutputInfo>>;
using TCrtcInfo = std::unique_ptr<XRRCrtcInfo, TXFree<XRRCrtcInfo, XRRFreeCrtcInfo>>;

const XRRModeInfo* FindMode(const XRRScreenResources& resources, RRMode id) {
    for (int m = 0; m < resources.nmode; ++m) {
        if (resources.modes[m].id == id) {
            return &resources.modes[m];
        }
    }
    return nullptr;
}

TDisplayMode ModeOf(const XRRModeInfo& info, int depth) {
    return TDisplayMode{static_cast<int>(info.width), static_cast<int>(info.height), depth,
                        RefreshRate(info.dotClock, info.hTotal, info.vTotal,
                                    (info.modeFlags & RR_DoubleScan) != 0,
                                    (info.modeFlags & RR_Interlace) != 0),
                        info.id};
}

bool Sideways(Rotation rotation) {
    return (rotation & (RR_Rotate_90 | RR_Rotate_270)) != 0;
}

} // namespace

int RefreshRate(unsigned long dotClock, unsigned hTotal, unsigned vTotal, bool doubleScan,
                bool interlace) {
    double lines = vTotal;
    if (doubleScan) {
        lines *= 2;
    }
    if (interlace) {
        lines /= 2;
    }
    if (hTotal == 0 || lines == 0) {
        return 0;
    }
    return static_cast<int>(std::lround(static_cast<double>(dotClock) / (hTotal * lines)));
}

std::unique_ptr<TXrandrDisplayModes>
TXrandrDisplayModes::Open(const char* displayName, const std::string& outputName, int x, int y) {
    Display* display = XOpenDisplay(displayName);
    if (display == nullptr) {
        return nullptr;
    }
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase) ||
        !XRRQueryVersion(display, &major, &minor) || major < 1 || (major == 1 && minor < 2)) {
        XCloseDisplay(display);
        return nullptr;
    }
    const Window root = DefaultRootWindow(display);
    // The full query: the server looks at its outputs again, so every mode is there.
    const TResources resources(XRRGetScreenResources(display, root));
    if (resources == nullptr) {
        XCloseDisplay(display);
        return nullptr;
    }

    RROutput named = None, showing = None, lit = None;
    const RROutput primary = XRRGetOutputPrimary(display, root);
    bool primaryLit = false;
    for (int o = 0; o < resources->noutput; ++o) {
        const RROutput output = resources->outputs[o];
        const TOutputInfo info(XRRGetOutputInfo(display, resources.get(), output));
        if (info == nullptr || info->crtc == None) {
            continue;
        }
        if (lit == None) {
            lit = output;
        }
        primaryLit |= output == primary;
        if (named == None && outputName == info->name) {
            named = output;
        }
        const TCrtcInfo crtc(XRRGetCrtcInfo(display, resources.get(), info->crtc));
        if (showing == None && crtc != nullptr && x >= crtc->x && y >= crtc->y &&
            x < crtc->x + static_cast<int>(crtc->width) &&
            y < crtc->y + static_cast<int>(crtc->height)) {
            showing = output;
        }
    }
    const RROutput output = named != None     ? named
                            : showing != None ? showing
                            : primaryLit      ? primary
                                              : lit;
    if (output == None) {
        XCloseDisplay(display);
        return nullptr;
    }

    const TOutputInfo info(XRRGetOutputInfo(display, resources.get(), output));
    const int depth = DefaultDepth(display, DefaultScreen(display));
    std::vector<TDisplayMode> modes;
    for (int m = 0; m < info->nmode; ++m) {
        if (const XRRModeInfo* mode = FindMode(*resources, info->modes[m])) {
            modes.push_back(ModeOf(*mode, depth));
        }
    }
    return std::unique_ptr<TXrandrDisplayModes>(
        new TXrandrDisplayModes(display, output, info->name, std::move(modes)));
}

TXrandrDisplayModes::TXrandrDisplayModes(Display* display, unsigned long output,
                                         std::string outputName, std::vector<TDisplayMode> modes)
    : display_(display), output_(output), outputName_(std::move(outputName)),
      modes_(std::move(modes)) {}

TXrandrDisplayModes::~TXrandrDisplayModes() {
    XCloseDisplay(display_);
}

int TXrandrDisplayModes::Depth() {
    return DefaultDepth(display_, DefaultScreen(display_));
}

std::optional<TDisplayMode> TXrandrDisplayModes::Mode(int index) {
    if (index >= 0) {
        if (index < static_cast<int>(modes_.size())) {
            return modes_[static_cast<std::size_t>(index)];
        }
        return std::nullopt;
    }
    if (index != -1) {
        return std::nullopt;
    }
    const TResources resources(XRRGetScreenResourcesCurrent(display_, DefaultRootWindow(display_)));
    if (resources == nullptr) {
        return std::nullopt;
    }
    const TOutputInfo info(XRRGetOutputInfo(display_, resources.get(), output_));
    if (info == nullptr || info->crtc == None) {
        return std::nullopt;
    }
    const TCrtcInfo crtc(XRRGetCrtcInfo(display_, resources.get(), info->crtc));
    const XRRModeInfo* current = crtc != nullptr ? FindMode(*resources, crtc->mode) : nullptr;
    if (current == nullptr) {
        return std::nullopt;
    }
    return ModeOf(*current, Depth());
}

bool TXrandrDisplayModes::SetMode(const TDisplayMode& mode) {
    const Window root = DefaultRootWindow(display_);
    const int screen = DefaultScreen(display_);
    const TResources resources(XRRGetScreenResourcesCurrent(display_, root));
    if (resources == nullptr) {
        return false;
    }
    const TOutputInfo info(XRRGetOutputInfo(display_, resources.get(), output_));
    if (info == nullptr || info->crtc == None ||
        std::find(info->modes, info->modes + info->nmode, mode.Id) == info->modes + info->nmode) {
        return false;
    }
    const TCrtcInfo crtc(XRRGetCrtcInfo(display_, resources.get(), info->crtc));
    const XRRModeInfo* target = FindMode(*resources, mode.Id);
    if (crtc == nullptr || target == nullptr) {
        return false;
    }

    // The screen is the box around every lit CRTC, this one at its new size.
    const bool sideways = Sideways(crtc->rotation);
    int boxWidth = crtc->x + static_cast<int>(sideways ? target->height : target->width);
    int boxHeight = crtc->y + static_cast<int>(sideways ? target->width : target->height);
    for (int c = 0; c < resources->ncrtc; ++c) {
        if (resources->crtcs[c] == info->crtc) {
            continue;
        }
        const TCrtcInfo other(XRRGetCrtcInfo(display_, resources.get(), resources->crtcs[c]));
        if (other != nullptr && other->mode != None) {
            boxWidth = std::max(boxWidth, other->x + static_cast<int>(other->width));
            boxHeight = std::max(boxHeight, other->y + static_cast<int>(other->height));
        }
    }
    int minWidth = 0, minHeight = 0, maxWidth = 0, maxHeight = 0;
    XRRGetScreenSizeRange(display_, root, &minWidth, &minHeight, &maxWidth, &maxHeight);
    if (boxWidth > maxWidth || boxHeight > maxHeight) {
        return false;
    }
    boxWidth = std::max(boxWidth, minWidth);
    boxHeight = std::max(boxHeight, minHeight);

    // The size now, from the server: Xlib's figures are those of the moment
    // the connection opened.
    Window rootOfRoot = None;
    int rootX = 0, rootY = 0;
    unsigned rootWidth = 0, rootHeight = 0, border = 0, rootDepth = 0;
    if (!XGetGeometry(display_, root, &rootOfRoot, &rootX, &rootY, &rootWidth, &rootHeight, &border,
                      &rootDepth)) {
        return false;
    }
    const int width = static_cast<int>(rootWidth);
    const int height = static_cast<int>(rootHeight);
    // Keep the screen's dots per inch (those Xlib knows still hold, since every
    // resize keeps them); a server that knows no size gets 96.
    const auto Millimetres = [](int pixels, int knownPixels, int knownMm) {
        return knownMm > 0 && knownPixels > 0
                   ? static_cast<int>(std::lround(1.0 * pixels * knownMm / knownPixels))
                   : static_cast<int>(std::lround(pixels * 25.4 / 96));
    };
    const auto Resize = [&](int w, int h) {
        XRRSetScreenSize(
            display_, root, w, h,
            Millimetres(w, DisplayWidth(display_, screen), DisplayWidthMM(display_, screen)),
            Millimetres(h, DisplayHeight(display_, screen), DisplayHeightMM(display_, screen)));
    };

    // The CRTC must fit the screen at every step: grow first, shrink last.
    TErrorTrap trap(display_);
    XGrabServer(display_);
    const int roomWidth = std::max(width, boxWidth);
    const int roomHeight = std::max(height, boxHeight);
    if (roomWidth != width || roomHeight != height) {
        Resize(roomWidth, roomHeight);
    }
    const Status status =
        XRRSetCrtcConfig(display_, resources.get(), info->crtc, CurrentTime, crtc->x, crtc->y,
                         mode.Id, crtc->rotation, crtc->outputs, crtc->noutput);
    const bool switched = status == RRSetConfigSuccess && trap.Clean();
    if (switched && (boxWidth != roomWidth || boxHeight != roomHeight)) {
        Resize(boxWidth, boxHeight);
    } else if (!switched && (roomWidth != width || roomHeight != height)) {
        Resize(width, height);
    }
    XUngrabServer(display_);
    return trap.Clean() && switched;
}
