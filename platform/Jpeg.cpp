#include "Jpeg.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <jpeglib.h>
#include <memory>

namespace {

// libjpeg reports through this manager; we jump back out of the library
// instead of letting it call exit().
struct TErrorManager {
    jpeg_error_mgr Base{};
    std::jmp_buf Escape{};
    char Message[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] void OnError(j_common_ptr info) {
    auto* manager = reinterpret_cast<TErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->Message);
    std::longjmp(manager->Escape, 1);
}

// Level -1 is a warning about damaged data ("premature end of data", "corrupt
// data"): a picture with missing parts is a failure for us, not a smudge.
void OnMessage(j_common_ptr info, int level) {
    if (level < 0) {
        OnError(info);
    }
}

void InstallErrorManager(j_common_ptr info, TErrorManager& manager) {
    info->err = jpeg_std_error(&manager.Base);
    manager.Base.error_exit = OnError;
    manager.Base.emit_message = OnMessage;
}

// The libjpeg calls live in these two helpers, whose only locals are set before
// setjmp; what they produce is written through references into the caller's
// frame, so nothing indeterminate survives a jump back.
bool Decode(const QByteArray& data, QImage& image, TErrorManager& manager) {
    jpeg_decompress_struct info{};
    InstallErrorManager(reinterpret_cast<j_common_ptr>(&info), manager);
    if (setjmp(manager.Escape) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    // The header alone may declare billions of pixels; a picture larger than
    // any window is refused before anything is reserved for it.
    if (info.image_width > MaxPictureSide || info.image_height > MaxPictureSide ||
        std::uint64_t{info.image_width} * info.image_height > MaxPicturePixels) {
        std::snprintf(manager.Message, sizeof manager.Message,
                      "picture of %u x %u pixels is larger than allowed", info.image_width,
                      info.image_height);
        jpeg_destroy_decompress(&info);
        return false;
    }
    // Qt's native 32-bit layout, so the picture needs no conversion for the screen.
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                   QImage::Format_RGB32);
    if (image.isNull()) {
        std::snprintf(manager.Message, sizeof manager.Message, "picture too large");
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

struct TEncoded {
    unsigned char* Buffer = nullptr;
    unsigned long Size = 0;
    ~TEncoded() { std::free(Buffer); }
};

bool Encode(const QImage& image, int quality, bool greyscale, TEncoded& out,
            TErrorManager& manager) {
    jpeg_compress_struct info{};
    InstallErrorManager(reinterpret_cast<j_common_ptr>(&info), manager);
    if (setjmp(manager.Escape) != 0) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &out.Buffer, &out.Size);
    info.image_width = static_cast<JDIMENSION>(image.width());
    info.image_height = static_cast<JDIMENSION>(image.height());
    info.input_components = greyscale ? 1 : 3;
    info.in_color_space = greyscale ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    // Full-resolution colour keeps the thin lines of captions and frames crisp.
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto* row = const_cast<JSAMPROW>(image.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

QImage DecodeJpeg(const QByteArray& data) {
    if (data.isEmpty()) {
        throw EJpegError("no picture data");
    }
    QImage image;
    TErrorManager manager;
    if (!Decode(data, image, manager)) {
        throw EJpegError(manager.Message);
    }
    return image;
}

QByteArray EncodeJpeg(const QImage& source, int quality, bool greyscale) {
    const QImage image =
        source.convertToFormat(greyscale ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    TEncoded encoded;
    TErrorManager manager;
    if (!Encode(image, quality, greyscale, encoded, manager)) {
        throw EJpegError(manager.Message);
    }
    return QByteArray(reinterpret_cast<const char*>(encoded.Buffer),
                      static_cast<qsizetype>(encoded.Size));
}
