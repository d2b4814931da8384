#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>
#include <string>
#include <vector>

#include "movie/GalleryScript.h"
#include "movie/HintBitmap.h"
#include "movie/Tags.h"
#include "tests/support/Hex.h"

namespace {

const TConversion c;

// What one tag function leaves in a fresh stream, with its patched lengths
// filled in.
std::vector<std::uint8_t> Written(const std::function<void(MovieStream&, tags::PatchList&)>& write) {
  MovieStream s;
  tags::PatchList patches;
  write(s, patches);
  for (const auto& p : patches) {
    s.Seek(p.Position);
    s.WriteUI32(p.Value);
  }
  return {s.Bytes().begin(), s.Bytes().end()};
}

struct TagRow {
  const char* name;
  std::function<void(MovieStream&, tags::PatchList&)> write;
  const char* bytes;
};

// A one-picture movie at 550 x 400 with a 1000-byte picture file: every tag
// but the script and the hint bitmap, whose bytes come from elsewhere.
const TagRow kOnePicture550x400[] = {
    {"file header", [](MovieStream& s, auto&) { tags::WriteFileHeader(s, c, 550, 400); },
     "46 57 53 09 00 00 00 00 78 00 05 5F 00 00 0F A0 00 00 0C 01 00"},
    {"file attributes", [](MovieStream& s, auto&) { tags::WriteFileAttributes(s); }, "44 11 01 00 00 00"},
    {"background", [](MovieStream& s, auto&) { tags::WriteBackgroundColor(s); }, "43 02 CC CC CC"},
    {"picture bitmap header", [](MovieStream& s, auto&) { tags::WritePictureBitmapHeader(s, 0, 1000); },
     "7F 05 EA 03 00 00 01 00"},
    // Even a tiny picture gets the long header form.
    {"short picture bitmap header", [](MovieStream& s, auto&) { tags::WritePictureBitmapHeader(s, 0, 21); },
     "7F 05 17 00 00 00 01 00"},
    {"picture shape", [](MovieStream& s, auto& p) { tags::WritePictureShape(s, c, 0, 550, 400, p); },
     "BF 00 37 00 00 00 02 00 75 50 8A BE 60 C0 7D 00 02 43 FF FF D9 40 00 05 00 00 00 43 01 00 "
     "D9 40 00 05 00 00 0E AA 13 06 00 00 20 15 CA BE 1F 41 7A 55 08 F1 83 03 D1 57 C7 8B E8 00 "
     "00"},
    {"picture clip", [](MovieStream& s, auto&) { tags::WritePictureClip(s, 0); },
     "FF 09 10 00 00 00 03 00 01 00 86 06 06 01 00 02 00 00 40 00 00 00"},
    {"picture placement", [](MovieStream& s, auto& p) { tags::WritePicturePlacement(s, c, 0, 550, 400, p); },
     "BF 06 0F 00 00 00 26 01 00 03 00 1C AB E1 F4 00 70 69 63 31 00"},
    {"hint shape", [](MovieStream& s, auto&) { tags::WriteHintShape(s, 1); },
     "BF 00 35 00 00 00 05 00 6D DF 51 09 EC 10 A0 00 02 43 FF FF D9 3F ED 34 FE 00 00 43 04 00 "
     "D9 3F ED 34 FE 00 0D BB EF B0 40 00 20 15 A8 84 0A 05 E1 77 CF 2D 81 F0 44 1F 95 3F 80"},
    {"hint clip", [](MovieStream& s, auto&) { tags::WriteHintClip(s, 1); },
     "FF 09 10 00 00 00 06 00 01 00 86 06 06 01 00 05 00 00 40 00 00 00"},
    {"hint placement", [](MovieStream& s, auto&) { tags::WriteHintPlacement(s, 1); },
     "BF 06 13 00 00 00 26 03 00 06 00 C5 FF A6 FF 99 35 11 01 3F 74 69 70 73 00"},
    {"screen shape", [](MovieStream& s, auto& p) { tags::WriteScreenShape(s, 1, p); },
     "BF 00 22 00 00 00 07 00 6C 0E 9F 8F 44 95 DB 80 01 00 00 00 00 00 10 15 AF C7 5D BF C2 07 "
     "3F 1A 24 BC 1F 8D F1 5D B8 00"},
    {"screen clip", [](MovieStream& s, auto&) { tags::WriteScreenClip(s, 1); },
     "FF 09 10 00 00 00 08 00 01 00 86 06 06 01 00 07 00 00 40 00 00 00"},
    {"screen placement", [](MovieStream& s, auto&) { tags::WriteScreenPlacement(s, c, 1, 550, 400); },
     "BF 06 20 00 00 00 2E 05 00 08 00 C9 5B 55 54 EF 4E 55 F0 FA 00 69 00 40 10 00 00 53 63 72 "
     "65 65 6E 4D 61 69 6E 00"},
    {"show frame and end",
     [](MovieStream& s, auto&) {
       tags::WriteShowFrame(s);
       tags::WriteEnd(s);
     },
     "40 00 00 00"},
};

TEST(Tags, OnePictureAt550x400) {
  for (const auto& row : kOnePicture550x400) {
    EXPECT_EQ(Written(row.write), Hex(row.bytes)) << row.name;
  }
}

TEST(Tags, IdsAndDepthsFollowThePictureCount) {
  // Picture 4 of any movie, and the hint and screen tags after 12 pictures.
  EXPECT_EQ(Written([](MovieStream& s, auto&) { tags::WritePictureClip(s, 4); }),
            Hex("FF 09 10 00 00 00 0F 00 01 00 86 06 06 01 00 0E 00 00 40 00 00 00"));
  EXPECT_EQ(Written([](MovieStream& s, auto&) { tags::WriteHintPlacement(s, 12); }),
            Hex("BF 06 13 00 00 00 26 19 00 27 00 C5 FF A6 FF 99 35 11 01 3F 74 69 70 73 00"));
  EXPECT_EQ(Written([](MovieStream& s, auto&) { tags::WriteScreenClip(s, 12); }),
            Hex("FF 09 10 00 00 00 29 00 01 00 86 06 06 01 00 28 00 00 40 00 00 00"));
}

TEST(Tags, ScriptCarriesThePictureCount) {
  const auto bytes = Written([](MovieStream& s, auto&) { tags::WriteScript(s, 3); });
  const std::size_t length = gallery_script::BodyLength();
  std::vector<std::uint8_t> expected = {0x3F, 0x03};
  for (int k = 0; k < 4; ++k) expected.push_back(static_cast<std::uint8_t>(length >> (8 * k)));
  const myByteArray body = gallery_script::Body(3);
  expected.insert(expected.end(), body.begin(), body.end());
  EXPECT_EQ(bytes, expected);
}

TEST(Tags, HintBitmapIsA218By32PictureOfPremultipliedPixels) {
  const auto bytes = Written([](MovieStream& s, auto&) { tags::WriteHintBitmap(s, 1); });
  const std::size_t z = hint_bitmap::CompressedPixels().size();
  ASSERT_EQ(bytes.size(), 6 + 7 + z);
  const std::vector<std::uint8_t> head(bytes.begin(), bytes.begin() + 13);
  std::vector<std::uint8_t> expected = Hex("3F 09 00 00 00 00 04 00 05 DA 00 20 00");
  for (int k = 0; k < 4; ++k) expected[2 + k] = static_cast<std::uint8_t>((7 + z) >> (8 * k));
  EXPECT_EQ(head, expected);

  std::vector<std::uint8_t> pixels(hint_bitmap::kPixelBytes + 1);
  uLongf inflated = static_cast<uLongf>(pixels.size());
  ASSERT_EQ(uncompress(pixels.data(), &inflated, bytes.data() + 13, static_cast<uLong>(z)), Z_OK);
  EXPECT_EQ(inflated, 218u * 32u * 4u);
}

TEST(Tags, PicturePlacementGrowsWithTheNamesDigits) {
  auto length = [](std::size_t i) {
    return Written([i](MovieStream& s, auto& p) { tags::WritePicturePlacement(s, c, i, 550, 400, p); }).size();
  };
  EXPECT_EQ(length(9), length(8) + 1);    // pic9 -> pic10
  EXPECT_EQ(length(99), length(98) + 1);  // pic99 -> pic100
  EXPECT_EQ(length(10), length(9));
}

TEST(Tags, ScreenPlacementLengthFollowsItsMatrix) {
  const struct {
    int w, h;
    std::uint32_t length;
  } rows[] = {
      {400, 300, 31}, {300, 400, 32}, {550, 400, 32}, {800, 600, 32}, {1024, 768, 32}, {1920, 1080, 33},
  };
  for (const auto& r : rows) {
    const auto bytes = Written([&](MovieStream& s, auto&) { tags::WriteScreenPlacement(s, c, 1, r.w, r.h); });
    ASSERT_GE(bytes.size(), 6u);
    const std::uint32_t stored = bytes[2] | bytes[3] << 8 | bytes[4] << 16 | bytes[5] << 24;
    EXPECT_EQ(stored, r.length) << r.w << " x " << r.h;
    EXPECT_EQ(bytes.size(), 6 + r.length) << r.w << " x " << r.h;
  }
}

}  // namespace
