#include "window/strip/CanvasPen.h"

#include <QRect>
#include <algorithm>

void CanvasPen::LineTo(int x, int y) {
  const QPoint to(x, y);
  Q_ASSERT(to.x() == at_.x() || to.y() == at_.y());
  QRect covered;
  if (width_ <= 1) {
    // Step back from the end point by one pixel towards the start.
    const QPoint step((to.x() > at_.x()) - (to.x() < at_.x()), (to.y() > at_.y()) - (to.y() < at_.y()));
    if (step.isNull()) {
      at_ = to;
      return;
    }
    const QPoint last = to - step;
    covered = QRect(QPoint(std::min(at_.x(), last.x()), std::min(at_.y(), last.y())),
                    QPoint(std::max(at_.x(), last.x()), std::max(at_.y(), last.y())));
  } else {
    const int before = width_ / 2;
    const int after = width_ - 1 - before;
    covered = QRect(QPoint(std::min(at_.x(), to.x()) - before, std::min(at_.y(), to.y()) - before),
                    QPoint(std::max(at_.x(), to.x()) + after, std::max(at_.y(), to.y()) + after));
  }
  painter_.fillRect(covered, colour_);
  at_ = to;
}
