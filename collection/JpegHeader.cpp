#include "collection/JpegHeader.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "collection/Errors.h"

namespace {

bool IsFrameHeader(int marker) {
  // SOF0..SOF15 except DHT (C4), JPG (C8) and DAC (CC).
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool HasNoLength(int marker) {
  return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8);
}

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
  if (in.Next() != 0xFF || in.Next() != 0xD8) refuse("not a JPEG file");
  for (;;) {
    if (byte() != 0xFF) refuse("its JPEG header is damaged");
    int marker = byte();
    while (marker == 0xFF) marker = byte();  // fill bytes
    if (HasNoLength(marker)) continue;
    if (marker == 0xDA || marker == 0xD9) refuse("its JPEG header gives no picture size");  // scan or end first
    const int length = word();
    if (length < 2) refuse("its JPEG header is damaged");
    if (IsFrameHeader(marker)) {
      byte();  // sample precision
      const int height = word();
      const int width = word();
      if (width == 0 || height == 0) refuse("its JPEG header gives no picture size");
      // The component count is read where it is there; the size alone makes a frame.
      return JpegFrame{JpegSize{width, height}, std::max(in.Next(), 0)};
    }
    if (!in.Skip(length - 2)) refuse("the file ends inside its JPEG header");
  }
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

class FileSource {
 public:
  explicit FileSource(std::FILE* f) : f_(f) {}
  int Next() { return std::fgetc(f_); }
  bool Skip(int n) { return std::fseek(f_, n, SEEK_CUR) == 0; }

 private:
  std::FILE* f_;
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

JpegFrame ReadJpegFrame(const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rbe"));
  if (!file) throw FileOpenError(path, errno);
  FileSource source(file.get());
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
