#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "common/Errors.h"
#include "movie/JZZH.h"

using orbilux::PadLeft;
using orbilux::Round;
using orbilux::StrToInt;
using orbilux::Trunc;

namespace {

const TConversion c;

TEST(Conversion, DecToBin) {
  const struct {
    const char* in;
    const char* out;
  } rows[] = {
      {"0", ""},
      {"1", "1"},
      {"5", "101"},
      {"11000", "10101011111000"},
      {"8000", "1111101000000"},
      {"2147483647", "1111111111111111111111111111111"},
  };
  for (const auto& r : rows) EXPECT_EQ(c.DecToBin(r.in), r.out) << r.in;
}

TEST(Conversion, IntegerParsingRefusesWhatIsNotA32BitInteger) {
  for (const char* bad : {"", "abc", "12x", "2147483648", "-2147483649", "99999999999", "$", "$G1"}) {
    try {
      c.DecToBin(bad);
      ADD_FAILURE() << "accepted " << bad;
    } catch (const ConvertError& e) {
      EXPECT_EQ(e.what(), "'" + std::string(bad) + "' is not a valid integer value");
    }
  }
  EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(StrToInt("$FF"), 255);
  EXPECT_EQ(StrToInt("$ffffffff"), -1);
}

TEST(Conversion, BinToInt) {
  const struct {
    const char* in;
    std::int32_t out;
  } rows[] = {
      {"1011", 11},
      {"10a1", 9},
      {"", 0},
      {"1111111111111111111111111111111", INT32_MAX},
      // The exponent wraps modulo 32: a 33-digit '1' followed by zeros adds 2^0.
      {"100000000000000000000000000000000", 1},
  };
  for (const auto& r : rows) EXPECT_EQ(c.BinToInt(r.in), r.out) << r.in;
}

TEST(Conversion, NegToBinIsOneDigitLongerAndIgnoresTheSign) {
  const struct {
    std::int32_t in;
    const char* out;
  } rows[] = {
      {-5, "1011"},
      {5, "1011"},
      {4, "1100"},
      {-1, "11"},
      {1, "11"},
      {5500, "10101010000100"},
      {-11000, "101010100001000"},
      {-8000, "10000011000000"},
      {65535, "10000000000000001"},
      {32768, "11000000000000000"},
  };
  for (const auto& r : rows) {
    const std::string text = c.NegToBin(r.in);
    EXPECT_EQ(text, r.out) << r.in;
    EXPECT_EQ(text.size(), c.DecToBin(std::to_string(std::abs(r.in))).size() + 1) << r.in;
  }
}

TEST(Conversion, RealToFixedBinTruncates) {
  const struct {
    double in;
    const char* out;
  } rows[] = {
      {1.0, "10000000000000000"},
      {0.25, "0100000000000000"},
      {0.0, "0000000000000000"},
      {1.3567714780886357, "10101101101010101"},
      {548 / 403.9, "10101101101010101"},
      {398 / 299.9, "10101001110111101"},
      {20.0, "101000000000000000000"},
      // Just below 1 + 3/65536 gives the fraction digits of 2, not 3.
      {std::nextafter(1.0 + 3.0 / 65536, 0.0), "10000000000000010"},
      {1.0 + 3.0 / 65536, "10000000000000011"},
  };
  for (const auto& r : rows) EXPECT_EQ(c.RealToFixedBin(r.in), r.out) << r.in;
}

TEST(Conversion, BinToHexTakesAPartialLeftGroupAsTheFirstDigit) {
  const struct {
    const char* in;
    const char* out;
  } rows[] = {
      {"101", "5"}, {"11111", "1F"}, {"", ""}, {"1010", "A"}, {"11001001", "C9"}, {"1x1", "5"}, {"111111111111", "FFF"},
  };
  for (const auto& r : rows) EXPECT_EQ(c.BinToHex(r.in), r.out) << r.in;
}

TEST(Conversion, HexToDec) {
  EXPECT_EQ(c.HexToDec("C9"), "201");
  EXPECT_EQ(c.HexToDec("00"), "0");
  EXPECT_EQ(c.HexToDec("7FFFFFFF"), "2147483647");
  EXPECT_THROW(c.HexToDec("XY"), ConvertError);
}

TEST(Conversion, BinToBytesPadsToWholeBytes) {
  const struct {
    const char* in;
    myByteArray out;
  } rows[] = {
      {"1", {0x80}},        {"01111", {0x78}},           {"", {}}, {"1111111100000001", {0xFF, 0x01}},
      {"11111111", {0xFF}}, {"111111111", {0xFF, 0x80}},
  };
  for (const auto& r : rows) EXPECT_EQ(c.BinToBytes(r.in), r.out) << r.in;
}

TEST(Conversion, RoundGoesHalfToEvenAndTruncGoesTowardZero) {
  const struct {
    double in;
    std::int64_t round, trunc;
  } rows[] = {
      {2.5, 2, 2},    {3.5, 4, 3},    {7.5, 8, 7},    {-2.5, -2, -2},
      {2.4999, 2, 2}, {2.5001, 3, 2}, {-1.7, -2, -1}, {5500.0, 5500, 5500},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(Round(r.in), r.round) << r.in;
    EXPECT_EQ(Trunc(r.in), r.trunc) << r.in;
  }
}

TEST(Conversion, PadLeft) {
  EXPECT_EQ(PadLeft("", 3), "000");
  EXPECT_EQ(PadLeft("101", 5), "00101");
  EXPECT_EQ(PadLeft("101", 2), "101");
  EXPECT_EQ(PadLeft("011", 5, '1'), "11011");
}

}  // namespace
