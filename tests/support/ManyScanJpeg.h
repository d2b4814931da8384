#pragma once
// A progressive JPEG padded with extra scans that cost the file little but
// the decoder a pass over the picture's blocks each: a whole picture, then
// `extra` repeats of one luminance AC scan that only says "no more
// coefficients" for every block, coded as runs of ends of block.

#include <stdexcept>
#include <string>

#include "tests/support/Jpeg.h"

inline std::string WithExtraScans(const std::string& progressive, int width, int height, int extra) {
  if (progressive.size() < 2 || progressive.substr(progressive.size() - 2) != "\xFF\xD9") {
    throw std::runtime_error("no end marker");
  }
  // An AC table of the fifteen end-of-block runs EOB0 to EOB14 (symbols 0x00
  // to 0xE0), each coded in four bits: code k is run class k.
  std::string table = "\xFF\xC4";
  table += '\x00';
  table += static_cast<char>(2 + 1 + 16 + 15);
  table += '\x10';  // AC table 0
  for (int length = 1; length <= 16; ++length) table += static_cast<char>(length == 4 ? 15 : 0);
  for (int k = 0; k < 15; ++k) table += static_cast<char>(k << 4);

  // The scan's data: every block of the luminance (one 8 x 8 block a
  // block in a scan of one component) in runs of at most 32767.
  std::string data;
  unsigned bits = 0;
  int count = 0;
  const auto put = [&](unsigned value, int length) {
    for (int i = length - 1; i >= 0; --i) {
      bits = bits << 1 | ((value >> i) & 1);
      if (++count == 8) {
        data += static_cast<char>(bits);
        if (bits == 0xFF) data += '\x00';  // stuffed
        bits = 0;
        count = 0;
      }
    }
  };
  for (long blocks = static_cast<long>((width + 7) / 8) * ((height + 7) / 8); blocks > 0;) {
    const long run = blocks > 32767 ? 32767 : blocks;
    int k = 0;
    while ((2L << k) <= run) ++k;  // 2^k <= run < 2^(k+1)
    put(static_cast<unsigned>(k), 4);
    put(static_cast<unsigned>(run - (1L << k)), k);
    blocks -= run;
  }
  if (count > 0) put(0x7F, 8 - count);  // padded with ones

  // Components 1, tables 0/0, coefficients 1 to 63, no successive approximation.
  const std::string scan = std::string("\xFF\xDA\x00\x08\x01\x01\x00\x01\x3F\x00", 10) + data;
  std::string out = progressive.substr(0, progressive.size() - 2) + table;
  out.reserve(out.size() + scan.size() * static_cast<std::size_t>(extra) + 2);
  for (int i = 0; i < extra; ++i) out += scan;
  return out + "\xFF\xD9";
}

// A width x height progressive JPEG with `extra` such scans after its own.
inline std::string MakeManyScanJpeg(int width, int height, int extra) {
  return WithExtraScans(MakeJpeg(width, height, {90, 120, 200}, true), width, height, extra);
}
