#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <stdexcept>

// A picture that cannot be decoded or encoded. The message says why.
class EJpegError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The largest picture decoded: a side of 8192 pixels and 16 Mi pixels in all
// (64 MB decoded), far beyond any window of the game.
inline constexpr unsigned MaxPictureSide = 8192;
inline constexpr unsigned long long MaxPicturePixels = 16ull * 1024 * 1024;

// Decodes JPEG data with libjpeg into an RGB image. A picture beyond the limits
// above is refused from its header, before anything is allocated for it. Any
// libjpeg error, and any warning (corrupt or truncated data included), raises
// EJpegError: libjpeg's own handler would end the process instead.
QImage DecodeJpeg(const QByteArray& data);

// Encodes an image as a baseline JPEG (greyscale when asked) at the given quality.
QByteArray EncodeJpeg(const QImage& image, int quality, bool greyscale = false);
