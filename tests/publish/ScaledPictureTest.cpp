#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collection/JpegHeader.h"
#include "publish/ScaledPicture.h"
#include "publish/StrippedJpeg.h"
#include "publish/WebWidths.h"
#include "tests/support/Jpeg.h"

namespace {

constexpr const char* kComment = "shot at the secret place";

std::string U16(unsigned v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
std::string U32(unsigned v) { return U16(v & 0xFFFF) + U16(v >> 16); }

std::string Segment(unsigned char marker, const std::string& body) {
  const std::size_t length = body.size() + 2;
  return std::string{'\xFF', static_cast<char>(marker), static_cast<char>(length >> 8),
                     static_cast<char>(length & 0xFF)} +
         body;
}

// A camera's metadata before the picture's own segments: Exif with the
// orientation and a GPS position (latitude "N"), and a comment.
std::string WithCameraMetadata(const std::string& jpeg, unsigned orientation) {
  const std::string gpsAt = U32(8 + 2 + 2 * 12 + 4);
  const std::string tiff = "II*" + std::string(1, '\0') + U32(8) +                               // header, IFD0 at 8
                           U16(2) + U16(0x0112) + U16(3) + U32(1) + U16(orientation) + U16(0) +  // orientation
                           U16(0x8825) + U16(4) + U32(1) + gpsAt + U32(0) +                      // GPS IFD
                           U16(1) + U16(0x0001) + U16(2) + U32(2) + std::string("N\0\0\0", 4) + U32(0);
  return jpeg.substr(0, 2) + Segment(0xE1, std::string("Exif\0\0", 6) + tiff) + Segment(0xFE, kComment) +
         jpeg.substr(2);
}

// A wide picture, red on its left half and blue on its right.
std::string TwoHalves(int width, int height) {
  std::vector<unsigned char> pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool left = x < width / 2;
      pixels.insert(pixels.end(),
                    {static_cast<unsigned char>(left ? 220 : 20), 20, static_cast<unsigned char>(left ? 20 : 220)});
    }
  }
  return CompressJpeg(pixels, width, height, TJPF_RGB, TJSAMP_444);
}

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

// The red and blue of the pixel at x, y.
std::pair<int, int> RedBlue(const std::vector<std::uint8_t>& jpeg, int x, int y) {
  tjhandle handle = tjInitDecompress();
  int width = 0, height = 0, subsampling = 0, colours = 0;
  tjDecompressHeader3(handle, jpeg.data(), jpeg.size(), &width, &height, &subsampling, &colours);
  std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 3);
  tjDecompress2(handle, jpeg.data(), jpeg.size(), pixels.data(), width, 0, height, TJPF_RGB, 0);
  tjDestroy(handle);
  const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
  return {pixels[at], pixels[at + 2]};
}

JpegSize SizeOf(const std::vector<std::uint8_t>& jpeg) { return ReadJpegSize(jpeg, "scaled"); }

bool Holds(const std::vector<std::uint8_t>& jpeg, const std::string& text) {
  return std::string(jpeg.begin(), jpeg.end()).find(text) != std::string::npos;
}

// Each size made of a camera's picture, scaled, carried or turned upright:
// no Exif (GPS, orientation) and no comment in any, each the size asked,
// each the right way up (red at the top once turned, at the left else).
TEST(ScaledPicture, EverySizeIsUprightAndWithoutMetadata) {
  const struct {
    const char* name;
    unsigned orientation;
    ScaleTarget target;
    bool redTop;  // else red left
    int frame;    // progressive (C2) for the web, baseline (C0) for movies and as the original was
  } rows[] = {
      {"scaled down", 1, {{32, 16}}, false, 0xC2},
      {"scaled down as a baseline JPEG", 1, {{32, 16}, JpegLayout::Baseline}, false, 0xC0},
      {"its own size: carried as it is", 1, {{64, 32}}, false, 0xC0},
      {"turned a quarter", 6, {{32, 64}}, true, 0xC2},
      {"turned a quarter and scaled down", 6, {{16, 32}}, true, 0xC2},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    const std::vector<std::uint8_t> camera = Bytes(WithCameraMetadata(TwoHalves(64, 32), r.orientation));
    const std::vector<ScaleTarget> targets{r.target};
    const std::vector<std::uint8_t> out = ScalePicture(camera, targets, "camera.jpg").at(0);
    EXPECT_FALSE(Holds(out, "Exif"));
    EXPECT_FALSE(Holds(out, kComment));
    EXPECT_EQ(SizeOf(out), (JpegSize{r.target.Size.Width, r.target.Size.Height}));
    const auto [red, blue] =
        r.redTop ? RedBlue(out, r.target.Size.Width / 2, 2) : RedBlue(out, 2, r.target.Size.Height / 2);
    EXPECT_GT(red, 150);
    EXPECT_LT(blue, 100);
    EXPECT_EQ(ReadJpegFrame(out, "scaled").Marker, r.frame);
  }
}

