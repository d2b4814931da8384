#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "movie/JZZH.h"
#include "tests/support/Hex.h"

namespace {

const TConversion c;

struct SizeRow {
  int w, h;
  const char* frame;
  const char* centered;
  const char* fillTail;
  const char* outline;
  const char* translate;
  const char* scaleTranslate;
};

// Sizes in, bytes out, for every record a movie size determines.
const SizeRow kSizes[] = {
    {550, 400, "78 00 05 5F 00 00 0F A0 00", "75 50 8A BE 60 C0 7D 00", "0E AA 13 06 00",
     "15 CA BE 1F 41 7A 55 08 F1 83 03 D1 57 C7 8B E8 00 00", "1C AB E1 F4 00", "C9 5B 55 54 EF 4E 55 F0 FA 00"},
    {800, 600, "78 00 07 D0 00 00 17 70 00", "74 18 0F A0 51 20 BB 80", "0E 83 02 89 00",
     "15 E7 D0 0B B8 5E 90 60 3D 68 90 7A 3E 80 F5 5D C0 00", "1C FA 02 EE 00", "C9 F9 C9 7F 9D 8E 7D 01 77 00"},
};

TEST(Records, WorkedExamples) {
  for (const auto& r : kSizes) {
    SCOPED_TRACE(std::to_string(r.w) + " x " + std::to_string(r.h));
    EXPECT_EQ(c.FrameRectBytes(0, 0, r.w, r.h), Hex(r.frame));
    EXPECT_EQ(c.CenteredRectBytes(r.w, r.h), Hex(r.centered));
    EXPECT_EQ(c.FillMatrixTailBytes(r.w, r.h), Hex(r.fillTail));
    EXPECT_EQ(c.ShapeOutlineBytes(r.w, r.h), Hex(r.outline));
    EXPECT_EQ(c.TranslateMatrixBytes(r.w / 2.0, r.h / 2.0), Hex(r.translate));
    EXPECT_EQ(c.ScaleTranslateMatrixBytes((r.w - 2) / 403.9, (r.h - 2) / 299.9, r.w / 2.0, r.h / 2.0),
              Hex(r.scaleTranslate));
  }
}

TEST(Records, EdgeCases) {
  // Nbits 16 from the larger of right and bottom; zero left and top.
  EXPECT_EQ(c.FrameRectBytes(0, 0, 1024, 768), Hex("80 00 02 80 00 00 01 E0 00"));
  // Portrait: the height's negative translation is the longer one.
  EXPECT_EQ(c.FillMatrixTailBytes(400, 550), Hex("0E C1 82 A8 40"));
  // Both scales zero: one byte, whatever the translation.
  EXPECT_EQ(c.ScaleTranslateMatrixBytes(0, 0, 275, 200), Hex("00"));
  EXPECT_EQ(c.ScaleTranslateMatrixBytes(0, 0, 0, 0), Hex("00"));
  // One scale zero: sixteen '0' fraction digits padded to n = 18.
  //   1 10010 000000000000000000 010000000000000000 0 00000
  EXPECT_EQ(c.ScaleTranslateMatrixBytes(0, 1.0, 0, 0), Hex("C8 00 00 40 00 00"));
  // X = Y = 0 with a scale: NTranslateBits 00000 and no translate fields.
  //   1 10010 010000000000000000 010000000000000000 0 00000
  EXPECT_EQ(c.ScaleTranslateMatrixBytes(1.0, 1.0, 0, 0), Hex("C9 00 00 40 00 00"));
}

TEST(Records, ExactHalvesRoundToEven) {
  // 0.125 * 20 = 2.5 -> 2 ("10"); 0.375 * 20 = 7.5 -> 8 ("1000"); n = 5:
  //   0 0 00101 00010 01000
  EXPECT_EQ(c.TranslateMatrixBytes(0.125, 0.375), Hex("0A 24 00"));
  // Width 0.25 -> Xmax Round(2.5) = 2; height 0.75 -> Round(7.5) = 8; n = 5:
  //   00101 11110 00010 11000 01000
  EXPECT_EQ(c.CenteredRectBytes(0.25, 0.75), Hex("2F 85 84 00"));
}

TEST(Records, ScalesAreTruncatedTo16FractionBits) {
  // 548 / 403.9 = 1.35677... is stored as 1 + 23381/65536.
  const myByteArray m = c.ScaleTranslateMatrixBytes(548 / 403.9, 1.0, 0, 0);
  // 1 10010 then ScaleX in 18 digits.
  std::uint32_t bits = 0;
  for (int i = 0; i < 24; ++i) bits = bits << 1 | ((m[static_cast<size_t>(i / 8)] >> (7 - i % 8)) & 1);
  EXPECT_EQ(bits & 0x3FFFF, 65536u + 23381u);
}

// A reader of the outline's shape records, independent of the encoder.
class BitReader {
 public:
  explicit BitReader(const myByteArray& bytes) : bytes_(bytes) {}
  std::uint32_t Unsigned(int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i, ++pos_) {
      if (pos_ / 8 >= bytes_.size()) throw std::out_of_range("read past the record");
      v = v << 1 | ((bytes_[pos_ / 8] >> (7 - pos_ % 8)) & 1u);
    }
    return v;
  }
  std::int32_t Signed(int n) {
    const std::uint32_t v = Unsigned(n);
    const bool negative = n > 0 && (v >> (n - 1)) != 0;
    return static_cast<std::int32_t>(negative ? std::int64_t{v} - (std::int64_t{1} << n) : std::int64_t{v});
  }
  std::size_t Position() const { return pos_; }

