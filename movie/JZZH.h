#pragma once
// TConversion: the movie generator's numeral toolkit. Every bit-packed field
// of the movie is written as a text of '0' and '1' digits (most significant
// first); the fields are joined as texts and only the finished text is packed
// into bytes. Numbers reach binary text through their decimal text, and bytes
// leave through hexadecimal and decimal text, so the record encoders can be
// built from these operations step for step.

#include <cstdint>
#include <string>
#include <vector>

// A 0-based dynamic byte array whose length is its byte count.
using myByteArray = std::vector<std::uint8_t>;

class TConversion {
 public:
  // Decimal text of a 32-bit integer -> its plain binary text ("" for 0).
  std::string DecToBin(const std::string& decimal) const;
  // Binary text -> integer; characters other than '1' count as 0, and the
  // exponent wraps modulo 32.
  std::int32_t BinToInt(const std::string& binary) const;
  // Two's-complement text of -|n|, one digit longer than the plain text of |n|.
  std::string NegToBin(std::int32_t n) const;
  // Integer digits of x followed by 16 truncated fraction digits (16.16).
  std::string RealToFixedBin(double x) const;
  // Binary text -> upper-case hexadecimal text; a partial leftmost group of
  // one to three digits becomes the first hexadecimal digit.
  std::string BinToHex(const std::string& binary) const;
  // Hexadecimal text -> decimal text of its 32-bit value.
  std::string HexToDec(const std::string& hex) const;
  // Pads the text with '0' to whole bytes and packs it, first digit in the
  // most significant bit of byte 0.
  myByteArray BinToBytes(const std::string& binary) const;

  // The six record encoders (values in pixels in, twips out).
  myByteArray FrameRectBytes(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) const;
  myByteArray CenteredRectBytes(double width, double height) const;
  myByteArray FillMatrixTailBytes(std::int32_t width, std::int32_t height) const;
  myByteArray ShapeOutlineBytes(std::int32_t width, std::int32_t height) const;
  myByteArray TranslateMatrixBytes(double x, double y) const;
  myByteArray ScaleTranslateMatrixBytes(double scaleX, double scaleY, double x, double y) const;

 private:
  std::string TranslateBits(double x, double y) const;
  std::string PlainBin(std::int64_t value) const;
  std::string StraightEdge(bool vertical, std::int32_t deltaTwips) const;
};

namespace orbilux {

// Integer rules for reals: Round goes half to even, Trunc toward zero.
std::int64_t Round(double value);
std::int64_t Trunc(double value);

// Left-padding: fill in front to n characters; longer texts stay unchanged.
std::string PadLeft(const std::string& text, std::size_t n, char fill = '0');

// The run-time library's integer parsing: optional sign, decimal digits, or
// '$' and hexadecimal digits; anything else, or a value outside 32 bits,
// raises ConvertError.
std::int32_t StrToInt(const std::string& text);

}  // namespace orbilux
