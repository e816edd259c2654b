#pragma once

#include <QImage>
#include <QPainter>
#include <QString>
#include <vector>

// One picture of the catalogue: its id (A1 ... M4), the image, and whether it
// is stored as a greyscale JPEG.
struct TArtwork {
    QString Id;
    QImage Image;
    bool Greyscale = false;
};

// Paints every picture the windows use at scale times its catalogue size (1 for
// ordinary screens, 2 for high-density ones), from the same drawing code.
std::vector<TArtwork> PaintCatalogue(int scale);

// The application icon is drawn in a frame of IconFrame x IconFrame units; a
// scaled painter draws it at any size from the same strokes.
constexpr qreal IconFrame = 32;

// How the icon's letter is drawn: as text for pictures, or as an outline where
// the reader may lack the font (a scalable drawing).
enum class TIconLetter { Text, Outline };

void DrawIcon(QPainter& painter, TIconLetter letter);
QImage PaintIcon(int size = 32);
