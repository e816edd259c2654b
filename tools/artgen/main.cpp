// artgen OUTDIR: paints the game's pictures and writes them into OUTDIR as JPEG
// files (A1.jpg ... M4.jpg), at twice the size for high-density screens as PNG
// files (A1@2x.png ... M4@2x.png), and the application icon (icon.png).
//
// The large pictures are PNG because the art is flat colour, gradients and
// type: lossless it packs smaller than the same pictures as JPEG at quality 92,
// and its edges and letters stay free of JPEG ringing.
// artgen --icons OUTDIR SIZE...: writes the icon for the desktop's icon theme,
// OUTDIR/<SIZE>x<SIZE>/apps/lexipede.png for each size and
// OUTDIR/scalable/apps/lexipede.svg.

#include "Artwork.h"
#include "platform/Jpeg.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSvgGenerator>
#include <cstdio>

namespace {

constexpr int MostCompressed = 0; // Qt's PNG writer: quality 0 is zlib level 9

bool MakeFolder(const QString& path) {
    if (QDir().mkpath(path)) {
        return true;
    }
    std::fprintf(stderr, "artgen: cannot create %s\n", qPrintable(path));
    return false;
}

bool WriteScalableIcon(const QString& path) {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(static_cast<int>(IconFrame), static_cast<int>(IconFrame)));
    svg.setViewBox(QRectF(0, 0, IconFrame, IconFrame));
    svg.setTitle(QStringLiteral("Lexipede"));
    QPainter painter;
    if (!painter.begin(&svg)) {
        return false;
    }
    DrawIcon(painter, TIconLetter::Outline);
    return painter.end();
}

int WriteThemeIcons(const QDir& out, const QStringList& sizes) {
    for (const QString& text : sizes) {
        bool isNumber = false;
        const int size = text.toInt(&isNumber);
        if (!isNumber || size < 1 || size > 1024) {
            std::fprintf(stderr, "artgen: %s is not an icon size\n", qPrintable(text));
            return 2;
        }
        const QString folder = out.filePath(QStringLiteral("%1x%1/apps").arg(size));
        if (!MakeFolder(folder) ||
            !PaintIcon(size).save(folder + QStringLiteral("/lexipede.png"), "PNG")) {
            std::fprintf(stderr, "artgen: cannot write the %d-pixel icon\n", size);
            return 1;
        }
    }
    const QString scalable = out.filePath(QStringLiteral("scalable/apps"));
    if (!MakeFolder(scalable) || !WriteScalableIcon(scalable + QStringLiteral("/lexipede.svg"))) {
        std::fprintf(stderr, "artgen: cannot write the scalable icon\n");
        return 1;
    }
    return 0;
}

int WritePictures(const QDir& out) {
    if (!MakeFolder(out.path())) {
        return 1;
    }
    try {
        for (const TArtwork& art : PaintCatalogue(1)) {
            QFile file(out.filePath(art.Id + ".jpg"));
            if (!file.open(QIODevice::WriteOnly) ||
                file.write(EncodeJpeg(art.Image, 92, art.Greyscale)) < 0) {
                std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(file.fileName()));
                return 1;
            }
        }
    } catch (const EJpegError& error) {
        std::fprintf(stderr, "artgen: %s\n", error.what());
        return 1;
    }
    for (const TArtwork& art : PaintCatalogue(2)) {
        const QImage image =
            art.Greyscale ? art.Image.convertToFormat(QImage::Format_Grayscale8) : art.Image;
        const QString name = out.filePath(art.Id + "@2x.png");
        if (!image.save(name, "PNG", MostCompressed)) {
            std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(name));
            return 1;
        }
    }
    if (!PaintIcon().save(out.filePath("icon.png"), "PNG")) {
        std::fprintf(stderr, "artgen: cannot write the icon\n");
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() >= 3 && args[0] == QStringLiteral("--icons")) {
        return WriteThemeIcons(QDir(args[1]), args.mid(2));
    }
    if (args.size() == 1 && !args[0].startsWith(QStringLiteral("--"))) {
        return WritePictures(QDir(args[0]));
    }
    std::fprintf(stderr, "usage: artgen OUTDIR\n       artgen --icons OUTDIR SIZE...\n");
    return 2;
}
