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

// Decodes JPEG data with libjpeg into an RGB image. Any libjpeg error, and any
// warning (corrupt or truncated data included), raises EJpegError: libjpeg's
// own handler would end the process instead.
QImage DecodeJpeg(const QByteArray& data);

// Encodes an image as a baseline JPEG (greyscale when asked) at the given quality.
QByteArray EncodeJpeg(const QImage& image, int quality, bool greyscale = false);
