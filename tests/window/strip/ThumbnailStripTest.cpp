#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QTest>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "collection/JpegHeader.h"
#include "collection/PictureList.h"
#include "tests/support/BrokenJpeg.h"
#include "tests/support/Jpeg.h"
#include "tests/support/ManyScanJpeg.h"
#include "tests/support/TempDir.h"
#include "window/strip/PicturePlaceholder.h"
#include "window/strip/ThumbnailDecoder.h"
#include "window/strip/ThumbnailStrip.h"

namespace {

const char* const kMismatch = "One of the image's size(Width or Height) is different!";
const QRgb kGrey = qRgb(128, 128, 128);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kRed = qRgb(255, 0, 0);
const Rgb kYellow{230, 200, 60};
const Rgb kBlue{60, 180, 220};

QRgb Background() { return QApplication::palette().button().color().rgb(); }

class FakeHost : public StripHost {
 public:
  int MovieWidth() const override { return width; }
  int MovieHeight() const override { return height; }
  void SetMovieSize(int w, int h) override {
    width = w;
    height = h;
    ++calls;
  }
  void SetStatusText(const QString& text) override {
    status = text;
    ++calls;
  }
  void SetBuildEnabled(bool enabled) override {
    build = enabled;
    ++calls;
  }

  int width = 550;
  int height = 400;
  QString status = "...";
  bool build = false;
  int calls = 0;
};

// The strip painted into an image filled as the widget would be, or with
// another colour to see what the pass itself fills, once the thumbnails it
// shows are decoded.
QImage Render(ThumbnailStrip& strip, const PictureList& list, StripHost& host, QRect exposed = QRect(),
              QRgb fill = Background()) {
  QImage image(ThumbnailStrip::kCellWidth * (list.Count() + 1) + 20, ThumbnailStrip::kHeight, QImage::Format_RGB32);
  const auto pass = [&] {
    image.fill(fill);
    QPainter painter(&image);
    strip.Paint(painter, exposed.isNull() ? image.rect() : exposed, list, host);
  };
  pass();
  while (strip.Decoding()) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return !strip.Decoding(); }, 60000));
    pass();
  }
  return image;
}

int X0(int cell) { return ThumbnailStrip::kCellWidth * cell; }

bool Near(QRgb pixel, Rgb colour, int tolerance = 12) {
  return std::abs(qRed(pixel) - colour.r) <= tolerance && std::abs(qGreen(pixel) - colour.g) <= tolerance &&
         std::abs(qBlue(pixel) - colour.b) <= tolerance;
}

// The cell's number is drawn when dark text pixels stand where it starts.
bool HasNumber(const QImage& image, int cell) {
  int dark = 0;
  for (int y = 10; y < 24; ++y) {
    for (int x = X0(cell) + 10; x < X0(cell) + 24; ++x) dark += qGray(image.pixel(x, y)) < 60;
  }
  return dark >= 3;
}

int NumbersShown(const QImage& image, int cells) {
  int shown = 0;
  for (int i = 0; i < cells; ++i) shown += HasNumber(image, i);
  return shown;
}

// The cell shows the placeholder, and no picture, away from its number.
bool ShowsPlaceholder(const QImage& image, int cell) {
  const QImage placeholder = PicturePlaceholder();
  for (int y = 30; y < kPlaceholderHeight; y += 7) {
    for (int x = 0; x < kPlaceholderWidth; x += 3) {
      if (image.pixel(X0(cell) + 8 + x, 8 + y) != placeholder.pixel(x, y)) return false;
    }
  }
  return true;
}

// Rewrites a file and moves its modification time on, as a later save
// would, so that even a rewrite of the same length within one clock tick of
// the last pass is a new file.
void Rewrite(const TempDir& dir, const std::string& name, const std::string& bytes) {
  const auto path = dir.Path() / name;
  const auto before = std::filesystem::last_write_time(path);
  dir.Write(name, bytes);
  std::filesystem::last_write_time(path, before + std::chrono::seconds(2));
}

