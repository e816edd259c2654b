#pragma once

#include <QImage>
#include <QString>
#include <vector>

// One picture of the catalogue: its id (A1 ... M4), the image, and whether it
// is stored as a greyscale JPEG.
struct TArtwork {
    QString Id;
    QImage Image;
    bool Greyscale = false;
};

// Paints every picture the windows use, each at its catalogue size.
std::vector<TArtwork> PaintCatalogue();
QImage PaintIcon();
