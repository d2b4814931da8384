#include "window/style/Logo.h"

#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <numbers>

namespace {

// One photo: a white card with a sky and a hill.
void Photo(QPainter& painter, const QRectF& card) {
  painter.setPen(QPen(QColor(90, 90, 90), card.width() / 14));
  painter.setBrush(Qt::white);
  painter.drawRect(card);
  const QRectF inner = card.adjusted(card.width() / 8, card.height() / 8, -card.width() / 8, -card.height() / 8);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(120, 180, 235));
  painter.drawRect(inner);
  QPainterPath hill;
  hill.moveTo(inner.bottomLeft());
  hill.quadTo(inner.center() + QPointF(0, -inner.height() / 4), inner.bottomRight());
  hill.closeSubpath();
  painter.setBrush(QColor(70, 150, 70));
  painter.drawPath(hill);
}

}  // namespace

void PaintLogo(QPainter& painter, double size) {
  const QPointF centre(size / 2, size / 2);
  const double radius = size * 0.36;
  painter.setPen(QPen(QColor(200, 60, 30), size / 16, Qt::SolidLine, Qt::RoundCap));
  painter.setBrush(Qt::NoBrush);
  const QRectF ring(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
  painter.drawArc(ring, 30 * 16, 300 * 16);
  // The arrowhead at the arc's end, pointing along the turn.
  const double end = 30.0 * std::numbers::pi / 180.0;
  const QPointF tip = centre + QPointF(radius * std::cos(end), -radius * std::sin(end));
  const double head = size / 7;
  QPolygonF arrowhead;
  arrowhead << tip + QPointF(-head * 0.9, -head * 0.2) << tip + QPointF(head * 0.3, -head * 0.9)
            << tip + QPointF(head * 0.35, head * 0.45);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(200, 60, 30));
  painter.drawPolygon(arrowhead);
  const double card = size * 0.42;
  Photo(painter, QRectF(centre.x() - card / 2, centre.y() - card * 0.4, card, card * 0.8));
}