struct Album {
  TempDir dir;
  PictureList list;

  void Add(const std::string& name, const std::string& bytes) { list.AddPicture(dir.Write(name, bytes)); }
  void Add(const std::vector<JpegSize>& sizes) {
    for (size_t i = 0; i < sizes.size(); ++i)
      Add("p" + std::to_string(i) + ".jpg", MakeJpeg(sizes[i].Width, sizes[i].Height, kYellow));
  }
};

TEST(ThumbnailStrip, EmptyListShowsOneNumberedCellAndLeavesTheHostAlone) {
  ThumbnailStrip strip;
  PictureList list;
  FakeHost host;
  const QImage image = Render(strip, list, host, QRect(), qRgb(255, 0, 255));

  EXPECT_EQ(host.calls, 0);
  EXPECT_TRUE(HasNumber(image, 0));
  EXPECT_TRUE(ShowsPlaceholder(image, 0));
  // The pass fills the exposed area where it draws nothing.
  for (const QPoint p : {QPoint(0, 0), QPoint(6, 7), QPoint(20, 137), QPoint(149, 70), QPoint(170, 70)}) {
    EXPECT_EQ(image.pixel(p), Background()) << p.x() << "," << p.y();
  }
}

TEST(ThumbnailStrip, FramesAreSunkenWithExactCorners) {
  Album album;
  album.Add({{64, 48}});
  ThumbnailStrip strip;
  FakeHost host;
  const QImage image = Render(strip, album.list, host);

  const struct {
    int dx, dy;
    QRgb colour;
  } pixels[] = {
      {7, 7, kGrey},
      {147, 7, kGrey},
      {148, 7, kWhite},
      {148, 137, kWhite},
      {148, 138, kWhite},
      {8, 138, kWhite},
      {7, 138, kGrey},
      {7, 8, kGrey},
      {7, 137, kGrey},
      {6, 7, Background()},
      {149, 7, Background()},
      {7, 6, Background()},
      {7, 139, Background()},
      {148, 139, Background()},
      // Nothing covers the row between the picture and the bottom edge.
      {8, 137, Background()},
      {147, 137, Background()},
  };
  for (int cell : {0, 1}) {  // a picture's cell and the empty cell
    for (const auto& p : pixels) {
      EXPECT_EQ(image.pixel(X0(cell) + p.dx, p.dy), p.colour) << "cell " << cell << " at +" << p.dx << "," << p.dy;
    }
  }
  EXPECT_TRUE(ShowsPlaceholder(image, 1));
}

TEST(ThumbnailStrip, PicturesAreStretchedOverThePlaceholderAndTheSelectionFramed) {
  Album album;
  album.Add({{640, 120}, {640, 120}});  // far wider than a cell: stretched, not fitted
  album.list.SelectAt(1);
  ThumbnailStrip strip;
  FakeHost host;
  const QImage image = Render(strip, album.list, host);

  for (int cell : {0, 1}) {
    for (const QPoint p : {QPoint(8, 8), QPoint(147, 8), QPoint(8, 136), QPoint(147, 136), QPoint(70, 70)}) {
      if (cell == 1 && (p.x() == 147 || p.y() == 136)) continue;  // under the red frame
      EXPECT_TRUE(Near(image.pixel(X0(cell) + p.x(), p.y()), kYellow))
          << "cell " << cell << " +" << p.x() << "," << p.y();
    }
  }
  // The number's opaque background hides the picture under it.
  EXPECT_FALSE(Near(image.pixel(X0(0) + 10, 10), kYellow));
  EXPECT_TRUE(Near(image.pixel(X0(0) + 9, 10), kYellow));

  // A 3-pixel ring around the path (6,6) (147,6) (147,137) (6,137).
  const int x0 = X0(1);
  for (const QPoint p :
       {QPoint(5, 5), QPoint(148, 5), QPoint(148, 138), QPoint(5, 138), QPoint(5, 70), QPoint(7, 70), QPoint(146, 70),
        QPoint(148, 70), QPoint(70, 5), QPoint(70, 7), QPoint(70, 136), QPoint(70, 138)}) {
    EXPECT_EQ(image.pixel(x0 + p.x(), p.y()), kRed) << "+" << p.x() << "," << p.y();
  }
  for (const QPoint p : {QPoint(4, 70), QPoint(8, 70), QPoint(145, 70), QPoint(149, 70), QPoint(70, 4), QPoint(70, 8),
                         QPoint(70, 135), QPoint(70, 139)}) {
    EXPECT_NE(image.pixel(x0 + p.x(), p.y()), kRed) << "+" << p.x() << "," << p.y();
  }
  EXPECT_EQ(image.pixel(X0(0) + 5, 5), Background());  // the unselected picture has no frame
  EXPECT_EQ(NumbersShown(image, 3), 3);
}

