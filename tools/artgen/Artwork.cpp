#include "Artwork.h"

#include "Mascot.h"
#include "Palette.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

// A picture of width x height logical pixels, scale device pixels to each: the
// painter draws in logical pixels whatever the scale, so every scale comes from
// the same drawing code.
QImage Canvas(int scale, int width, int height, const QColor& fill = Palette::Field) {
    QImage image(width * scale, height * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(fill);
    return image;
}

void Antialias(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
}

QFont CaptionFont(int pixels) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setPixelSize(pixels);
    return font;
}

// A white field inside a dark green bevelled frame, its corners rounded. The
// field is plain white from 6 pixels in, so pictures placed at 8, 8 sit on it
// without a seam.
QImage FramedPanel(int scale, int width, int height) {
    QImage image = Canvas(scale, width, height, Palette::Frame);
    QPainter painter(&image);
    Antialias(painter);
    const QRectF outer(0.5, 0.5, width - 1, height - 1);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::FrameLight);
    painter.drawRoundedRect(outer.adjusted(1.5, 1.5, -1.5, -1.5), 12, 12);
    painter.setBrush(Palette::Frame);
    painter.drawRoundedRect(outer.adjusted(3, 3, -3, -3), 11, 11);
    painter.setBrush(Palette::Lime);
    painter.drawRoundedRect(outer.adjusted(4.5, 4.5, -4.5, -4.5), 10, 10);
    painter.setBrush(Palette::Field);
    painter.drawRoundedRect(outer.adjusted(6, 6, -6, -6), 9, 9);
    return image;
}

// A lime green rounded button, 105 x 38, its caption in black bold type; the
// greyed variant is paler with a lighter caption. behind is the colour the
// button stands on, which shows at its rounded corners.
QImage Button(int scale, const QString& caption, bool greyed, const QColor& behind) {
    QImage image = Canvas(scale, 105, 38, behind);
    QPainter painter(&image);
    Antialias(painter);
    const QRectF body(2.5, 2.5, 100, 32);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, greyed ? 18 : 45));
    painter.drawRoundedRect(body.translated(0, 1.5), 11, 11);
    if (greyed) {
        painter.setBrush(Palette::LimeGreyed);
    } else {
        QLinearGradient shine(body.topLeft(), body.bottomLeft());
        shine.setColorAt(0, Palette::LimeLight);
        shine.setColorAt(0.5, Palette::Lime);
        shine.setColorAt(1, Palette::BandDeep);
        painter.setBrush(shine);
    }
    painter.setPen(QPen(greyed ? Palette::CaptionGreyed.lighter(115) : Palette::Frame, 1.4));
    painter.drawRoundedRect(body, 11, 11);
    if (!greyed) {
        painter.setPen(QPen(QColor(255, 255, 255, 140), 1.2));
        painter.drawLine(QPointF(body.left() + 11, body.top() + 2.5),
                         QPointF(body.right() - 11, body.top() + 2.5));
    }
    painter.setFont(CaptionFont(15));
    painter.setPen(greyed ? Palette::CaptionGreyed : Palette::Caption);
    painter.drawText(body.translated(0, -0.5), Qt::AlignCenter, caption);
    return image;
}

// A blank die: white with a light grey rounded outline, shaded grey along its
// left and bottom edges.
QImage Die(int scale) {
    QImage image = Canvas(scale, 47, 47);
    QPainter painter(&image);
    Antialias(painter);
    const QRectF face(1.5, 1.5, 44, 44);
    QPainterPath outline;
    outline.addRoundedRect(face, 7, 7);
    painter.fillPath(outline, QColor(0xf4, 0xf4, 0xf4));
    painter.setClipPath(outline);
    QLinearGradient left(face.topLeft(), face.topLeft() + QPointF(9, 0));
    left.setColorAt(0, QColor(0xb8, 0xb8, 0xb8));
    left.setColorAt(1, QColor(0xb8, 0xb8, 0xb8, 0));
    painter.fillRect(face, left);
    QLinearGradient bottom(face.bottomLeft(), face.bottomLeft() - QPointF(0, 9));
    bottom.setColorAt(0, QColor(0xa8, 0xa8, 0xa8));
    bottom.setColorAt(1, QColor(0xa8, 0xa8, 0xa8, 0));
    painter.fillRect(face, bottom);
    painter.setClipping(false);
    painter.setPen(QPen(QColor(0xb0, 0xb0, 0xb0), 1.3));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(outline);
    return image;
}

