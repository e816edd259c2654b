#include "Pictures.h"

#include "Jpeg.h"

#include <QFile>
#include <QHash>
#include <cstdio>

namespace {

QHash<QString, QPixmap>& Cache() {
    static QHash<QString, QPixmap> cache;
    return cache;
}

QString& FirstFailure() {
    static QString failure;
    return failure;
}

QPixmap Decode(const QString& resourceName) {
    QFile file(resourceName);
    if (!file.open(QIODevice::ReadOnly)) {
        throw EJpegError("no such picture resource");
    }
    return QPixmap::fromImage(DecodeJpeg(file.readAll()));
}

} // namespace

QPixmap LoadPicture(const QString& resourceName) {
    if (resourceName.isEmpty()) {
        return {};
    }
    auto cached = Cache().constFind(resourceName);
    if (cached != Cache().constEnd()) {
        return *cached;
    }
    QPixmap picture;
    try {
        picture = Decode(resourceName);
    } catch (const EJpegError& error) {
        const QString message = QStringLiteral("Lexipede: picture %1 cannot be shown: %2")
                                    .arg(resourceName, error.what());
        std::fprintf(stderr, "%s\n", qPrintable(message));
        if (FirstFailure().isEmpty()) {
            FirstFailure() = message;
        }
    }
    Cache().insert(resourceName, picture);
    return picture;
}

bool PicturesAllDecoded(QString* firstFailure) {
    if (firstFailure != nullptr) {
        *firstFailure = FirstFailure();
    }
    return FirstFailure().isEmpty();
}
