#include "window/strip/CellMark.h"

#include <QPainterPath>
#include <QPolygonF>

namespace {

// Inside the picture, clear of the cell's number on the left and of the
// placeholder's pattern below.
constexpr int kSize = 18;
constexpr int kRight = 145;
constexpr int kTop = 10;

}  // namespace

void DrawCellMark(QPainter& painter, int x0, CellMark mark) {
  if (mark == CellMark::None) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF box(x0 + kRight - kSize, kTop, kSize, kSize);
  QColor ink;
  if (mark == CellMark::Refused) {
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(QColor(220, 0, 0));
    painter.drawEllipse(box);
    ink = Qt::white;
  } else {
    const QPolygonF triangle({QPointF(box.center().x(), box.top()), box.bottomRight(), box.bottomLeft()});
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(QColor(255, 190, 0));
    painter.drawPolygon(triangle);
    ink = Qt::black;
  }
  // The exclamation mark: a bar and a dot.
  painter.setPen(Qt::NoPen);
  painter.setBrush(ink);
  const qreal middle = box.center().x();
  painter.drawRect(QRectF(middle - 1, box.top() + 4, 2, 7));
  painter.drawRect(QRectF(middle - 1, box.top() + 13, 2, 2));
  painter.restore();
}
