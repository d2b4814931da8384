#include <gtest/gtest.h>

#include "collection/JpegDecoder.h"
#include "collection/PictureFile.h"
#include "collection/ScanCheck.h"
#include "tests/support/BrokenJpeg.h"
#include "tests/support/Jpeg.h"
#include "tests/support/ManyScanJpeg.h"
#include "tests/support/TempDir.h"

namespace {

// The file with some of its picture data changed, in a way no walk of its
// structure can see: only decoding finds it.
std::string Scrambled(std::string jpeg) {
  const std::size_t from = ScanDataAt(jpeg) + 16;
  for (std::size_t i = from; i < from + 64; ++i) {
    if (jpeg[i] != '\xFF' && jpeg[i - 1] != '\xFF') jpeg[i] = static_cast<char>(jpeg[i] ^ 0x55);
  }
  return jpeg;
}

TEST(ScanCheck, TheWalkAndTheDecodeFindWhatIsWrongWithThePictureData) {
  TempDir dir;
  const std::string photo = MakeDetailedJpeg(160, 120);
  const std::string damaged = "its picture data is damaged (";
  const struct {
    const char* name;
    std::string bytes;
    const char* walk;    // what the walk of the structure says, as a prefix
    const char* decode;  // what the decode says
  } rows[] = {
      {"whole", photo, nullptr, nullptr},
      {"progressive", MakeJpeg(200, 100, {1, 2, 3}, true), nullptr, nullptr},
      {"CMYK", MakeDetailedJpeg(64, 48, TJPF_CMYK), nullptr, nullptr},
      {"grey", MakeDetailedJpeg(64, 48, TJPF_GRAY), nullptr, nullptr},
      {"with restart markers", MakeJpegWithRestarts(160, 120, 2), nullptr, nullptr},
      {"cut in its picture data", CutInScan(photo),
       "its picture data is damaged (Premature end of JPEG file); players show stripes where it fails",
       "its picture data is damaged (Premature end of JPEG file); players show stripes where it fails"},
      {"a stray marker", WithStrayMarker(photo), "its picture data is damaged (a restart marker out of place)",
       "its picture data is damaged (Corrupt JPEG data"},
      {"scrambled picture data", Scrambled(photo), nullptr, "its picture data is damaged (Corrupt JPEG data"},
      {"no picture data", HeaderOnly(photo), "its picture data cannot be decoded (",
       "its picture data cannot be decoded ("},
      {"over the pixel bound", WithClaimedSize(photo, 9000, 9000), nullptr, nullptr},
      {"many scans", MakeManyScanJpeg(64, 48, 300), "has 310 scans; players may take long to show it",
       "has 310 scans; players may take long to show it"},
  };
  for (const auto& r : rows) {
    const std::string path = dir.Write("p.jpg", r.bytes);
    const std::pair<const char*, std::optional<std::string>> checks[] = {{r.walk, StructureProblem(path)},
                                                                         {r.decode, ScanFileProblem(path)}};
    for (const auto& [expected, problem] : checks) {
      if (!expected) {
        EXPECT_EQ(problem, std::nullopt) << r.name;
      } else {
        ASSERT_TRUE(problem) << r.name << ": " << expected;
        EXPECT_TRUE(problem->starts_with(expected)) << r.name << ": " << *problem;
      }
    }
  }
}

// Each scan costs the decoder a pass over the picture's blocks: 100,000
// scans of a picture of 1920 x 1080 would take minutes.
TEST(ScanCheck, TheDecoderReadsNoFurtherThanTheScanBound) {
  TempDir dir;
  PictureFile file(dir.Write("many.jpg", MakeManyScanJpeg(1920, 1080, 100000)));
  JpegFileDecoder d(file);
  ASSERT_TRUE(d.ReadHeader());
  ASSERT_TRUE(d.Guarded([&] { jpeg_start_decompress(&d.info); }));
  EXPECT_TRUE(d.StoppedAtScanBound());
  EXPECT_EQ(d.info.input_scan_number, kMaxScans + 1);
  EXPECT_EQ(d.FirstWarning(), std::nullopt);
}

}  // namespace
