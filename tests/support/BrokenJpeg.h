#pragma once
// Damaged and doctored JPEG files for tests, made from real ones.

#include <cstddef>
#include <stdexcept>
#include <string>

// Where the frame header (SOF0 or SOF2) of a JPEG made by MakeJpeg starts.
inline std::size_t FrameHeaderAt(const std::string& jpeg) {
  for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
    if (jpeg[i] == '\xFF' && (jpeg[i + 1] == '\xC0' || jpeg[i + 1] == '\xC2')) return i;
  }
  throw std::runtime_error("no frame header");
}

// Where the scan data of a JPEG made by MakeJpeg starts: after its SOS segment.
inline std::size_t ScanDataAt(const std::string& jpeg) {
  const std::size_t at = jpeg.find("\xFF\xDA");
  if (at == std::string::npos) throw std::runtime_error("no scan");
  return at + 2 + (static_cast<unsigned char>(jpeg[at + 2]) << 8 | static_cast<unsigned char>(jpeg[at + 3]));
}

// The file cut in the middle of its scan data, as an interrupted copy leaves it.
inline std::string CutInScan(const std::string& jpeg) {
  const std::size_t scan = ScanDataAt(jpeg);
  return jpeg.substr(0, scan + (jpeg.size() - scan) / 2);
}

// The file with a stray restart marker in its scan data, which the decoder
// reports as corrupt and steps over.
inline std::string WithStrayMarker(const std::string& jpeg) {
  const std::size_t at = ScanDataAt(jpeg) + (jpeg.size() - ScanDataAt(jpeg)) / 2;
  return jpeg.substr(0, at) + "\xFF\xD3" + jpeg.substr(at);
}

// The same file with another width and height written into its frame
// header; the scan data still belongs to the old size.
inline std::string WithClaimedSize(std::string jpeg, int width, int height) {
  const std::size_t at = FrameHeaderAt(jpeg) + 5;
  jpeg[at] = static_cast<char>(height >> 8);
  jpeg[at + 1] = static_cast<char>(height & 0xFF);
  jpeg[at + 2] = static_cast<char>(width >> 8);
  jpeg[at + 3] = static_cast<char>(width & 0xFF);
  return jpeg;
}

// The file up to and with its frame header, then the end marker: the size
// can be read, but there is no picture to decode.
inline std::string HeaderOnly(const std::string& jpeg) {
  const std::size_t at = FrameHeaderAt(jpeg);
  const std::size_t length = static_cast<unsigned char>(jpeg[at + 2]) << 8 | static_cast<unsigned char>(jpeg[at + 3]);
  return jpeg.substr(0, at + 2 + length) + "\xFF\xD9";
}

// The same file with its frame header's marker replaced (C9 claims
// arithmetic coding; the data still is Huffman-coded).
inline std::string WithFrameMarker(std::string jpeg, unsigned char marker) {
  jpeg[FrameHeaderAt(jpeg) + 1] = static_cast<char>(marker);
  return jpeg;
}