TEST(ThumbnailStrip, FirstPictureSetsTheSizeAndAnyOtherSizeBlocksBuild) {
  const struct {
    const char* name;
    std::vector<JpegSize> sizes;
    JpegSize movie;
    bool same;
  } rows[] = {
      {"one size", {{640, 480}, {640, 480}, {640, 480}}, {640, 480}, true},
      {"middle differs", {{640, 480}, {800, 600}, {640, 480}}, {640, 480}, false},
      {"first differs", {{800, 600}, {640, 480}, {640, 480}}, {800, 600}, false},
      {"only height differs", {{640, 480}, {640, 481}}, {640, 480}, false},
  };
  for (const auto& r : rows) {
    Album album;
    album.Add(r.sizes);
    ThumbnailStrip strip;
    FakeHost host;
    host.status = "Translating is OK!!";  // a pass that reaches a picture replaces it
    const QImage image = Render(strip, album.list, host);
    EXPECT_EQ(host.width, r.movie.Width) << r.name;
    EXPECT_EQ(host.height, r.movie.Height) << r.name;
    EXPECT_EQ(host.status, r.same ? QString() : QString(kMismatch)) << r.name;
    EXPECT_EQ(host.build, r.same) << r.name;
    EXPECT_EQ(NumbersShown(image, album.list.Count() + 1), album.list.Count() + 1) << r.name;
  }
}

TEST(ThumbnailStrip, RemovingTheOddPictureEnablesBuildAgain) {
  Album album;
  album.Add({{640, 480}, {800, 600}, {640, 480}});
  ThumbnailStrip strip;
  FakeHost host;
  Render(strip, album.list, host);
  ASSERT_FALSE(host.build);

  album.list.SelectAt(1);
  album.list.DeleteSelected();
  Render(strip, album.list, host);
  EXPECT_EQ(host.status, QString());
  EXPECT_TRUE(host.build);
}

TEST(ThumbnailStrip, AFailingPictureEndsThePassAtItsPlace) {
  const std::string good = MakeJpeg(640, 480, kYellow);
  const auto rewrite = [](const std::string& bytes) {
    return [bytes](Album& album, const std::string&) { Rewrite(album.dir, "p2.jpg", bytes); };
  };
  const struct {
    const char* name;
    std::function<void(Album&, const std::string&)> spoil;
  } rows[] = {
      {"removed", [](Album&, const std::string& path) { std::filesystem::remove(path); }},
      {"not a JPEG", rewrite("\x89PNG\r\n\x1a\n not a picture")},
      {"size readable, nothing to decode", rewrite(HeaderOnly(good))},
      // A pass that opened it would wait for a writer for ever.
      {"a named pipe",
       [](Album&, const std::string& path) {
         std::filesystem::remove(path);
         ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
       }},
  };
  for (const JpegSize second : {JpegSize{640, 480}, JpegSize{800, 600}}) {
    for (const auto& r : rows) {
      Album album;
      album.Add({{640, 480}, second, {640, 480}, {640, 480}, {640, 480}});
      ThumbnailStrip strip;
      FakeHost host;
      Render(strip, album.list, host);  // all five well, so the cache knows them

      r.spoil(album, album.list.At(2).Path);
      host = FakeHost();
      const QImage image = Render(strip, album.list, host);

      const bool same = second.Width == 640;
      EXPECT_EQ(host.width, 640) << r.name;
      EXPECT_EQ(host.status, same ? QString() : QString(kMismatch)) << r.name;
      EXPECT_EQ(host.build, same) << r.name;
      EXPECT_EQ(NumbersShown(image, 6), 0) << r.name;
      for (int cell = 0; cell < 2; ++cell) {
        EXPECT_TRUE(Near(image.pixel(X0(cell) + 70, 70), kYellow)) << r.name << " cell " << cell;
      }
      for (int cell = 2; cell < 6; ++cell) {
        EXPECT_TRUE(ShowsPlaceholder(image, cell)) << r.name << " cell " << cell;
        EXPECT_EQ(image.pixel(X0(cell) + 7, 7), kGrey) << r.name << " cell " << cell;
        EXPECT_EQ(image.pixel(X0(cell) + 148, 138), kWhite) << r.name << " cell " << cell;
      }
    }
  }
}

