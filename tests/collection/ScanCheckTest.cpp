#include "collection/ScanCheck.h"

#include <gtest/gtest.h>

#include "tests/support/BrokenJpeg.h"
#include "tests/support/Jpeg.h"
#include "tests/support/TempDir.h"

namespace {

TEST(ScanCheck, HearsWhatTheDecoderSaysAboutThePictureData) {
  TempDir dir;
  const std::string photo = MakeDetailedJpeg(160, 120);
  const struct { const char* name; std::string bytes; const char* problem; } rows[] = {
      {"whole", photo, nullptr},
      {"progressive", MakeJpeg(200, 100, {1, 2, 3}, true), nullptr},
      {"CMYK", MakeDetailedJpeg(64, 48, TJPF_CMYK), nullptr},
      {"grey", MakeDetailedJpeg(64, 48, TJPF_GRAY), nullptr},
      {"cut in its picture data", CutInScan(photo),
       "its picture data is damaged (Premature end of JPEG file); players show stripes where it fails"},
      {"a stray marker", WithStrayMarker(photo), "its picture data is damaged (Corrupt JPEG data"},
      {"no picture data", HeaderOnly(photo), "its picture data cannot be decoded ("},
      {"over the pixel bound", WithClaimedSize(photo, 9000, 9000), nullptr},
  };
  for (const auto& r : rows) {
    const std::optional<std::string> problem = ScanFileProblem(dir.Write("p.jpg", r.bytes));
    if (!r.problem) {
      EXPECT_EQ(problem, std::nullopt) << r.name;
    } else {
      ASSERT_TRUE(problem) << r.name;
      EXPECT_TRUE(problem->starts_with(r.problem)) << r.name << ": " << *problem;
    }
  }
}

}  // namespace
