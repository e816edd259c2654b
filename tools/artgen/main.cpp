// artgen OUTDIR: paints the game's pictures and writes them as JPEG files
// (A1.jpg ... M4.jpg) and the application icon (icon.png) into OUTDIR.

#include "Artwork.h"
#include "platform/Jpeg.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: artgen OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "artgen: cannot create %s\n", argv[1]);
        return 1;
    }
    try {
        for (const TArtwork& art : PaintCatalogue()) {
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
    if (!PaintIcon().save(out.filePath("icon.png"), "PNG")) {
        std::fprintf(stderr, "artgen: cannot write the icon\n");
        return 1;
    }
    return 0;
}
