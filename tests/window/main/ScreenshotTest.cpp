// The whole window as the user sees it, with a few pictures in the strip.
// Set ORBILUX_SCREENSHOT to a file name to keep the picture as a PNG.

#include <QImage>
#include <QPixmap>

#include "tests/window/MainWindowFixture.h"

namespace {

bool Near(QRgb pixel, QColor colour, int tolerance = 16) {
  return std::abs(qRed(pixel) - colour.red()) <= tolerance && std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
         std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

TEST_F(MainWindowTest, StartsWithOneEmptyCell) {
  const QImage strip = form.PaintBox1->grab().toImage();
  EXPECT_EQ(strip.pixel(20, 7), qRgb(128, 128, 128)) << "the first cell's frame";
  EXPECT_NE(strip.pixel(160 + 20, 7), qRgb(128, 128, 128)) << "no second cell";
}

TEST_F(MainWindowTest, ShowsThePicturesInTheWindow) {
  const QColor colours[] = {{200, 40, 40}, {40, 160, 60}, {50, 90, 200}};
  QStringList paths;
  for (int i = 0; i < 3; ++i) {
    const QColor& c = colours[i];
    paths << QString::fromStdString(
        pictures.Write("view" + std::to_string(i + 1) + ".jpg",
                       MakeJpeg(320, 240,
                                {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                                 static_cast<std::uint8_t>(c.blue())})));
  }
  Import(paths);
  form.PictureList.SelectAt(1);
  PaintStrip();

  const QImage shot = form.grab().toImage();
  if (const QByteArray keep = qgetenv("ORBILUX_SCREENSHOT"); !keep.isEmpty()) shot.save(QString::fromLocal8Bit(keep));
  const QPoint strip = form.PaintBox1->mapTo(&form, QPoint(0, 0));
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(Near(shot.pixel(strip + QPoint(160 * i + 78, 90)), colours[i])) << "picture " << i + 1;
  }
  EXPECT_EQ(shot.pixel(strip + QPoint(160 + 60, 6)), qRgb(255, 0, 0)) << "the second is selected";
  EXPECT_TRUE(form.Build1->isEnabled());
  EXPECT_EQ(form.MovieWidth, 320);
}

}  // namespace