TEST(ThumbnailStrip, AProblemPictureIsMarkedAndItsTipSaysWhy) {
  const std::string photo = MakeDetailedJpeg(64, 48);
  const QRgb kMarkRed = qRgb(220, 0, 0);
  const QRgb kMarkAmber = qRgb(255, 190, 0);
  const struct {
    const char* name;
    std::string third;
    QString tip;
    QRgb mark;
    bool numbers;
  } rows[] = {
      {"not a JPEG", "GIF89a", "%1: not a JPEG file", kMarkRed, false},
      {"another size", MakeJpeg(80, 48), "%1: 80 x 48, but the movie is 64 x 48 (the size of %2)", kMarkRed, true},
      {"cut in its picture data", CutInScan(photo),
       "%1: its picture data is damaged (Premature end of JPEG file); players show stripes where it fails", kMarkAmber,
       true},
      {"CMYK", MakeDetailedJpeg(64, 48, TJPF_CMYK), "%1: CMYK colour, which some players cannot decode", kMarkAmber,
       true},
      {"many scans", MakeManyScanJpeg(64, 48, 1000), "%1: has 1010 scans; players may take long to show it", kMarkAmber,
       true},
  };
  for (const auto& r : rows) {
    Album album;
    album.Add("p0.jpg", photo);
    album.Add("p1.jpg", photo);
    album.Add("p2.jpg", r.third);
    ThumbnailStrip strip;
    FakeHost host;
    const QImage image = Render(strip, album.list, host);
    const QString third = QString::fromStdString(album.list.At(2).Path);
    EXPECT_EQ(strip.ProblemAt(X0(2) + 70), QString(r.tip).arg(third, QString::fromStdString(album.list.At(0).Path)))
        << r.name;
    EXPECT_EQ(strip.ProblemAt(X0(1) + 70), QString()) << r.name;
    // The mark stands in the top right corner of the picture, and only there.
    EXPECT_EQ(image.pixel(X0(2) + 133, 24), r.mark) << r.name;
    EXPECT_NE(image.pixel(X0(1) + 133, 24), r.mark) << r.name;
    EXPECT_EQ(NumbersShown(image, 4), r.numbers ? 4 : 0) << r.name;
  }
}

// Measured from their headers whatever their size, pictures too large to
// decode show their size on the placeholder and let Build on.
TEST(ThumbnailStrip, PicturesTooLargeToDecodeShowTheirSizeAndBuild) {
  Album album;
  const std::string huge = WithClaimedSize(MakeJpeg(64, 48, kYellow), 8200, 8200);
  album.Add("a.jpg", huge);
  album.Add("b.jpg", huge);
  ThumbnailStrip strip;
  FakeHost host;
  const QImage image = Render(strip, album.list, host);
  EXPECT_EQ(host.width, 8200);
  EXPECT_EQ(host.height, 8200);
  EXPECT_TRUE(host.build);
  EXPECT_EQ(NumbersShown(image, 3), 3);
  // Below the cell's number.
  const QRect below(0, 30, kThumbnailWidth, kThumbnailHeight - 30);
  const QImage cell = image.copy(below.translated(X0(1) + 8, 8));
  EXPECT_EQ(cell, TooLargePlaceholder({8200, 8200}).copy(below));
  EXPECT_NE(cell, PicturePlaceholder().copy(below));
}

