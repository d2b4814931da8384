#include "window/style/Icons.h"

#include <QPainter>
#include <QPolygonF>
#include <functional>

#include "window/style/Logo.h"

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
  arrow << QPointF(mid + d * 7, 8) << QPointF(mid + d * 1, 2) << QPointF(mid + d * 1, 5.5) << QPointF(mid - d * 6, 5.5)
        << QPointF(mid - d * 6, 10.5) << QPointF(mid + d * 1, 10.5) << QPointF(mid + d * 1, 14);
  painter.setPen(QPen(QColor(20, 60, 130), 1));
  painter.setBrush(QColor(70, 130, 210));
  painter.drawPolygon(arrow);
}

}  // namespace

QIcon ApplicationIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64}) icon.addPixmap(LogoPixmap(size));
  return icon;
}

QPixmap LogoPixmap(int size) {
  return Drawn(size, size, [size](QPainter& painter) { PaintLogo(painter, size); });
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
