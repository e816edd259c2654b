// Decoding any bytes as a picture: a bad one raises EJpegError, nothing else.

#include "platform/Jpeg.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const QImage image = DecodeJpeg(
            QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
        if (image.isNull()) {
            __builtin_trap(); // a decoded picture is never an empty one
        }
    } catch (const EJpegError&) {
    }
    return 0;
}
