#pragma once
// The hint "Use the mouse drag screen to view": a 218 x 32 picture in
// format 5 (alpha, red, green, blue, premultiplied), stored as one zlib
// stream made once by tools/ and committed; the build never compresses.

#include <cstddef>
#include <cstdint>
#include <span>

namespace hint_bitmap {

inline constexpr int kWidth = 218;
inline constexpr int kHeight = 32;
inline constexpr std::size_t kPixelBytes = static_cast<std::size_t>(kWidth) * kHeight * 4;

// The zlib stream that inflates to kPixelBytes bytes.
std::span<const std::uint8_t> CompressedPixels();

}  // namespace hint_bitmap
