#pragma once
// Reads a JPEG file's width and height from its frame header, without
// decoding anything and reading only the bytes up to that header.

#include <string>

struct JpegSize {
  int Width = 0;
  int Height = 0;
  friend bool operator==(const JpegSize&, const JpegSize&) = default;
};

// Throws FileOpenError when the file cannot be opened and JpegHeaderError
// when it holds no readable frame header (not a JPEG, cut short, zero size).
JpegSize ReadJpegSize(const std::string& path);
