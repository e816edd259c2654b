#include "Pictures.h"

#include "Jpeg.h"

#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QImageReader>
#include <cstdio>
#include <stdexcept>

namespace {

struct TPictureKey {
    QString Name;
    bool Double = false;
    bool operator==(const TPictureKey&) const = default;
};

size_t qHash(const TPictureKey& key, size_t seed = 0) {
    return qHashMulti(seed, key.Name, key.Double);
}

QHash<TPictureKey, QPixmap>& Cache() {
    static QHash<TPictureKey, QPixmap> cache;
    return cache;
}

// Pixmap cache key to resource name, for every picture handed out.
QHash<qint64, QString>& Names() {
    static QHash<qint64, QString> names;
    return names;
}

QString& FirstFailure() {
    static QString failure;
    return failure;
}

QByteArray ReadResource(const QString& resourceName) {
    QFile file(resourceName);
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("no such picture resource");
    }
    return file.readAll();
}

// ":/pictures/A1.jpg" -> ":/pictures/A1@2x.png"
QString DoubleName(const QString& resourceName) {
    const qsizetype dot = resourceName.lastIndexOf(u'.');
    return (dot < 0 ? resourceName : resourceName.left(dot)) + QStringLiteral("@2x.png");
}

QPixmap Decode(const QString& resourceName, bool doubled) {
    if (!doubled) {
        return QPixmap::fromImage(DecodeJpeg(ReadResource(resourceName)));
    }
    QImage image = LoadPng(DoubleName(resourceName));
    if (image.isNull()) {
        throw std::runtime_error("its PNG data cannot be decoded");
    }
    image.setDevicePixelRatio(2);
    return QPixmap::fromImage(std::move(image));
}

QPixmap Load(const QString& resourceName, bool doubled) {
    const TPictureKey key{resourceName, doubled};
    auto cached = Cache().constFind(key);
    if (cached != Cache().constEnd()) {
        return *cached;
    }
    QPixmap picture;
    try {
        picture = Decode(resourceName, doubled);
    } catch (const std::runtime_error& error) { // EJpegError among them
        const QString shown = doubled ? DoubleName(resourceName) : resourceName;
        const QString message =
            QStringLiteral("Lexipede: picture %1 cannot be shown: %2").arg(shown, error.what());
        std::fprintf(stderr, "%s\n", qPrintable(message));
        if (FirstFailure().isEmpty()) {
            FirstFailure() = message;
        }
    }
    Cache().insert(key, picture);
    if (!picture.isNull()) {
        Names().insert(picture.cacheKey(), resourceName);
    }
    return picture;
}

} // namespace

QPixmap LoadPicture(const QString& resourceName, qreal devicePixelRatio) {
    if (resourceName.isEmpty()) {
        return {};
    }
    if (devicePixelRatio > 1) {
        const QPixmap doubled = Load(resourceName, true);
        if (!doubled.isNull()) {
            return doubled;
        }
    }
    return Load(resourceName, false);
}

QImage LoadPng(const QString& resourceName) {
    QImageReader reader(resourceName, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QIcon LoadPngIcon(const QString& resourceFolder) {
    QIcon icon;
    QDirIterator files(resourceFolder, {QStringLiteral("*.png")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QImage image = LoadPng(files.next());
        if (!image.isNull()) {
            icon.addPixmap(QPixmap::fromImage(image));
        }
    }
    return icon;
}

QString PictureResourceName(const QPixmap& picture) {
    return Names().value(picture.cacheKey());
}

bool PicturesAllDecoded(QString* firstFailure) {
    if (firstFailure != nullptr) {
        *firstFailure = FirstFailure();
    }
    return FirstFailure().isEmpty();
}
