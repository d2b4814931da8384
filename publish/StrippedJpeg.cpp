#include "publish/StrippedJpeg.h"

#include <cstring>
#include <stdexcept>
#include <string_view>

namespace {

constexpr std::uint8_t kSOI = 0xD8, kSOS = 0xDA, kCOM = 0xFE;
constexpr std::uint8_t kAPP0 = 0xE0, kAPP2 = 0xE2, kAPP14 = 0xEE, kAPP15 = 0xEF;

bool Starts(std::span<const std::uint8_t> body, std::string_view id) {
  return body.size() >= id.size() && std::memcmp(body.data(), id.data(), id.size()) == 0;
}

// Whether a segment before the first scan stays: everything but the
// application segments and comments, and of those the ones a decoder reads.
bool Kept(std::uint8_t marker, std::span<const std::uint8_t> body) {
  if (marker == kCOM) return false;
  if (marker < kAPP0 || marker > kAPP15) return true;
  if (marker == kAPP0) return Starts(body, std::string_view("JFIF\0", 5));
  if (marker == kAPP2) return Starts(body, "ICC_PROFILE");
  if (marker == kAPP14) return Starts(body, "Adobe");
  return false;
}

}  // namespace

std::vector<std::uint8_t> StrippedJpeg(std::span<const std::uint8_t> jpeg) {
  if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != kSOI) throw std::invalid_argument("not a JPEG");
  std::vector<std::uint8_t> out(jpeg.begin(), jpeg.begin() + 2);
  out.reserve(jpeg.size());
  std::size_t at = 2;
  for (;;) {
    while (at < jpeg.size() && jpeg[at] == 0xFF && at + 1 < jpeg.size() && jpeg[at + 1] == 0xFF) ++at;  // fill bytes
    if (at + 4 > jpeg.size() || jpeg[at] != 0xFF) throw std::invalid_argument("the JPEG ends before its scan");
    const std::uint8_t marker = jpeg[at + 1];
    if (marker == kSOS) {
      out.insert(out.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(at), jpeg.end());
      return out;
    }
    const std::size_t length = std::size_t{jpeg[at + 2]} << 8 | jpeg[at + 3];
    if (length < 2 || at + 2 + length > jpeg.size()) throw std::invalid_argument("the JPEG ends inside a segment");
    const std::span<const std::uint8_t> segment = jpeg.subspan(at, 2 + length);
    if (Kept(marker, segment.subspan(4))) out.insert(out.end(), segment.begin(), segment.end());
    at += 2 + length;
  }
}
