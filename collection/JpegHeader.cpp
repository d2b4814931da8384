#include "collection/JpegHeader.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "collection/Errors.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

bool IsFrameHeader(int marker) {
  // SOF0..SOF15 except DHT (C4), JPG (C8) and DAC (CC).
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool HasNoLength(int marker) {
  return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8);
}

}  // namespace

JpegSize ReadJpegSize(const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rbe"));
  if (!file) throw FileOpenError(path, errno);
  std::FILE* f = file.get();

  auto byte = [&]() {
    const int c = std::fgetc(f);
    if (c == EOF) throw JpegHeaderError(path);
    return c;
  };
  auto word = [&]() {
    const int high = byte();
    return high << 8 | byte();
  };

  if (byte() != 0xFF || byte() != 0xD8) throw JpegHeaderError(path);
  for (;;) {
    if (byte() != 0xFF) throw JpegHeaderError(path);
    int marker = byte();
    while (marker == 0xFF) marker = byte();  // fill bytes
    if (HasNoLength(marker)) continue;
    if (marker == 0xDA || marker == 0xD9) throw JpegHeaderError(path);  // scan or end before a frame
    const int length = word();
    if (length < 2) throw JpegHeaderError(path);
    if (IsFrameHeader(marker)) {
      byte();  // sample precision
      const int height = word();
      const int width = word();
      if (width == 0 || height == 0) throw JpegHeaderError(path);
      return JpegSize{width, height};
    }
    if (std::fseek(f, length - 2, SEEK_CUR) != 0) throw JpegHeaderError(path);
  }
}
