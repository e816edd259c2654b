#include "Mascot.h"

#include "Palette.h"

#include <QPainterPath>
#include <QRadialGradient>

namespace Mascot {

namespace {

void Ball(QPainter& painter, QPointF centre, qreal r, const QColor& light, const QColor& base,
          const QColor& rim) {
    QRadialGradient shade(centre - QPointF(r * 0.35, r * 0.4), r * 1.4);
    shade.setColorAt(0, light);
    shade.setColorAt(0.55, base);
    shade.setColorAt(1, rim);
    painter.setBrush(shade);
    painter.setPen(QPen(rim.darker(130), std::max<qreal>(1.0, r * 0.06)));
    painter.drawEllipse(centre, r, r);
}

} // namespace

void DrawHead(QPainter& painter, QPointF centre, qreal r, QPointF look) {
    painter.save();
    // Antennae, behind the head.
    painter.setPen(
        QPen(Palette::SkinDark, std::max<qreal>(1.5, r * 0.08), Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    for (int side : {-1, 1}) {
        QPainterPath stalk;
        const QPointF base = centre + QPointF(side * r * 0.35, -r * 0.8);
        const QPointF tip = centre + QPointF(side * r * 0.75, -r * 1.45);
        stalk.moveTo(base);
        stalk.quadTo(centre + QPointF(side * r * 0.3, -r * 1.35), tip);
        painter.drawPath(stalk);
        painter.setBrush(Palette::BookYellow);
        painter.setPen(QPen(Palette::SkinDark, std::max<qreal>(1.0, r * 0.05)));
        painter.drawEllipse(tip, r * 0.14, r * 0.14);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(
            QPen(Palette::SkinDark, std::max<qreal>(1.5, r * 0.08), Qt::SolidLine, Qt::RoundCap));
    }

    Ball(painter, centre, r, Palette::SkinLight, Palette::Skin, Palette::SkinDark);

    // Rosy cheeks.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xf2, 0x8c, 0x8c, 150));
    for (int side : {-1, 1}) {
        painter.drawEllipse(centre + QPointF(side * r * 0.62, r * 0.32), r * 0.17, r * 0.11);
    }

    // Round glasses with a bridge, and eyes that look where asked.
    const qreal lens = r * 0.34;
    const QPointF left = centre + QPointF(-r * 0.38, -r * 0.1);
    const QPointF right = centre + QPointF(r * 0.38, -r * 0.1);
    painter.setBrush(Qt::white);
    painter.setPen(QPen(Palette::Glasses, std::max<qreal>(1.5, r * 0.09)));
    painter.drawEllipse(left, lens, lens);
    painter.drawEllipse(right, lens, lens);
    painter.drawLine(left + QPointF(lens, 0), right - QPointF(lens, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::Glasses);
    const QPointF gaze(look.x() * lens * 0.35, look.y() * lens * 0.35);
    for (const QPointF& eye : {left, right}) {
        painter.drawEllipse(eye + gaze, lens * 0.42, lens * 0.42);
    }
    painter.setBrush(Qt::white);
    for (const QPointF& eye : {left, right}) {
        painter.drawEllipse(eye + gaze + QPointF(-lens * 0.15, -lens * 0.17), lens * 0.13,
                            lens * 0.13);
    }
    // A glint on the lenses.
    painter.setPen(QPen(QColor(255, 255, 255, 200), std::max<qreal>(1.0, r * 0.05), Qt::SolidLine,
                        Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    for (const QPointF& eye : {left, right}) {
        painter.drawArc(
            QRectF(eye.x() - lens * 0.75, eye.y() - lens * 0.75, lens * 1.5, lens * 1.5), 100 * 16,
            50 * 16);
    }

    // Smile.
    painter.setPen(
        QPen(Palette::Glasses, std::max<qreal>(1.5, r * 0.08), Qt::SolidLine, Qt::RoundCap));
    QPainterPath smile;
    smile.moveTo(centre + QPointF(-r * 0.3, r * 0.42));
    smile.quadTo(centre + QPointF(0, r * 0.72), centre + QPointF(r * 0.3, r * 0.42));
    painter.drawPath(smile);
    painter.restore();
}

void DrawBody(QPainter& painter, const std::vector<QPointF>& segments, qreal r) {
    painter.save();
    painter.setPen(
        QPen(Palette::SkinDark, std::max<qreal>(1.5, r * 0.18), Qt::SolidLine, Qt::RoundCap));
    for (const QPointF& segment : segments) {
        painter.drawLine(segment + QPointF(-r * 0.5, r * 0.6),
                         segment + QPointF(-r * 0.8, r * 1.15));
        painter.drawLine(segment + QPointF(r * 0.5, r * 0.6), segment + QPointF(r * 0.8, r * 1.15));
    }
    for (const QPointF& segment : segments) {
        Ball(painter, segment, r, Palette::SkinLight, Palette::Skin, Palette::SkinDark);
    }
    painter.restore();
}

void DrawClosedBook(QPainter& painter, const QRectF& rect, const QColor& cover) {
    painter.save();
    painter.setPen(QPen(cover.darker(160), 1.5));
    painter.setBrush(Palette::Paper);
    painter.drawRoundedRect(rect.adjusted(4, 0, 0, 0), 3, 3);
    // Page edges.
    painter.setPen(QPen(QColor(0xd8, 0xcf, 0xb0), 1));
    for (qreal y = rect.top() + 4; y < rect.bottom() - 3; y += 3) {
        painter.drawLine(QPointF(rect.left() + 8, y), QPointF(rect.right() - 2, y));
    }
    painter.setPen(QPen(cover.darker(160), 1.5));
    painter.setBrush(cover);
    painter.drawRoundedRect(QRectF(rect.left(), rect.top(), rect.width() * 0.2, rect.height()), 3,
                            3);
    painter.drawRect(QRectF(rect.left(), rect.top(), rect.width() - 2, rect.height() * 0.18));
    painter.drawRect(QRectF(rect.left(), rect.bottom() - rect.height() * 0.18, rect.width() - 2,
                            rect.height() * 0.18));
    painter.restore();
}

void DrawStandingBook(QPainter& painter, const QRectF& rect, const QColor& cover) {
    painter.save();
    painter.setPen(QPen(cover.darker(160), 1.5));
    QLinearGradient shade(rect.topLeft(), rect.topRight());
    shade.setColorAt(0, cover.lighter(125));
    shade.setColorAt(1, cover);
    painter.setBrush(shade);
    painter.drawRoundedRect(rect, 3, 3);
    painter.setPen(QPen(Palette::BookYellow, 2));
    for (qreal f : {0.18, 0.82}) {
        const qreal y = rect.top() + rect.height() * f;
        painter.drawLine(QPointF(rect.left() + 3, y), QPointF(rect.right() - 3, y));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::Paper);
    painter.drawRect(QRectF(rect.center().x() - rect.width() * 0.25,
                            rect.top() + rect.height() * 0.38, rect.width() * 0.5,
                            rect.height() * 0.16));
    painter.restore();
}

void DrawOpenBook(QPainter& painter, const QRectF& rect, const QColor& cover) {
    painter.save();
    painter.setPen(QPen(cover.darker(150), 1.5));
    painter.setBrush(cover);
    painter.drawRoundedRect(rect, 4, 4);
    const QRectF pages = rect.adjusted(4, 3, -4, -5);
    painter.setPen(QPen(QColor(0xc9, 0xbf, 0x9c), 1));
    painter.setBrush(Palette::Paper);
    QPainterPath leftPage;
    leftPage.moveTo(pages.center().x(), pages.top() + 4);
    leftPage.quadTo(pages.left() + pages.width() * 0.25, pages.top() - 2, pages.left(),
                    pages.top() + 2);
    leftPage.lineTo(pages.left(), pages.bottom());
    leftPage.quadTo(pages.left() + pages.width() * 0.25, pages.bottom() - 4, pages.center().x(),
                    pages.bottom());
    leftPage.closeSubpath();
    painter.drawPath(leftPage);
    QTransform mirror;
    mirror.translate(pages.center().x() * 2, 0);
    mirror.scale(-1, 1);
    painter.drawPath(mirror.map(leftPage));
    // Lines of text.
    painter.setPen(QPen(QColor(0x9a, 0x9a, 0xa8), 1));
    for (qreal y = pages.top() + 8; y < pages.bottom() - 4; y += 5) {
        painter.drawLine(QPointF(pages.left() + 5, y), QPointF(pages.center().x() - 5, y));
        painter.drawLine(QPointF(pages.center().x() + 5, y), QPointF(pages.right() - 5, y));
    }
    painter.restore();
}

} // namespace Mascot