// Several sizes of one picture at once, each made from the next larger:
// each the size asked, whatever the picture's colours, turned upright
// before any is made, and a picture cut short scaled as far as it goes.
TEST(ScaledPicture, SeveralSizesOfOnePicture) {
  const std::string detailed = MakeDetailedJpeg(64, 32);
  const struct {
    const char* name;
    std::string jpeg;
    bool turned;
  } rows[] = {
      {"colour", TwoHalves(64, 32), false},
      {"turned a quarter", WithCameraMetadata(TwoHalves(64, 32), 6), true},
      {"CMYK", MakeDetailedJpeg(64, 32, TJPF_CMYK), false},
      {"grey", MakeDetailedJpeg(64, 32, TJPF_GRAY), false},
      {"cut short", detailed.substr(0, detailed.size() * 2 / 3), false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    std::vector<ScaleTarget> targets;
    for (const PictureSize size : {PictureSize{48, 24}, PictureSize{16, 8}, PictureSize{32, 16}}) {
      targets.push_back({r.turned ? PictureSize{size.Height, size.Width} : size});
    }
    const auto out = ScalePicture(Bytes(r.jpeg), targets, "camera.jpg");
    for (std::size_t k = 0; k < targets.size(); ++k) {
      EXPECT_EQ(SizeOf(out[k]), (JpegSize{targets[k].Size.Width, targets[k].Size.Height}));
      if (r.turned) {
        EXPECT_GT(RedBlue(out[k], targets[k].Size.Width / 2, 1).first, 150);
      }
    }
  }
}

TEST(ScaledPicture, CarryingAPictureKeepsItsCodedDataAndColourProfile) {
  const std::string plain = TwoHalves(64, 32);
  const std::string icc = std::string("ICC_PROFILE\0", 12) + "\x01\x01profile";
  const std::string withProfile = plain.substr(0, 20) + Segment(0xE2, icc) + plain.substr(20);  // after JFIF
  const std::vector<std::uint8_t> stripped = StrippedJpeg(Bytes(WithCameraMetadata(withProfile, 1)));
  EXPECT_EQ(stripped, Bytes(withProfile));
}

TEST(ScaledPicture, UprightSizeTurnsWithTheOrientation) {
  EXPECT_EQ(UprightSize(Bytes(WithCameraMetadata(TwoHalves(64, 32), 1)), "a"), (PictureSize{64, 32}));
  EXPECT_EQ(UprightSize(Bytes(WithCameraMetadata(TwoHalves(64, 32), 8)), "a"), (PictureSize{32, 64}));
}

TEST(WebWidths, NoneWiderThanTheOriginalAndAscending) {
  const struct {
    std::vector<std::int32_t> asked;
    std::int32_t original;
    std::vector<std::int32_t> widths;
  } rows[] = {
      {{480, 960, 1440, 1920}, 6000, {480, 960, 1440, 1920}},
      {{480, 960, 1440, 1920}, 1000, {480, 960, 1000}},
      {{1920, 480, 480}, 6000, {480, 1920}},
      {{480, 960}, 64, {64}},
  };
  for (const auto& r : rows) EXPECT_EQ(WebWidths(r.asked, r.original), r.widths) << r.original;
}

// The width a browser fetches: covering the stage at the pixel ratio,
// counted at most 2, else the largest.
TEST(WebWidths, TheSmallestThatCoversTheStage) {
  const std::vector<std::int32_t> widths{480, 960, 1440, 1920};
  EXPECT_EQ(PhoneWidth(widths), 960) << "390 CSS pixels at ratio 3 count as 780";
  EXPECT_EQ(WidthFor(widths, 390, 1), 480);
  EXPECT_EQ(WidthFor(widths, 481, 1), 960);
  EXPECT_EQ(DesktopWidth(widths, 6000, 4000), 1440) << "3:2 fitted into 1366 x 768 is 1152 wide";
  EXPECT_EQ(DesktopWidth(widths, 4000, 6000), 960) << "2:3 is 512 wide";
  EXPECT_EQ(WidthFor(std::vector<std::int32_t>{480, 960}, 1366, 2), 960);
  EXPECT_EQ(MiddleWidth(widths), 960);
  EXPECT_EQ(MiddleWidth(std::vector<std::int32_t>{480, 640}), 640);
}

}  // namespace
