#include "publish/HintPicture.h"

#include <zlib.h>

#include <array>
#include <stdexcept>
#include <string_view>

#include "movie/HintBitmap.h"

namespace {

using hint_bitmap::kHeight;
using hint_bitmap::kWidth;

std::vector<std::uint8_t> InflatedHintPixels() {
  const auto stream = hint_bitmap::CompressedPixels();
  std::vector<std::uint8_t> pixels(hint_bitmap::kPixelBytes);
  auto size = static_cast<uLongf>(pixels.size());
  if (uncompress(pixels.data(), &size, stream.data(), static_cast<uLong>(stream.size())) != Z_OK ||
      size != pixels.size()) {
    throw std::logic_error("the hint bitmap does not inflate to its size");
  }
  return pixels;
}

// PNG rows: a filter byte (0, none) and then red, green, blue, alpha per
// pixel, the colours divided by alpha again.
std::vector<std::uint8_t> PngRows(const std::vector<std::uint8_t>& argb) {
  std::vector<std::uint8_t> rows;
  rows.reserve(static_cast<std::size_t>(kHeight) * (1 + kWidth * 4));
  for (int y = 0; y < kHeight; ++y) {
    rows.push_back(0);
    for (int x = 0; x < kWidth; ++x) {
      const std::uint8_t* p = &argb[(static_cast<std::size_t>(y) * kWidth + x) * 4];
      const int alpha = p[0];
      for (int channel = 1; channel <= 3; ++channel) {
        const int colour = alpha == 0 ? 0 : (p[channel] * 255 + alpha / 2) / alpha;
        rows.push_back(static_cast<std::uint8_t>(colour));
      }
      rows.push_back(p[0]);
    }
  }
  return rows;
}

void PutUint32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// One chunk: length, type, data and the CRC of type and data.
void PutChunk(std::vector<std::uint8_t>& out, std::string_view type, const std::vector<std::uint8_t>& data) {
  PutUint32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t typeAt = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(0, out.data() + typeAt, static_cast<uInt>(out.size() - typeAt));
  PutUint32(out, static_cast<std::uint32_t>(crc));
}

}  // namespace

std::vector<std::uint8_t> HintPng() {
  const std::vector<std::uint8_t> rows = PngRows(InflatedHintPixels());
  uLongf size = compressBound(static_cast<uLong>(rows.size()));
  std::vector<std::uint8_t> compressed(size);
  if (compress2(compressed.data(), &size, rows.data(), static_cast<uLong>(rows.size()), 9) != Z_OK) {
    throw std::runtime_error("zlib could not compress the hint picture");
  }
  compressed.resize(size);

  std::vector<std::uint8_t> header;
  PutUint32(header, kWidth);
  PutUint32(header, kHeight);
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, filters, no interlace

  std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", compressed);
  PutChunk(png, "IEND", {});
  return png;
}
