// The six size-dependent bit-packed records of the movie (RECT, MATRIX and
// the picture outline's shape records), each built as one binary text in the
// order the file stores its fields and packed with BinToBytes.

#include <algorithm>
#include <cstdint>
#include <string>

#include "movie/JZZH.h"

using orbilux::PadLeft;
using orbilux::Round;

namespace {

// A UB[5] count field: the count's plain binary text in exactly five digits.
std::string Count5(const TConversion& c, std::size_t n) { return PadLeft(c.DecToBin(std::to_string(n)), 5); }

// A UB[4] count field.
std::string Count4(const TConversion& c, std::size_t n) { return PadLeft(c.DecToBin(std::to_string(n)), 4); }

// The widest delta one straight edge can carry: SB[17] (NumBits 15).
constexpr std::int32_t kMaxEdgeTwips = 65535;

// The n-digit two's complement of minus an n-digit non-negative text: invert
// every digit, read it as an integer, add 1, and write it back as binary text.
std::string NegateFixedWidth(const TConversion& c, const std::string& positive) {
  std::string inverted = positive;
  for (char& digit : inverted) digit = digit == '0' ? '1' : '0';
  return c.DecToBin(std::to_string(std::int64_t{c.BinToInt(inverted)} + 1));
}

}  // namespace

std::string TConversion::PlainBin(std::int64_t value) const { return DecToBin(std::to_string(value)); }

myByteArray TConversion::FrameRectBytes(std::int32_t left, std::int32_t top, std::int32_t right,
                                        std::int32_t bottom) const {
  const std::string xmin = PlainBin(20 * left);
  const std::string ymin = PlainBin(20 * top);
  const std::string xmax = PlainBin(20 * right);
  const std::string ymax = PlainBin(20 * bottom);
  const std::size_t n = std::max({xmin.size(), ymin.size(), xmax.size(), ymax.size()}) + 1;
  return BinToBytes(Count5(*this, n) + PadLeft(xmin, n) + PadLeft(xmax, n) + PadLeft(ymin, n) + PadLeft(ymax, n));
}

myByteArray TConversion::CenteredRectBytes(double width, double height) const {
  const std::int64_t a = Round(width * 10);
  const std::int64_t b = Round(height * 10);
  const std::string aText = PlainBin(a);
  const std::string bText = PlainBin(b);
  const std::size_t n = std::max(aText.size(), bText.size()) + 1;

  std::string fields;
  for (const std::string* plain : {&aText, &bText}) {
    const std::string positive = PadLeft(*plain, n);
    // -0 is 0; inverting and adding 1 would carry out of the field.
    const std::string negative = positive.find('1') == std::string::npos ? positive : NegateFixedWidth(*this, positive);
    fields += negative + positive;
  }
  return BinToBytes(Count5(*this, n) + fields);
}

myByteArray TConversion::FillMatrixTailBytes(std::int32_t width, std::int32_t height) const {
  std::string tx = NegToBin(-10 * width);
  std::string ty = NegToBin(-10 * height);
  const std::size_t l = std::max(tx.size(), ty.size());
  tx = PadLeft(tx, l, '1');
  ty = PadLeft(ty, l, '1');
  return BinToBytes("00" + std::string("0") + Count5(*this, l) + tx + ty);
}

// One STRAIGHTEDGERECORD along an axis. A negative delta is written with
// NegToBin, a positive one as '0' and its plain text; NumBits is the delta's
// width minus 2.
std::string TConversion::StraightEdge(bool vertical, std::int32_t deltaTwips) const {
  const std::string delta = deltaTwips < 0 ? NegToBin(deltaTwips) : "0" + PlainBin(deltaTwips);
  return "11" + Count4(*this, delta.size() - 2) + "0" + (vertical ? "1" : "0") + delta;
}

myByteArray TConversion::ShapeOutlineBytes(std::int32_t width, std::int32_t height) const {
  const std::string x = PlainBin(10 * width);
  const std::string y = PlainBin(10 * height);
  // The move field must hold both coordinates with a sign digit each.
  const std::size_t moveBits = std::max(y.size() + 2, x.size() + 1);

  std::string text = "000101" + Count5(*this, moveBits) + PadLeft(x, moveBits) + PadLeft(y, moveBits) + "10";

  // Each side is drawn with as few edges as fit the record's delta; sides
  // split into equal parts (the first ones one twip longer where needed), so
  // the outline closes where it began.
  auto side = [&](bool vertical, std::int32_t lengthTwips, int sign) {
    const std::int32_t parts = (lengthTwips + kMaxEdgeTwips - 1) / kMaxEdgeTwips;
    for (std::int32_t k = 0; k < parts; ++k) {
      const std::int32_t part = lengthTwips / parts + (k < lengthTwips % parts ? 1 : 0);
      text += StraightEdge(vertical, sign * part);
    }
  };
  side(false, 20 * width, -1);  // left along the bottom
  side(true, 20 * height, -1);  // up the left side
  side(false, 20 * width, +1);  // right along the top
  side(true, 20 * height, +1);  // down the right side
  text += "000000";             // end of shape
  return BinToBytes(text);
}

myByteArray TConversion::TranslateMatrixBytes(double x, double y) const {
  const std::string tx = PlainBin(Round(x * 20));
  const std::string ty = PlainBin(Round(y * 20));
  const std::size_t n = std::max(tx.size(), ty.size()) + 1;
  return BinToBytes("0" + std::string("0") + Count5(*this, n) + PadLeft(tx, n) + PadLeft(ty, n));
}

std::string TConversion::TranslateBits(double x, double y) const {
  if (x == 0 && y == 0) return "00000";
  const std::string tx = PlainBin(Round(x * 20));
  const std::string ty = PlainBin(Round(y * 20));
  const std::size_t m = std::max(tx.size(), ty.size()) + 1;
  return Count5(*this, m) + PadLeft(tx, m) + PadLeft(ty, m);
}

myByteArray TConversion::ScaleTranslateMatrixBytes(double scaleX, double scaleY, double x, double y) const {
  if (scaleX == 0 && scaleY == 0) return myByteArray{0x00};
  const std::string sx = RealToFixedBin(scaleX);
  const std::string sy = RealToFixedBin(scaleY);
  const std::size_t n = std::max(sx.size(), sy.size()) + 1;
  return BinToBytes("1" + Count5(*this, n) + PadLeft(sx, n) + PadLeft(sy, n) + "0" + TranslateBits(x, y));
}
