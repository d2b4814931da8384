#pragma once
// The smallest movie a player shows: one frame of a background colour, for
// tests of the preview that must not depend on the movie writer.

#include <cstdint>
#include <string>

// An uncompressed version-9 movie of width x height pixels and one colour.
inline std::string TinySwf(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  // The frame rectangle: 5 bits of field width, then Xmin, Xmax, Ymin, Ymax in twips.
  constexpr int kBits = 20;
  std::string bits;
  auto put = [&bits](std::uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) bits += ((value >> i) & 1) ? '1' : '0';
  };
  put(kBits, 5);
  put(0, kBits);
  put(static_cast<std::uint32_t>(width * 20), kBits);
  put(0, kBits);
  put(static_cast<std::uint32_t>(height * 20), kBits);
  while (bits.size() % 8) bits += '0';
  std::string rect;
  for (std::size_t i = 0; i < bits.size(); i += 8) rect += static_cast<char>(std::stoi(bits.substr(i, 8), nullptr, 2));

  std::string body = rect + std::string("\x00\x0C\x01\x00", 4);
  body += std::string("\x44\x11\x01\x00\x00\x00", 6);  // FileAttributes
  body += std::string("\x43\x02", 2) + static_cast<char>(r) + static_cast<char>(g) + static_cast<char>(b);
  body += std::string("\x40\x00\x00\x00", 4);  // ShowFrame, End
  const std::uint32_t length = static_cast<std::uint32_t>(8 + body.size());
  std::string file = "FWS\x09";
  for (int i = 0; i < 4; ++i) file += static_cast<char>((length >> (8 * i)) & 0xFF);
  return file + body;
}
