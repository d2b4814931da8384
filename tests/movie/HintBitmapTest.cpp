#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "movie/HintBitmap.h"

namespace {

using hint_bitmap::kHeight;
using hint_bitmap::kWidth;

constexpr int kPanelAlpha = 157;
constexpr int kPanelColour = 26;  // 0x2A premultiplied by 157/255, rounded
constexpr int kInkColour = 155;   // 252 premultiplied by 157/255, rounded

struct Pixel {
  int alpha, red, green, blue;
};

struct InflateResult {
  int status;
  std::size_t bytesOut;
  std::size_t bytesLeftOver;
  std::vector<std::uint8_t> data;
};

// Inflates the whole stream into a buffer one byte larger than the picture,
// so that both a short and a long stream show.
InflateResult Inflate() {
  const auto stream = hint_bitmap::CompressedPixels();
  InflateResult result{Z_OK, 0, 0, std::vector<std::uint8_t>(hint_bitmap::kPixelBytes + 1)};
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return {Z_STREAM_ERROR, 0, 0, {}};
  z.next_in = const_cast<Bytef*>(stream.data());
  z.avail_in = static_cast<uInt>(stream.size());
  z.next_out = result.data.data();
  z.avail_out = static_cast<uInt>(result.data.size());
  result.status = inflate(&z, Z_FINISH);
  result.bytesOut = z.total_out;
  result.bytesLeftOver = z.avail_in;
  inflateEnd(&z);
  result.data.resize(result.bytesOut);
  return result;
}

const std::vector<std::uint8_t>& Pixels() {
  static const std::vector<std::uint8_t> pixels = Inflate().data;
  return pixels;
}

Pixel At(int x, int y) {
  const std::uint8_t* p = &Pixels().at((static_cast<std::size_t>(y) * kWidth + x) * 4);
  return {p[0], p[1], p[2], p[3]};
}

bool InPanelCorner(int x, int y) {
  const bool nearSide = x <= 3 || x >= kWidth - 4;
  const bool nearEnd = y <= 3 || y >= kHeight - 4;
  return nearSide && nearEnd;
}

bool InInkBox(int x, int y) { return x >= 20 && x <= 199 && y >= 11 && y <= 22; }

bool IsInk(const Pixel& p) { return p.alpha == kPanelAlpha && p.red > kPanelColour; }

TEST(HintBitmap, IsOneBestCompressionZlibStreamOfExactlyThePicture) {
  const auto stream = hint_bitmap::CompressedPixels();
  ASSERT_GE(stream.size(), 2u);
  EXPECT_EQ(stream[0], 0x78);
  EXPECT_EQ(stream[1], 0xDA);

  const InflateResult result = Inflate();
  EXPECT_EQ(result.status, Z_STREAM_END);
  EXPECT_EQ(result.bytesOut, 27904u);
  EXPECT_EQ(result.bytesLeftOver, 0u) << "bytes after the end of the zlib stream";
}

TEST(HintBitmap, EveryPixelIsAPremultipliedGrey) {
  ASSERT_EQ(Pixels().size(), hint_bitmap::kPixelBytes);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const Pixel p = At(x, y);
      ASSERT_TRUE(p.red == p.green && p.green == p.blue) << "at " << x << "," << y;
      ASSERT_LE(p.red, p.alpha) << "at " << x << "," << y;
    }
  }
}

TEST(HintBitmap, OnePixelBorderIsFullyTransparent) {
  ASSERT_EQ(Pixels().size(), hint_bitmap::kPixelBytes);
  for (int x = 0; x < kWidth; ++x) {
    EXPECT_EQ(At(x, 0).alpha, 0) << "top, column " << x;
    EXPECT_EQ(At(x, kHeight - 1).alpha, 0) << "bottom, column " << x;
  }
  for (int y = 0; y < kHeight; ++y) {
    EXPECT_EQ(At(0, y).alpha, 0) << "left, row " << y;
    EXPECT_EQ(At(kWidth - 1, y).alpha, 0) << "right, row " << y;
  }
}

TEST(HintBitmap, PanelIsEvenDarkGreyAtAlpha157OutsideCornersAndText) {
  ASSERT_EQ(Pixels().size(), hint_bitmap::kPixelBytes);
  for (int y = 1; y < kHeight - 1; ++y) {
    for (int x = 1; x < kWidth - 1; ++x) {
      if (InPanelCorner(x, y)) continue;
      const Pixel p = At(x, y);
      ASSERT_EQ(p.alpha, kPanelAlpha) << "at " << x << "," << y;
      if (!InInkBox(x, y)) {
        ASSERT_EQ(p.red, kPanelColour) << "at " << x << "," << y;
      }
    }
  }
}

TEST(HintBitmap, PanelCornersAreRoundedAndSmoothed) {
  ASSERT_EQ(Pixels().size(), hint_bitmap::kPixelBytes);
  const struct {
    int x, y, stepX, stepY;
  } corners[] = {{1, 1, 1, 1}, {kWidth - 2, 1, -1, 1}, {1, kHeight - 2, 1, -1}, {kWidth - 2, kHeight - 2, -1, -1}};
  for (const auto& c : corners) {
    SCOPED_TRACE(testing::Message() << "corner " << c.x << "," << c.y);
    EXPECT_LT(At(c.x, c.y).alpha, kPanelAlpha / 4);
    // Along the top or bottom edge the alpha rises through part-covered
    // pixels to the panel's own.
    int partial = 0;
    for (int i = 0; i < 4; ++i) {
      const int alpha = At(c.x + i * c.stepX, c.y).alpha;
      if (alpha > 0 && alpha < kPanelAlpha) ++partial;
    }
    EXPECT_GE(partial, 2);
    EXPECT_EQ(At(c.x + 3 * c.stepX, c.y + 3 * c.stepY).alpha, kPanelAlpha);
  }
}

TEST(HintBitmap, LetteringIsNearWhiteAndStaysInItsBox) {
  ASSERT_EQ(Pixels().size(), hint_bitmap::kPixelBytes);
  int brightest = 0;
  bool smoothed = false;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const Pixel p = At(x, y);
      if (!IsInk(p)) continue;
      EXPECT_TRUE(InInkBox(x, y)) << "ink at " << x << "," << y;
      brightest = std::max(brightest, p.red);
      smoothed = smoothed || p.red < kInkColour;
    }
  }
  EXPECT_EQ(brightest, kInkColour);
  EXPECT_TRUE(smoothed);
}

TEST(HintBitmap, LetteringReachesItsKeyRows) {
  ASSERT_EQ(Pixels().size(), hint_bitmap::kPixelBytes);
  const struct {
    int row;
    const char* what;
  } rows[] = {{11, "ascenders"}, {14, "top of lower-case"}, {20, "baseline"}, {22, "descenders"}};
  for (const auto& r : rows) {
    int inked = 0;
    for (int x = 0; x < kWidth; ++x) inked += IsInk(At(x, r.row)) ? 1 : 0;
    EXPECT_GT(inked, 0) << r.what << ", row " << r.row;
  }
}

}  // namespace
