#pragma once
// Makes real JPEG files for tests with libjpeg-turbo.

#include <turbojpeg.h>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

struct Rgb {
  std::uint8_t r, g, b;
};

// Compresses width x height pixels of the given TurboJPEG pixel format.
inline std::string CompressJpeg(const std::vector<unsigned char>& pixels, int width, int height, int pixelFormat,
                                int subsampling = TJSAMP_420, int flags = 0, int quality = 90) {
  tjhandle handle = tjInitCompress();
  unsigned char* out = nullptr;
  unsigned long size = 0;
  const int rc =
      tjCompress2(handle, pixels.data(), width, 0, height, pixelFormat, &out, &size, subsampling, quality, flags);
  std::string bytes;
  if (rc == 0) bytes.assign(reinterpret_cast<char*>(out), size);
  tjFree(out);
  tjDestroy(handle);
  if (rc != 0) throw std::runtime_error("tjCompress2 failed");
  return bytes;
}

// A width x height JPEG of one colour, baseline or progressive.
inline std::string MakeJpeg(int width, int height, Rgb colour = {200, 40, 40}, bool progressive = false) {
  std::vector<unsigned char> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
  for (size_t i = 0; i < pixels.size(); i += 3) {
    pixels[i] = colour.r;
    pixels[i + 1] = colour.g;
    pixels[i + 2] = colour.b;
  }
  return CompressJpeg(pixels, width, height, TJPF_RGB, TJSAMP_420, progressive ? TJFLAG_PROGRESSIVE : 0);
}

// A width x height baseline JPEG of detail with a restart marker every
// `interval` MCUs, as many cameras write them.
inline std::string MakeJpegWithRestarts(int width, int height, unsigned interval) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  info.restart_interval = interval;
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
  while (info.next_scanline < info.image_height) {
    for (std::size_t i = 0; i < row.size(); ++i)
      row[i] = static_cast<unsigned char>((i * 7919 + info.next_scanline * 31) % 251);
    JSAMPROW rows = row.data();
    jpeg_write_scanlines(&info, &rows, 1);
  }
  jpeg_finish_compress(&info);
  std::string bytes(reinterpret_cast<char*>(out), size);
  jpeg_destroy_compress(&info);
  std::free(out);
  return bytes;
}

// A width x height JPEG full of detail, so that its picture data is long
// enough to cut or damage; in any TurboJPEG pixel format (TJPF_CMYK makes a
// four-component file).
inline std::string MakeDetailedJpeg(int width, int height, int pixelFormat = TJPF_RGB) {
  std::vector<unsigned char> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) *
                                    static_cast<size_t>(tjPixelSize[pixelFormat]));
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>((i * 7919) % 251);
  return CompressJpeg(pixels, width, height, pixelFormat, pixelFormat == TJPF_GRAY ? TJSAMP_GRAY : TJSAMP_420);
}

// Puts an APP1 segment of the given payload size right after the start marker,
// as cameras do with their metadata.
inline std::string WithAppSegment(const std::string& jpeg, std::size_t payload) {
  const std::size_t length = payload + 2;
  std::string segment = "\xFF\xE1";
  segment += static_cast<char>(length >> 8);
  segment += static_cast<char>(length & 0xFF);
  segment += std::string(payload, 'x');
  return jpeg.substr(0, 2) + segment + jpeg.substr(2);
}

// Not a picture a player can show, but all the writer looks at: the start
// marker, a baseline frame header of the given size, and filler up to
// fileSize bytes (at least 21).
inline std::string MakeFakeJpeg(int width, int height, std::size_t fileSize) {
  std::string bytes = "\xFF\xD8\xFF\xC0";
  const unsigned char frame[] = {0x00,
                                 0x11,
                                 0x08,
                                 static_cast<unsigned char>(height >> 8),
                                 static_cast<unsigned char>(height & 0xFF),
                                 static_cast<unsigned char>(width >> 8),
                                 static_cast<unsigned char>(width & 0xFF),
                                 0x03,
                                 0x01,
                                 0x22,
                                 0x00,
                                 0x02,
                                 0x11,
                                 0x01,
                                 0x03,
                                 0x11,
                                 0x01};
  bytes.append(reinterpret_cast<const char*>(frame), sizeof frame);
  if (fileSize > bytes.size()) bytes.append(fileSize - bytes.size(), '\x5A');
  return bytes;
}

// Writes jpeg to path with APP15 segments of the largest size after its
// start marker, up to about fileSize bytes in all, as a camera's huge
// metadata would stand. The segments' contents are left as holes, so the
// file takes little room on the disk.
inline void WriteWithLargeAppSegments(const std::string& path, const std::string& jpeg, std::uint64_t fileSize) {
  std::ofstream out(path, std::ios::binary);
  out << jpeg.substr(0, 2);
  constexpr std::uint64_t kSegment = 2 + 65535;
  for (std::uint64_t at = 2; at + kSegment + jpeg.size() <= fileSize; at += kSegment) {
    out << "\xFF\xEF\xFF\xFF";
    out.seekp(65533, std::ios::cur);
  }
  out << jpeg.substr(2);
  if (!out) throw std::runtime_error("cannot write " + path);
}
