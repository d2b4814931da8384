#include <gtest/gtest.h>

#include <cstdint>
#include <span>

#include "collection/JpegHeader.h"
#include "common/Errors.h"
#include "tests/support/Jpeg.h"
#include "tests/support/TempDir.h"

namespace {

std::span<const std::uint8_t> AsBytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(JpegHeader, ReadsTheFrameSizeFromAFileAndFromMemory) {
  TempDir dir;
  const struct {
    const char* name;
    std::string bytes;
    JpegSize size;
  } rows[] = {
      {"plain.jpg", MakeJpeg(640, 480), {640, 480}},
      {"portrait.jpg", MakeJpeg(400, 550), {400, 550}},
      {"tiny.jpg", MakeJpeg(1, 1), {1, 1}},
      {"progressive.jpg", MakeJpeg(321, 123, {1, 2, 3}, true), {321, 123}},
      {"metadata.jpg", WithAppSegment(MakeJpeg(800, 600), 60000), {800, 600}},
      {"fill-bytes.jpg", "\xFF\xD8\xFF\xFF\xFF\xC0" + std::string("\x00\x11\x08\x00\x20\x00\x30", 7), {48, 32}},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(ReadJpegSize(dir.Write(r.name, r.bytes)), r.size) << r.name;
    EXPECT_EQ(ReadJpegSize(AsBytes(r.bytes), r.name), r.size) << r.name;
  }
}

TEST(JpegHeader, RefusesPicturesWithoutAReadableFrameHeaderSayingWhy) {
  TempDir dir;
  const std::string jpeg = MakeJpeg(64, 64);
  const char* const notJpeg = "not a JPEG file";
  const char* const cut = "the file ends inside its JPEG header";
  const char* const damaged = "its JPEG header is damaged";
  const char* const noSize = "its JPEG header gives no picture size";
  const struct {
    const char* name;
    std::string bytes;
    const char* reason;
  } rows[] = {
      {"empty.jpg", "", notJpeg},
      {"png.jpg", "\x89PNG\r\n\x1a\n....", notJpeg},
      {"only-start.jpg", "\xFF\xD8", cut},
      {"cut-in-header.jpg", jpeg.substr(0, 30), cut},
      {"zero-width.jpg", "\xFF\xD8\xFF\xC0" + std::string("\x00\x11\x08\x00\x20\x00\x00", 7), noSize},
      {"scan-first.jpg", "\xFF\xD8\xFF\xDA\x00\x02", noSize},
      {"garbage-after-start.jpg", "\xFF\xD8garbage", damaged},
      // A segment whose length runs past the end of the bytes.
      {"segment-past-end.jpg", "\xFF\xD8\xFF\xE0\x40\x00" + std::string(10, 'x'), cut},
  };
  const auto reason = [](auto read) {
    try {
      read();
    } catch (const JpegHeaderError& error) {
      return error.Reason();
    }
    return std::string("read");
  };
  for (const auto& r : rows) {
    const std::string path = dir.Write(r.name, r.bytes);
    EXPECT_EQ(reason([&] { ReadJpegSize(path); }), r.reason) << r.name;
    EXPECT_EQ(reason([&] { ReadJpegSize(AsBytes(r.bytes), r.name); }), r.reason) << r.name;
  }
  EXPECT_THROW(ReadJpegSize((dir.Path() / "missing.jpg").string()), FileOpenError);
}

TEST(JpegHeader, CountsTheColourComponents) {
  EXPECT_EQ(ReadJpegFrame(AsBytes(MakeJpeg(8, 8)), "rgb").Components, 3);
  EXPECT_EQ(ReadJpegFrame(AsBytes(MakeDetailedJpeg(8, 8, TJPF_GRAY)), "grey").Components, 1);
  EXPECT_EQ(ReadJpegFrame(AsBytes(MakeDetailedJpeg(8, 8, TJPF_CMYK)), "cmyk").Components, 4);
}

}  // namespace
