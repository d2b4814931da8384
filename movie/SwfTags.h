#pragma once
// Reads the tag sequence of an uncompressed SWF file: the web folder takes
// the pictures out of a movie with it, and tests check movies with it. It
// walks the tag headers on its own, so a wrong length anywhere shows up as
// a wrong sequence or an overrun.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

struct SwfTag {
  std::uint16_t Code = 0;
  std::size_t Offset = 0;      // of the tag header in the file
  std::size_t HeaderSize = 0;  // 2 or 6
  std::span<const std::uint8_t> Body;

  std::uint16_t UI16(std::size_t at) const { return static_cast<std::uint16_t>(Body[at] | Body[at + 1] << 8); }
};

inline std::uint32_t ReadUI32(std::span<const std::uint8_t> b, std::size_t at) {
  return std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8 | std::uint32_t{b[at + 2]} << 16 |
         std::uint32_t{b[at + 3]} << 24;
}

// The tags of a whole file, End included. A movie is this tool's own, so
// one that does not read (a length past the end, bytes after End) is a
// fault of the program: std::logic_error.
std::vector<SwfTag> ReadSwfTags(std::span<const std::uint8_t> file);
