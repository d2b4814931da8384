#pragma once
// A JPEG picture scaled to given sizes with libvips: decoded once, shrunk
// on load through the JPEG decoder's own scaling as far as the largest size
// allows, turned upright as its Exif orientation says, converted to sRGB
// when it carries another colour profile, resampled (cubic) to each size,
// each from the next larger, and encoded without any metadata. A size
// that is the picture's own, where nothing is to be turned, is the picture
// itself with its metadata dropped losslessly, not encoded again.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct PictureSize {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  friend bool operator==(const PictureSize&, const PictureSize&) = default;
};

enum class JpegLayout {
  Progressive,  // for web pages: shows whole at once, sharpening as it loads
  Baseline,     // for movies: every SWF player shows it
};

struct ScaleTarget {
  PictureSize Size;
  JpegLayout Layout = JpegLayout::Progressive;
};

// The quality the scaled pictures are encoded with.
inline constexpr int kScaledQuality = 82;

// The picture's size as shown, turned as its Exif orientation says. Throws
// AppError naming the picture when it cannot be read.
PictureSize UprightSize(std::span<const std::uint8_t> jpeg, const std::string& name);

// The upright picture's size scaled to width (the height in proportion,
// rounded, at least 1).
PictureSize SizeAtWidth(PictureSize upright, std::int32_t width);

// The upright picture's size scaled down to fit within box, keeping its
// proportions; never enlarged.
PictureSize SizeWithin(PictureSize upright, PictureSize box);

// One JPEG file for each target, in order. Throws AppError naming the
// picture when it cannot be decoded or encoded.
std::vector<std::vector<std::uint8_t>> ScalePicture(std::span<const std::uint8_t> jpeg,
                                                    std::span<const ScaleTarget> targets, const std::string& name);
