#pragma once
// Move-to/line-to drawing of horizontal and vertical lines with exact pixels.
// A 1-pixel segment covers its start point and leaves out its end point, so a
// path of segments sets every pixel once and the colour of a corner is that
// of the segment that starts there. A wider pen covers its width centred on
// the path, both ends included, so a closed path makes a solid ring.
//
// QPainter's own cosmetic lines include both end points (a flat cap drops the
// last pixel in the positive direction instead), which is why the segments
// are filled as rectangles here.

#include <QColor>
#include <QPainter>
#include <QPoint>

class CanvasPen {
 public:
  explicit CanvasPen(QPainter& painter) : painter_(painter) {}

  void SetColor(const QColor& colour) { colour_ = colour; }
  void SetWidth(int width) { width_ = width; }

  void MoveTo(int x, int y) { at_ = QPoint(x, y); }
  // The segment must be horizontal or vertical.
  void LineTo(int x, int y);

 private:
  QPainter& painter_;
  QColor colour_ = Qt::black;
  int width_ = 1;
  QPoint at_;
};
