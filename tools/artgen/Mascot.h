#pragma once

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <vector>

// Lexi, the game's mascot: a friendly green centipede with round glasses.
namespace Mascot {

// The head, centred at centre with radius r; look shifts the pupils (-1 left ... 1 right, down >
// 0).
void DrawHead(QPainter& painter, QPointF centre, qreal r, QPointF look = {0, 0});
// Body segments from tail to neck, each with a pair of little legs.
void DrawBody(QPainter& painter, const std::vector<QPointF>& segments, qreal r);
void DrawClosedBook(QPainter& painter, const QRectF& rect, const QColor& cover);
void DrawStandingBook(QPainter& painter, const QRectF& rect, const QColor& cover);
void DrawOpenBook(QPainter& painter, const QRectF& rect, const QColor& cover);

} // namespace Mascot
