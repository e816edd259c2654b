#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>

// Pictures compiled into the program as JPEG resources (":/pictures/A1.jpg"),
// decoded once by our libjpeg decoder and kept for the run. A picture that is
// missing or cannot be decoded gives a null pixmap and one clear message on
// stderr naming it; it never ends the program.
//
// Every picture also comes painted at twice its size for high-density screens,
// as a lossless PNG beside it (":/pictures/A1@2x.png"). For a device pixel ratio
// above 1 that one is given, marked with a device pixel ratio of 2 so that it
// draws at the picture's own logical size: on a screen scaled by 2 pixel for
// pixel, on one scaled by 1.25 or 1.5 scaled down, never a 1x picture blown up.
QPixmap LoadPicture(const QString& resourceName, qreal devicePixelRatio = 1);

// The resource name a pixmap given by LoadPicture was loaded by; empty for any
// other pixmap. Lets a copy of a picture be loaded again for another screen.
QString PictureResourceName(const QPixmap& picture);

// A PNG resource decoded by the toolkit's own PNG reader, and nothing else:
// left to guess, the toolkit asks every image plugin whether it can read the
// data, which loads them all (2 ms at start-up). Null when it cannot be read.
QImage LoadPng(const QString& resourceName);

// Every PNG under a resource folder, in every subfolder, decoded as LoadPng
// does and offered as one icon in all their sizes.
QIcon LoadPngIcon(const QString& resourceFolder);

// Whether every picture asked for so far decoded; the message of the first failure.
bool PicturesAllDecoded(QString* firstFailure = nullptr);
