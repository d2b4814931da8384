#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "movie/MovieStream.h"

namespace {

std::vector<std::uint8_t> Content(const MovieStream& s) { return {s.Bytes().begin(), s.Bytes().end()}; }

TEST(MovieStream, WritesLittleEndianAtThePositionAndGrowsPastTheEnd) {
  MovieStream s;
  s.WriteByte(0xAB);
  s.WriteUI16(0x1234);
  s.WriteUI32(0xDEADBEEF);
  s.WriteSI32(-2);
  EXPECT_EQ(Content(s), (std::vector<std::uint8_t>{0xAB, 0x34, 0x12, 0xEF, 0xBE, 0xAD, 0xDE, 0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(s.Position(), 11u);

  // Overwriting inside keeps the size; running over the end grows it.
  s.Seek(1);
  s.WriteUI16(0x0000);
  s.Seek(9);
  s.WriteUI32(0x04030201);
  EXPECT_EQ(Content(s),
            (std::vector<std::uint8_t>{0xAB, 0x00, 0x00, 0xEF, 0xBE, 0xAD, 0xDE, 0xFE, 0xFF, 0x01, 0x02, 0x03, 0x04}));
  EXPECT_EQ(s.Position(), 13u);
}

TEST(MovieStream, ClaimHandsOutBytesToFillAndAGapPastTheEndIsZero) {
  MovieStream s;
  s.Reserve(64);
  s.WriteByte(1);
  s.Seek(3);
  const auto claimed = s.Claim(2);
  claimed[0] = 7;
  claimed[1] = 8;
  EXPECT_EQ(Content(s), (std::vector<std::uint8_t>{1, 0, 0, 7, 8}));
  EXPECT_EQ(s.Position(), 5u);

  s.Clear();
  EXPECT_EQ(s.Size(), 0u);
  EXPECT_EQ(s.Position(), 0u);
}

}  // namespace
