#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "common/Errors.h"
#include "tests/support/BrokenJpeg.h"
#include "tests/support/Jpeg.h"
#include "tests/support/PeakMemory.h"
#include "tests/support/TempDir.h"
#include "window/strip/LruCache.h"
#include "window/strip/PicturePlaceholder.h"
#include "window/strip/ThumbnailCache.h"
#include "window/strip/ThumbnailDecoder.h"

namespace {

bool Near(QRgb pixel, Rgb colour, int tolerance = 12) {
  return std::abs(qRed(pixel) - colour.r) <= tolerance && std::abs(qGreen(pixel) - colour.g) <= tolerance &&
         std::abs(qBlue(pixel) - colour.b) <= tolerance;
}

// A CMYK JPEG of one colour, the values given as they are stored.
std::string MakeCmykJpeg(int width, int height, const unsigned char (&cmyk)[4]) {
  std::vector<unsigned char> pixels;
  for (int i = 0; i < width * height; ++i) pixels.insert(pixels.end(), cmyk, cmyk + 4);
  return CompressJpeg(pixels, width, height, TJPF_CMYK, TJSAMP_444, 0, 95);
}

TEST(LruCache, DropsTheLeastRecentlyUsedBeyondItsCapacity) {
  LruCache<std::string, int> cache(10);
  cache.Put("a", 1, 4);
  cache.Put("b", 2, 4);
  ASSERT_NE(cache.Find("a"), nullptr);  // now b is the oldest
  cache.Put("c", 3, 4);
  EXPECT_EQ(cache.Find("b"), nullptr);
  EXPECT_EQ(*cache.Find("a"), 1);
  EXPECT_EQ(cache.TotalCost(), 8u);

  cache.Put("a", 10, 2);  // a replacement counts its new cost only
  EXPECT_EQ(*cache.Find("a"), 10);
  EXPECT_EQ(cache.TotalCost(), 6u);

  cache.Put("huge", 4, 50);  // over the capacity alone: it stays, the rest goes
  EXPECT_EQ(cache.Size(), 1u);
  EXPECT_EQ(*cache.Find("huge"), 4);
}

TEST(ThumbnailDecoder, ScalesToTheSmallestSizeThatCoversAThumbnail) {
  const struct {
    JpegSize picture;
    QSize decoded;
  } rows[] = {
      {{1920, 1080}, {240, 135}},  // 1/8
      {{6000, 4000}, {750, 500}},  // 1/8, the smallest there is
      {{1000, 1000}, {250, 250}},  // 1/8 gives 125, short of 140
      {{8000, 500}, {3000, 188}},  // the height decides: 3/8, rounded up
      {{1120, 1032}, {140, 129}},  // 1/8 exactly
      {{1112, 1032}, {278, 258}},  // 1/8 is one pixel short: 1/4
      {{150, 140}, {150, 140}},    // nothing smaller covers
      {{60, 40}, {60, 40}},        // smaller than a thumbnail: never enlarged
  };
  for (const auto& r : rows) {
    EXPECT_EQ(ScaledDecodeSize(r.picture), r.decoded) << r.picture.Width << "x" << r.picture.Height;
  }
}

TEST(ThumbnailDecoder, DecodesAnyJpegToAThumbnail) {
  TempDir dir;
  const Rgb colour{60, 180, 220};
  const std::string jpeg = MakeJpeg(1920, 1080, colour);
  const unsigned char redInverted[4] = {255, 0, 0, 255};  // Adobe's inverted CMYK for red
  const struct {
    const char* name;
    std::string bytes;
    Rgb colour;
  } rows[] = {
      {"large.jpg", jpeg, colour},
      {"small.jpg", MakeJpeg(30, 20, colour), colour},
      {"progressive.jpg", MakeJpeg(700, 500, colour, true), colour},
      {"cmyk.jpg", MakeCmykJpeg(200, 200, redInverted), {255, 0, 0}},
  };
  for (const auto& r : rows) {
    const QImage thumbnail = DecodeThumbnail(dir.Write(r.name, r.bytes));
    EXPECT_EQ(thumbnail.size(), QSize(kThumbnailWidth, kThumbnailHeight)) << r.name;
    EXPECT_TRUE(Near(thumbnail.pixel(70, 64), r.colour, 16)) << r.name;
    EXPECT_TRUE(Near(thumbnail.pixel(0, 0), r.colour, 16)) << r.name;
  }
  // Cut short, the decoder warns but still gives the top of the picture.
  const QImage cut = DecodeThumbnail(dir.Write("cut.jpg", jpeg.substr(0, jpeg.size() / 2)));
  EXPECT_TRUE(Near(cut.pixel(70, 5), colour));
}

TEST(ThumbnailDecoder, RefusesWhatCannotOrMustNotBeDecoded) {
  TempDir dir;
  const std::string jpeg = MakeJpeg(64, 48);
  EXPECT_THROW(DecodeThumbnail(dir.Write("header-only.jpg", HeaderOnly(jpeg))), ThumbnailError);
  EXPECT_THROW(DecodeThumbnail(dir.Write("text.jpg", "no picture here")), ThumbnailError);
  // Refused from the header alone, before anything of its claimed size is allocated.
  EXPECT_THROW(DecodeThumbnail(dir.Write("huge.jpg", WithClaimedSize(jpeg, 60000, 60000))), PictureTooLargeError);
  // Within the pixel bound, but its coefficients would need 48 MiB.
  EXPECT_THROW(DecodeThumbnail(dir.Write("progressive.jpg", MakeJpeg(4096, 4096, {1, 2, 3}, true))),
               PictureTooLargeError);
  EXPECT_THROW(DecodeThumbnail((dir.Path() / "missing.jpg").string()), FileOpenError);

  EXPECT_NO_THROW(CheckDecodable("a.jpg", {8192, 8192}));
  EXPECT_THROW(CheckDecodable("a.jpg", {8192, 8193}), ThumbnailError);
  EXPECT_THROW(CheckDecodable("a.jpg", {65535, 65535}), ThumbnailError);
}

// The file is read as the decoder needs it, not whole: segments it does not
// need are skipped. On a file of 256 MiB the decoding needs a few MiB.
TEST(ThumbnailDecoder, DecodesAHugeFileInBoundedMemory) {
  TempDir dir;
  const Rgb colour{60, 180, 220};
  const std::string path = (dir.Path() / "huge.jpg").string();
  WriteWithLargeAppSegments(path, MakeJpeg(640, 480, colour), std::uint64_t{256} << 20);
  ResetPeakResident();
  const std::size_t before = ResidentBytes();
  const QImage thumbnail = DecodeThumbnail(path);
  EXPECT_LT(PeakResidentBytes() - before, std::size_t{64} << 20);
  EXPECT_TRUE(Near(thumbnail.pixel(70, 64), colour));
}

TEST(ThumbnailCache, KeepsSizesAndThumbnailsPerFileVersion) {
  TempDir dir;
  const std::string path = dir.Write("a.jpg", MakeJpeg(640, 480));
  ThumbnailCache cache;
  const FileStamp first = StampOf(path);
  EXPECT_EQ(cache.Measure(first).Size, (JpegSize{640, 480}));
  cache.Thumbnail(first);

  // A rewrite under the same name is another file; the old stamp still
  // answers from the cache without reading the disk.
  const auto before = std::filesystem::last_write_time(path);
  dir.Write("a.jpg", "not a picture");
  std::filesystem::last_write_time(path, before + std::chrono::seconds(1));
  const FileStamp second = StampOf(path);
  EXPECT_NE(first, second);
  EXPECT_EQ(cache.Measure(first).Size, (JpegSize{640, 480}));
  EXPECT_THROW(cache.Measure(second), JpegHeaderError);
  EXPECT_THROW(cache.Measure(second), JpegHeaderError);  // kept, raised again

  std::filesystem::remove(path);
  EXPECT_THROW(StampOf(path), FileOpenError);
}

TEST(ThumbnailCache, APictureThatFailsToDecodeFailsToMeasureFromThenOn) {
  TempDir dir;
  ThumbnailCache cache;
  const FileStamp file = StampOf(dir.Write("empty.jpg", HeaderOnly(MakeJpeg(640, 480))));
  EXPECT_EQ(cache.Measure(file).Size, (JpegSize{640, 480}));
  EXPECT_THROW(cache.Thumbnail(file), ThumbnailError);
  EXPECT_THROW(cache.Measure(file), ThumbnailError);
}

TEST(ThumbnailCache, StaysWithinItsMemory) {
  TempDir dir;
  const std::size_t oneThumbnail = kThumbnailWidth * kThumbnailHeight * 4;
  ThumbnailCache cache(100, 3 * oneThumbnail);
  const std::string jpeg = MakeJpeg(300, 200);
  for (int i = 0; i < 6; ++i) cache.Thumbnail(StampOf(dir.Write(std::to_string(i) + ".jpg", jpeg)));
  EXPECT_EQ(cache.ThumbnailCount(), 3u);
  EXPECT_LE(cache.ThumbnailBytes(), 3 * oneThumbnail);
}

TEST(PicturePlaceholder, IsALightCheckerboardOfFourAndFivePixelSquares) {
  const QImage image = PicturePlaceholder();
  ASSERT_EQ(image.size(), QSize(140, 129));
  bool light = false, white = false;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      ASSERT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p) && qRed(p) >= 197) << x << "," << y;
      (qRed(p) == 255 ? white : light) = true;
    }
  }
  EXPECT_TRUE(light && white);
  // Runs of one colour along the first row and column, the cut last one apart.
  for (const bool alongRow : {true, false}) {
    const int length = alongRow ? image.width() : image.height();
    int run = 1;
    for (int i = 1; i < length; ++i) {
      const QRgb previous = alongRow ? image.pixel(i - 1, 0) : image.pixel(0, i - 1);
      const QRgb current = alongRow ? image.pixel(i, 0) : image.pixel(0, i);
      if (current == previous) {
        ++run;
        continue;
      }
      EXPECT_TRUE(run == 4 || run == 5) << (alongRow ? "row " : "column ") << i;
      run = 1;
    }
  }
}

}  // namespace
