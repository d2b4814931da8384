#include "collection/JpegHeader.h"

#include <algorithm>
#include <array>

#include "collection/PictureFile.h"
#include "common/Errors.h"

namespace {

bool HasNoLength(int marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8); }

// Walks the segments up to the first frame header. A source gives Next()
// (a byte, or -1 at the end) and Skip(n) (false when it cannot). Throws
// JpegHeaderError with the reason for the user.
template <class Source>
JpegFrame ParseFrame(Source& in, const std::string& path) {
  const auto refuse = [&](const char* reason) { throw JpegHeaderError(path, reason); };
  const auto byte = [&]() {
    const int c = in.Next();
    if (c < 0) refuse("the file ends inside its JPEG header");
    return c;
  };
  const auto word = [&]() {
    const int high = byte();
    return high << 8 | byte();
  };
  // An empty or one-byte file is no JPEG file either.
  const int first = in.Next();
  if (!IsJpegStart(first, in.Next())) refuse("not a JPEG file");
  bool hierarchical = false;
  for (;;) {
    if (byte() != 0xFF) refuse("its JPEG header is damaged");
    int marker = byte();
    while (marker == 0xFF) marker = byte();  // fill bytes
    if (HasNoLength(marker)) continue;
    if (marker == 0xDA || marker == 0xD9) refuse("its JPEG header gives no picture size");  // scan or end first
    const int length = word();
    if (length < 2) refuse("its JPEG header is damaged");
    if (IsFrameMarker(marker)) {
      const int precision = byte();
      const int height = word();
      const int width = word();
      if (width == 0 || height == 0) refuse("its JPEG header gives no picture size");
      // The component count is read where it is there; the size alone makes a frame.
      return JpegFrame{JpegSize{width, height}, marker, std::max(in.Next(), 0), precision, hierarchical};
    }
    hierarchical |= marker == 0xDE;  // DHP: the frames that follow build one picture in steps
    if (!in.Skip(length - 2)) refuse("the file ends inside its JPEG header");
  }
}

// Reads the file a block at a time; skipped segments are not read at all.
class FileSource {
 public:
  explicit FileSource(PictureFile& file) : file_(file) {}
  int Next() {
    if (at_ == end_) {
      end_ = file_.ReadSome(buffer_);
      at_ = 0;
      if (end_ == 0) return -1;
    }
    return buffer_[at_++];
  }
  bool Skip(int n) {
    const auto count = static_cast<std::size_t>(n);
    if (count <= end_ - at_) {
      at_ += count;
    } else {
      file_.Skip(count - (end_ - at_));
      at_ = end_ = 0;
    }
    return true;
  }

 private:
  PictureFile& file_;
  std::array<std::uint8_t, 4096> buffer_{};
  std::size_t at_ = 0;
  std::size_t end_ = 0;
};

class MemorySource {
 public:
  explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  int Next() { return at_ < bytes_.size() ? bytes_[at_++] : -1; }
  bool Skip(int n) {
    // Skipping to the very end is fine; reading after it then fails.
    if (static_cast<std::size_t>(n) > bytes_.size() - at_) return false;
    at_ += static_cast<std::size_t>(n);
    return true;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

}  // namespace

bool IsFrameMarker(int marker) {
  // SOF0..SOF15 except DHT (C4), JPG (C8) and DAC (CC).
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

JpegFrame ReadJpegFrame(const std::string& path) {
  PictureFile file(path);
  FileSource source(file);
  return ParseFrame(source, path);
}

JpegSize ReadJpegSize(const std::string& path) { return ReadJpegFrame(path).Size; }

JpegFrame ReadJpegFrame(std::span<const std::uint8_t> bytes, const std::string& path) {
  MemorySource source(bytes);
  return ParseFrame(source, path);
}

JpegSize ReadJpegSize(std::span<const std::uint8_t> bytes, const std::string& path) {
  return ReadJpegFrame(bytes, path).Size;
}
