#include "movie/SwfTags.h"

#include <stdexcept>

#include "movie/Tags.h"

std::vector<SwfTag> ReadSwfTags(std::span<const std::uint8_t> file) {
  if (file.size() < 9) throw std::logic_error("too short for a header");
  // The header: signature, version and length (8 bytes), the frame
  // rectangle (5 bits of field size, then four fields), rate and count.
  const std::size_t rectBits = 5 + 4 * (file[8] >> 3);
  std::size_t at = 8 + (rectBits + 7) / 8 + 4;
  std::vector<SwfTag> tags;
  for (;;) {
    if (at + 2 > file.size()) throw std::logic_error("tag header past the end");
    SwfTag tag;
    tag.Offset = at;
    const auto head = static_cast<std::uint16_t>(file[at] | file[at + 1] << 8);
    tag.Code = head >> 6;
    std::size_t length = head & 0x3F;
    tag.HeaderSize = 2;
    if (length == 0x3F) {
      if (at + 6 > file.size()) throw std::logic_error("long header past the end");
      length = ReadUI32(file, at + 2);
      tag.HeaderSize = 6;
    }
    at += tag.HeaderSize;
    if (length > file.size() - at) throw std::logic_error("tag body past the end");
    tag.Body = file.subspan(at, length);
    at += length;
    tags.push_back(tag);
    if (tag.Code == tags::kEnd) break;
  }
  if (at != file.size()) throw std::logic_error("bytes after the End tag");
  return tags;
}