TEST(ThumbnailStrip, AFailingFirstPictureKeepsTheMovieSize) {
  Album album;
  album.Add("broken.jpg", "not a picture");
  album.Add({{640, 480}});
  ThumbnailStrip strip;
  FakeHost host;
  const QImage image = Render(strip, album.list, host);
  EXPECT_EQ(host.calls, 0);
  EXPECT_EQ(host.width, 550);
  EXPECT_EQ(NumbersShown(image, 3), 0);
}

TEST(ThumbnailStrip, AChangedFileIsSeenOnTheNextPass) {
  Album album;
  album.Add("a.jpg", MakeJpeg(640, 480, kYellow));
  ThumbnailStrip strip;
  FakeHost host;
  Render(strip, album.list, host);
  ASSERT_EQ(host.width, 640);

  Rewrite(album.dir, "a.jpg", MakeJpeg(800, 600, kBlue));
  const QImage image = Render(strip, album.list, host);
  EXPECT_EQ(host.width, 800);
  EXPECT_EQ(host.height, 600);
  EXPECT_TRUE(Near(image.pixel(70, 70), kBlue));
}

TEST(ThumbnailStrip, OnlyTheExposedCellsAreDrawnButEveryPictureIsMeasured) {
  Album album;
  album.Add({{640, 480}, {640, 480}, {640, 480}, {640, 480}});
  album.Add("odd.jpg", MakeJpeg(320, 240, kYellow));
  ThumbnailStrip strip;
  FakeHost host;
  const QRect firstTwo(0, 0, 2 * ThumbnailStrip::kCellWidth, ThumbnailStrip::kHeight);
  const QImage image = Render(strip, album.list, host, firstTwo);
  EXPECT_EQ(host.status, QString(kMismatch));
  EXPECT_EQ(NumbersShown(image, 2), 2);
  EXPECT_EQ(image.pixel(X0(2) + 7, 7), Background());  // outside, untouched
  EXPECT_EQ(NumbersShown(image, 6), 2);
}

TEST(ThumbnailStrip, AnUndecodablePictureFailsOnceShownAndFromThenOn) {
  Album album;
  album.Add({{640, 480}, {640, 480}});
  album.Add("empty.jpg", HeaderOnly(MakeJpeg(640, 480)));
  ThumbnailStrip strip;
  FakeHost host;
  const QRect firstTwo(0, 0, 2 * ThumbnailStrip::kCellWidth, ThumbnailStrip::kHeight);

  // Its size can be read, so while it is out of sight nothing fails.
  EXPECT_EQ(NumbersShown(Render(strip, album.list, host, firstTwo), 2), 2);
  EXPECT_EQ(NumbersShown(Render(strip, album.list, host), 4), 0);
  EXPECT_EQ(NumbersShown(Render(strip, album.list, host, firstTwo), 2), 0);
}

TEST(ThumbnailStrip, HitTestAndCursor) {
  const struct {
    int x;
    int picture;
  } rows[] = {
      {7, -1},  {8, 0},    {146, 0}, {147, -1}, {150, -1}, {167, -1}, {168, 1},
      {306, 1}, {307, -1}, {400, 2}, {487, -1}, {488, -1}, {600, -1}, {-3, -1},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(ThumbnailStrip::HitTest(r.x, 3), r.picture) << r.x;
    EXPECT_EQ(ThumbnailStrip::CursorAt(r.x, 3), r.picture >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor) << r.x;
  }
  EXPECT_EQ(ThumbnailStrip::HitTest(100, 0), -1);
}

}  // namespace
