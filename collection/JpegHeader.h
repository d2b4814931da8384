#pragma once
// Reads a JPEG picture's width and height from its frame header, without
// decoding anything and looking only at the bytes up to that header. One
// parser serves a file on disk and bytes already in memory.

#include <cstdint>
#include <span>
#include <string>

struct JpegSize {
  int Width = 0;
  int Height = 0;
  friend bool operator==(const JpegSize&, const JpegSize&) = default;
};

// A picture's frame header: its size, the marker that starts it, which says
// how the picture is coded, and its number of colour components (1 grey,
// 3 colour, 4 CMYK or YCCK).
struct JpegFrame {
  JpegSize Size;
  int Marker = 0xC0;
  int Components = 3;
  int Precision = 8;          // bits a sample
  bool Hierarchical = false;  // a DHP segment came before the frame
  // Arithmetic coding (frame markers C9 to CB and CD to CF), which JPEG
  // decoders may leave out and SWF players do.
  bool ArithmeticCoded() const { return Marker >= 0xC9 && Marker != 0xCC; }
  // Lossless coding (C3, and C7, CB, CF of the hierarchical kinds).
  bool Lossless() const { return (Marker & 3) == 3; }
  // A frame of a hierarchical picture (C5 to C7, CD to CF), or one after DHP.
  bool Differential() const { return Hierarchical || (Marker & 0xF4) == 0xC4; }
};

// Whether a file's first two bytes are the start-of-image marker every JPEG
// file begins with.
constexpr bool IsJpegStart(int first, int second) { return first == 0xFF && second == 0xD8; }

// Whether a marker starts a frame header (SOF0 to SOF15).
bool IsFrameMarker(int marker);

// Throws what PictureFile throws when the file cannot be opened (a folder,
// a pipe or a device included) and JpegHeaderError, naming the file and
// saying why, when it holds no readable frame header (not a JPEG, cut short,
// damaged, zero size).
JpegFrame ReadJpegFrame(const std::string& path);
JpegSize ReadJpegSize(const std::string& path);

// The same for a picture's bytes in memory; path names it in the error.
JpegFrame ReadJpegFrame(std::span<const std::uint8_t> bytes, const std::string& path);
JpegSize ReadJpegSize(std::span<const std::uint8_t> bytes, const std::string& path);
