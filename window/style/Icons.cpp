#include "window/style/Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <numbers>
#include <functional>

namespace {

constexpr int kButtonImageWidth = 18;
constexpr int kButtonImageHeight = 16;

QPixmap Drawn(int width, int height, const std::function<void(QPainter&)>& draw) {
  QPixmap pixmap(width, height);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  draw(painter);
  return pixmap;
}

QIcon Themed(const char* name, const std::function<void(QPainter&)>& draw) {
  return QIcon::fromTheme(name, QIcon(Drawn(kButtonImageWidth, kButtonImageHeight, draw)));
}

// An arrow pointing left (direction -1) or right (+1) in an 18 x 16 image.
void Arrow(QPainter& painter, int direction) {
  const double mid = kButtonImageWidth / 2.0;
  const double d = direction;
  QPolygonF arrow;
  arrow << QPointF(mid + d * 7, 8) << QPointF(mid + d * 1, 2) << QPointF(mid + d * 1, 5.5)
        << QPointF(mid - d * 6, 5.5) << QPointF(mid - d * 6, 10.5) << QPointF(mid + d * 1, 10.5)
        << QPointF(mid + d * 1, 14);
  painter.setPen(QPen(QColor(20, 60, 130), 1));
  painter.setBrush(QColor(70, 130, 210));
  painter.drawPolygon(arrow);
}

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

// Photos around a circular arrow: the object turned by dragging.
void Logo(QPainter& painter, double size) {
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

}  // namespace

QIcon ApplicationIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64}) icon.addPixmap(LogoPixmap(size));
  return icon;
}

QPixmap LogoPixmap(int size) {
  return Drawn(size, size, [size](QPainter& painter) { Logo(painter, size); });
}

QIcon BuildIcon() {
  return Themed("system-run", [](QPainter& painter) {
    // A film strip with a play mark: the movie being made.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(60, 60, 60));
    painter.drawRect(QRectF(1, 2, 16, 12));
    painter.setBrush(Qt::white);
    for (int x = 2; x < 17; x += 3) {
      painter.drawRect(QRectF(x, 3, 1.5, 1.5));
      painter.drawRect(QRectF(x, 11.5, 1.5, 1.5));
    }
    painter.setBrush(QColor(240, 190, 40));
    painter.drawPolygon(QPolygonF() << QPointF(7, 5.5) << QPointF(12, 8) << QPointF(7, 10.5));
  });
}

QIcon DeleteIcon() {
  return Themed("edit-delete", [](QPainter& painter) {
    painter.setPen(QPen(QColor(200, 30, 30), 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(4, 3), QPointF(14, 13));
    painter.drawLine(QPointF(14, 3), QPointF(4, 13));
  });
}

QIcon PreviousIcon() {
  return Themed("go-previous", [](QPainter& painter) { Arrow(painter, -1); });
}

QIcon NextIcon() {
  return Themed("go-next", [](QPainter& painter) { Arrow(painter, +1); });
}

QIcon PreviewIcon() {
  return Themed("media-playback-start", [](QPainter& painter) {
    painter.setPen(QPen(QColor(20, 100, 40), 1));
    painter.setBrush(QColor(60, 170, 80));
    painter.drawPolygon(QPolygonF() << QPointF(5, 2) << QPointF(15, 8) << QPointF(5, 14));
  });
}
