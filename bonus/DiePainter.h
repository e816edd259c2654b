#pragma once

#include <QRect>
#include <QString>

class QPixmap;
class TCanvas;

// The letter dice of the main board and of the bonus round, drawn on a grid's
// canvas where the game's text offsets place their faces.

// Face text: no background, "Arial" bold 18 points.
void SetDieFaceAttributes(TCanvas& canvas);

// The empty die picture at the cell's top-left corner, and the face on it where
// LetterOffset places it.
void PaintDie(TCanvas& canvas, const QRect& cell, const QPixmap& diePicture, const QString& face);
