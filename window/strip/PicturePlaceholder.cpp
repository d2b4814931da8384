#include "window/strip/PicturePlaceholder.h"

#include <QPainter>

namespace {

// Squares average 4.5 pixels, so their sides alternate between 5 and 4.
int SquareIndex(int pixel) { return pixel * 2 / 9; }

}  // namespace

QImage PicturePlaceholder() {
  const QRgb white = qRgb(255, 255, 255);
  const QRgb lightGrey = qRgb(204, 204, 204);
  QImage image(kPlaceholderWidth, kPlaceholderHeight, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      line[x] = (SquareIndex(x) + SquareIndex(y)) % 2 == 0 ? white : lightGrey;
    }
  }
  return image;
}

QImage TooLargePlaceholder(JpegSize size) {
  QImage image = PicturePlaceholder();
  QPainter painter(&image);
  painter.setPen(QColor(64, 64, 64));
  const QString text = QString("%1 x %2\ntoo large to show").arg(size.Width).arg(size.Height);
  painter.drawText(image.rect(), Qt::AlignCenter, text);
  return image;
}
