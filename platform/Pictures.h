#pragma once

#include <QPixmap>
#include <QString>

// Pictures compiled into the program as JPEG resources (":/pictures/A1.jpg"),
// decoded once by our libjpeg decoder and kept for the run. A picture that is
// missing or cannot be decoded gives a null pixmap and one clear message on
// stderr naming it; it never ends the program.
QPixmap LoadPicture(const QString& resourceName);

// Whether every picture asked for so far decoded; the message of the first failure.
bool PicturesAllDecoded(QString* firstFailure = nullptr);
