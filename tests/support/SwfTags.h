#pragma once
// A small reader of an uncompressed SWF file's tag sequence, for tests: it
// walks the tag headers on its own, so a wrong length anywhere shows up as
// a wrong sequence or an overrun.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

struct SwfTag {
  std::uint16_t Code = 0;
  std::size_t Offset = 0;      // of the tag header in the file
  std::size_t HeaderSize = 0;  // 2 or 6
  std::span<const std::uint8_t> Body;

  std::uint16_t UI16(std::size_t at) const {
    return static_cast<std::uint16_t>(Body[at] | Body[at + 1] << 8);
  }
};

inline std::uint32_t ReadUI32(std::span<const std::uint8_t> b, std::size_t at) {
  return std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8 | std::uint32_t{b[at + 2]} << 16 |
         std::uint32_t{b[at + 3]} << 24;
}

// The tags of a whole file, End included; throws when a length runs past the
// end or bytes are left after End.
inline std::vector<SwfTag> ReadSwfTags(std::span<const std::uint8_t> file) {
  if (file.size() < 9) throw std::runtime_error("too short for a header");
  const std::size_t rectBits = 5 + 4 * (file[8] >> 3);
  std::size_t at = 8 + (rectBits + 7) / 8 + 4;
  std::vector<SwfTag> tags;
  for (;;) {
    if (at + 2 > file.size()) throw std::runtime_error("tag header past the end");
    SwfTag tag;
    tag.Offset = at;
    const std::uint16_t head = static_cast<std::uint16_t>(file[at] | file[at + 1] << 8);
    tag.Code = head >> 6;
    std::size_t length = head & 0x3F;
    tag.HeaderSize = 2;
    if (length == 0x3F) {
      if (at + 6 > file.size()) throw std::runtime_error("long header past the end");
      length = ReadUI32(file, at + 2);
      tag.HeaderSize = 6;
    }
    at += tag.HeaderSize;
    if (length > file.size() - at) throw std::runtime_error("tag body past the end");
    tag.Body = file.subspan(at, length);
    at += length;
    tags.push_back(tag);
    if (tag.Code == 0) break;
  }
  if (at != file.size()) throw std::runtime_error("bytes after the End tag");
  return tags;
}