QImage BonusDie(int scale) {
    QImage image = Canvas(scale, 47, 47);
    QPainter painter(&image);
    Antialias(painter);
    QLinearGradient green(0, 0, 0, 47);
    green.setColorAt(0, Palette::Lime);
    green.setColorAt(1, Palette::SkinDark);
    painter.setBrush(green);
    painter.setPen(QPen(Palette::Frame, 1.3));
    painter.drawRoundedRect(QRectF(1.5, 1.5, 44, 44), 7, 7);
    return image;
}

// The main window: a dark green frame around a lime band along the top and the
// right side, a white playing field, the minimize mark at the top right and Lexi
// in the bottom right corner.
QImage MainBackground(int scale) {
    QImage image = Canvas(scale, 686, 392, Palette::Frame);
    QPainter painter(&image);
    Antialias(painter);
    // The band is one flat colour: the buttons on it carry that colour at their corners.
    const QRectF inside(5, 5, 676, 382);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::Band);
    painter.drawRoundedRect(inside, 12, 12);

    // Slots on the band behind the word, the clock and the score.
    painter.setBrush(QColor(255, 255, 255, 120));
    painter.setPen(QPen(QColor(255, 255, 255, 190), 1));
    painter.drawRoundedRect(QRectF(26, 18, 208, 34), 9, 9);
    painter.drawRoundedRect(QRectF(248, 18, 144, 34), 9, 9);
    painter.drawRoundedRect(QRectF(414, 18, 116, 34), 9, 9);

    // The playing field.
    painter.setPen(QPen(Palette::Frame, 2));
    painter.setBrush(Palette::Field);
    painter.drawRoundedRect(QRectF(14, 62, 522, 320), 10, 10);
    painter.setPen(QPen(Palette::LimeLight, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(23, 69, 250, 248), 8, 8);
    painter.drawRoundedRect(QRectF(282, 69, 245, 247), 8, 8);

    // The minimize mark under the transparent label at 613, 28 (42 x 17).
    painter.setPen(QPen(Palette::Frame, 1.2));
    painter.setBrush(Palette::LimeLight);
    painter.drawRoundedRect(QRectF(614.5, 28.5, 40, 16), 6, 6);
    painter.setPen(QPen(Palette::Frame, 2.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(626, 39.5), QPointF(643, 39.5));

    // The game's name above the buttons.
    painter.setFont(CaptionFont(17));
    painter.setPen(Palette::Frame);
    painter.drawText(QRectF(546, 22, 64, 26), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Lexi"));

    // Lexi peeking out of the bottom right corner.
    painter.setClipRect(QRectF(538, 312, 143, 75));
    Mascot::DrawBody(painter, {{668, 384}, {650, 378}, {634, 376}}, 9);
    Mascot::DrawHead(painter, {606, 360}, 21, {-0.6, 0.2});
    painter.setClipping(false);
    return image;
}

QImage HeadPicture(int scale) {
    QImage image = Canvas(scale, 84, 84);
    QPainter painter(&image);
    Antialias(painter);
    Mascot::DrawBody(painter, {{66, 74}, {54, 71}}, 7);
    Mascot::DrawHead(painter, {40, 48}, 26, {0.3, 0.1});
    return image;
}

QImage PeeringPastBook(int scale) {
    QImage image = Canvas(scale, 75, 75);
    QPainter painter(&image);
    Antialias(painter);
    Mascot::DrawHead(painter, {44, 40}, 19, {-0.9, 0});
    Mascot::DrawStandingBook(painter, QRectF(8, 8, 30, 62), Palette::BookBlue);
    return image;
}

QImage ReadingBook(int scale) {
    QImage image = Canvas(scale, 120, 120);
    QPainter painter(&image);
    Antialias(painter);
    Mascot::DrawBody(painter, {{104, 104}, {92, 100}, {82, 92}}, 8);
    Mascot::DrawHead(painter, {60, 46}, 27, {0, 0.8});
    Mascot::DrawOpenBook(painter, QRectF(16, 74, 80, 36), Palette::BookRed);
    return image;
}

QImage PerchedOnBook(int scale) {
    QImage image = Canvas(scale, 120, 90);
    QPainter painter(&image);
    Antialias(painter);
    Mascot::DrawClosedBook(painter, QRectF(8, 60, 104, 24), Palette::BookRed);
    Mascot::DrawBody(painter, {{22, 50}, {34, 50}, {46, 49}, {58, 47}}, 7);
    Mascot::DrawHead(painter, {78, 33}, 21, {0.4, 0.2});
    return image;
}

QImage HoldingBooks(int scale) {
    QImage image = Canvas(scale, 120, 120);
    QPainter painter(&image);
    Antialias(painter);
    Mascot::DrawBody(painter, {{100, 108}, {92, 96}}, 8);
    Mascot::DrawHead(painter, {60, 40}, 25, {0, 0.2});
    Mascot::DrawClosedBook(painter, QRectF(28, 92, 66, 18), Palette::BookBlue);
    Mascot::DrawClosedBook(painter, QRectF(32, 73, 58, 18), Palette::BookYellow);
    // Two little hands holding the stack.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Palette::SkinDark, 1.2));
    painter.setBrush(Palette::Skin);
    painter.drawEllipse(QPointF(30, 84), 6, 6);
    painter.drawEllipse(QPointF(92, 84), 6, 6);
    return image;
}

} // namespace

std::vector<TArtwork> PaintCatalogue(int scale) {
    const QColor white = Palette::Field;
    const QColor band = Palette::Band;
    return {
        {"A1", MainBackground(scale)},
        {"A2", Die(scale), true},
        {"A3", BonusDie(scale)},
        {"A4", HeadPicture(scale)},
        {"A5", FramedPanel(scale, 330, 180)},
        {"A6", FramedPanel(scale, 334, 404)},
        {"A7", FramedPanel(scale, 430, 408)},
        {"A8", FramedPanel(scale, 382, 96)},
        {"B1", Button(scale, "OK", false, white)},
        {"B2", Button(scale, "New Game", false, band)},
        {"B3", Button(scale, "Pause", false, band)},
        {"B4", Button(scale, "Continue", false, band)},
        {"B5", Button(scale, "Add Word", false, white)},
        {"B6", Button(scale, "Add Word", true, white)},
        {"B7", Button(scale, "Back Space", false, white)},
        {"B8", Button(scale, "Back Space", true, white)},
        {"B9", Button(scale, "Help", false, band)},
        {"B10", Button(scale, "About", false, band)},
        {"B11", Button(scale, "Sound", false, band)},
        {"B12", Button(scale, "Sound", true, band)},
        {"B13", Button(scale, "Scores", false, band)},
        {"B14", Button(scale, "Quit", false, band)},
        {"B15", Button(scale, "On", false, white)},
        {"B16", Button(scale, "Off", false, white)},
        {"B17", Button(scale, "Apply", false, white)},
        {"M1", PeeringPastBook(scale)},
        {"M2", ReadingBook(scale)},
        {"M3", PerchedOnBook(scale)},
        {"M4", HoldingBooks(scale)},
    };
}

void DrawIcon(QPainter& painter, TIconLetter letter) {
    Antialias(painter);
    painter.setPen(QPen(Palette::Frame, 1.5));
    painter.setBrush(Palette::Lime);
    painter.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 6, 6);
    const QFont font = CaptionFont(22);
    if (letter == TIconLetter::Text) {
        painter.setFont(font);
        painter.setPen(Palette::Caption);
        painter.drawText(QRectF(0, 0, IconFrame, IconFrame), Qt::AlignCenter, QStringLiteral("L"));
        return;
    }
    // Centred as the text is: the advance box horizontally, the font's line box vertically.
    const QFontMetricsF metrics(font);
    const QString text = QStringLiteral("L");
    QPainterPath outline;
    outline.addText((IconFrame - metrics.horizontalAdvance(text)) / 2,
                    (IconFrame - metrics.height()) / 2 + metrics.ascent(), font, text);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::Caption);
    painter.drawPath(outline);
}

QImage PaintIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.scale(size / IconFrame, size / IconFrame);
    DrawIcon(painter, TIconLetter::Text);
    return image;
}
