// The peak memory of making one strip thumbnail, above what the program
// held before: for a 1 GiB file (a 1920 x 1080 photo behind 1 GiB of
// metadata segments, left as holes so the file takes little disk), for the
// largest photo the decoder takes (8192 x 8192) and for a progressive
// 4000 x 3000 photo, whose coefficients are all held while it decodes.
//
//   thumbnail_memory_bench [FOLDER]   (default: the system's temporary folder)

#include <malloc.h>
#include <stdlib.h>
#include <turbojpeg.h>

#include <QApplication>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/Jpeg.h"
#include "tests/support/PeakMemory.h"
#include "window/strip/ThumbnailDecoder.h"

namespace {

constexpr double kMiB = 1024.0 * 1024.0;

// A photo-like picture: gradients under fine noise, so that it is as large
// and as slow to decode as a real one.
std::string MakePhoto(int width, int height, int flags) {
  std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
  std::minstd_rand noise(7);
  for (std::size_t i = 0; i < pixels.size(); i += 3) {
    const std::size_t pixel = i / 3;
    const int x = static_cast<int>(pixel % static_cast<std::size_t>(width));
    const int y = static_cast<int>(pixel / static_cast<std::size_t>(width));
    const int n = static_cast<int>(noise() % 24);
    pixels[i] = static_cast<unsigned char>(x * 200 / width + n);
    pixels[i + 1] = static_cast<unsigned char>(y * 200 / height + n);
    pixels[i + 2] = static_cast<unsigned char>(120 + n);
  }
  return CompressJpeg(pixels, width, height, TJPF_RGB, TJSAMP_420, flags, 92);
}

void Measure(const char* what, const std::string& path) {
  const double fileMiB = static_cast<double>(std::filesystem::file_size(path)) / kMiB;
  ::malloc_trim(0);  // what earlier steps freed would otherwise be used again unseen
  ResetPeakResident();
  const std::size_t before = ResidentBytes();
  const auto start = std::chrono::steady_clock::now();
  std::string outcome = "decoded";
  try {
    DecodeThumbnail(path);
  } catch (const std::exception& e) {
    outcome = e.what();
  }
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  const double peakMiB = static_cast<double>(PeakResidentBytes() - before) / kMiB;
  std::printf("%-36s file %8.1f MiB   peak %8.1f MiB above the start   %8.1f ms   %s\n", what, fileMiB, peakMiB, ms,
              outcome.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::filesystem::path base = argc > 1 ? argv[1] : std::filesystem::temp_directory_path();
  std::string pattern = (base / "thumbnail-bench-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  const std::filesystem::path folder = pattern;

  const auto huge = (folder / "huge.jpg").string();
  WriteWithLargeAppSegments(huge, MakePhoto(1920, 1080, 0), std::uint64_t{1} << 30);
  const auto large = (folder / "large.jpg").string();
  std::ofstream(large, std::ios::binary) << MakePhoto(8192, 8192, 0);
  const auto progressive = (folder / "progressive.jpg").string();
  std::ofstream(progressive, std::ios::binary) << MakePhoto(4000, 3000, TJFLAG_PROGRESSIVE);

  std::printf("target: no thumbnail needs more than 64 MiB\n");
  Measure("1920 x 1080 in a 1 GiB file", huge);
  Measure("8192 x 8192 baseline", large);
  Measure("4000 x 3000 progressive", progressive);
  std::filesystem::remove_all(folder);
  return 0;
}
