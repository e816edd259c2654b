#include "DiePainter.h"

#include "game/utility.h"
#include "platform/widgets/TDrawGrid.h"

void SetDieFaceAttributes(TCanvas& canvas) {
    // "Arial" bold 18 points: 24 pixels at 96 dots per inch.
    canvas.Font = QFont(QStringLiteral("Liberation Sans"));
    canvas.Font.setBold(true);
    canvas.Font.setPixelSize(24);
    canvas.FontColor = Qt::black;
}

void PaintDie(TCanvas& canvas, const QRect& cell, const QPixmap& diePicture, const QString& face) {
    canvas.Draw(cell.left(), cell.top(), diePicture);
    const TTextOffset offset = LetterOffset(face.toStdString());
    canvas.TextOut(cell.left() + offset.X, cell.top() + offset.Y, face);
}