 private:
  const myByteArray& bytes_;
  std::size_t pos_ = 0;
};

struct Outline {
  std::int32_t startX, startY;
  std::int32_t minX, maxX, minY, maxY;
  std::int32_t endX, endY;
  int edges;
  std::size_t bitsUsed;
};

Outline ReadOutline(const myByteArray& bytes) {
  BitReader r(bytes);
  Outline o{};
  EXPECT_EQ(r.Unsigned(6), 0b000101u);
  const int moveBits = static_cast<int>(r.Unsigned(5));
  o.startX = r.Signed(moveBits);
  o.startY = r.Signed(moveBits);
  EXPECT_EQ(r.Unsigned(2), 2u);  // FillStyle1 = 2
  std::int32_t x = o.startX, y = o.startY;
  o.minX = o.maxX = x;
  o.minY = o.maxY = y;
  for (;;) {
    if (r.Unsigned(1) == 0) {  // not an edge: only the end record may follow
      EXPECT_EQ(r.Unsigned(5), 0u);
      break;
    }
    EXPECT_EQ(r.Unsigned(1), 1u);  // straight
    const int numBits = static_cast<int>(r.Unsigned(4)) + 2;
    EXPECT_EQ(r.Unsigned(1), 0u);  // no general line
    const bool vertical = r.Unsigned(1) == 1;
    const std::int32_t delta = r.Signed(numBits);
    (vertical ? y : x) += delta;
    o.minX = std::min(o.minX, x);
    o.maxX = std::max(o.maxX, x);
    o.minY = std::min(o.minY, y);
    o.maxY = std::max(o.maxY, y);
    ++o.edges;
  }
  o.endX = x;
  o.endY = y;
  o.bitsUsed = r.Position();
  return o;
}

TEST(Records, OutlinesOfAnySizeAreClosedRectanglesCentredOnTheOrigin) {
  const struct {
    int w, h, edges;
  } rows[] = {
      {550, 400, 4},   {800, 600, 4},   {819, 400, 4},   {820, 400, 4},    {4000, 300, 6},
      {3276, 3276, 4}, {3277, 3277, 8}, {6000, 4000, 8}, {20000, 100, 16}, {3, 3, 4},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::to_string(r.w) + " x " + std::to_string(r.h));
    const myByteArray bytes = c.ShapeOutlineBytes(r.w, r.h);
    const Outline o = ReadOutline(bytes);
    EXPECT_EQ(o.startX, 10 * r.w);
    EXPECT_EQ(o.startY, 10 * r.h);
    EXPECT_EQ(o.endX, o.startX);
    EXPECT_EQ(o.endY, o.startY);
    EXPECT_EQ(o.minX, -10 * r.w);
    EXPECT_EQ(o.maxX, 10 * r.w);
    EXPECT_EQ(o.minY, -10 * r.h);
    EXPECT_EQ(o.maxY, 10 * r.h);
    EXPECT_EQ(o.edges, r.edges);
    EXPECT_EQ((o.bitsUsed + 7) / 8, bytes.size());
  }
}

}  // namespace
