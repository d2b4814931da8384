// Times the thumbnail strip's paint pass over many large pictures: the first
// pass (every header read, the shown cells sent to be decoded on workers),
// the time until they are drawn, and a repaint (all from the cache), painting a window-sized area of six cells into an
// image, as the widget's back buffer would be.
//
//   strip_bench [pictures of 1920 x 1080] [pictures of 6000 x 4000]

#include <stdlib.h>
#include <turbojpeg.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "collection/PictureList.h"
#include "tests/support/Jpeg.h"
#include "window/strip/ThumbnailStrip.h"

namespace {

constexpr int kShownCells = 6;
constexpr int kVariants = 6;  // distinct pictures per set; the files are all separate
constexpr int kRepaints = 30;

class Host : public StripHost {
 public:
  int MovieWidth() const override { return width_; }
  int MovieHeight() const override { return height_; }
  void SetMovieSize(int width, int height) override {
    width_ = width;
    height_ = height;
  }
  void SetStatusText(const QString&) override {}
  void SetBuildEnabled(bool) override {}

 private:
  int width_ = 550;
  int height_ = 400;
};

// A photo-like picture: soft gradients and shapes under fine noise, so that
// the file is as large and as slow to decode as a real one.
std::vector<unsigned char> MakePixels(int width, int height, int variant) {
  std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 3);
  std::uint32_t seed = 12345u + static_cast<std::uint32_t>(variant) * 7919u;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const int noise = static_cast<int>(seed >> 27) - 16;
      const int dx = x - width / 2, dy = y - height / 2;
      const bool disc = static_cast<long long>(dx) * dx + static_cast<long long>(dy) * dy <
                        static_cast<long long>(height) * height / 9;
      const int base[3] = {x * 255 / width, y * 255 / height, (variant * 40 + (disc ? 120 : 0)) % 256};
      unsigned char* p = &pixels[(static_cast<size_t>(y) * width + x) * 3];
      for (int c = 0; c < 3; ++c) p[c] = static_cast<unsigned char>(std::clamp(base[c] + noise, 0, 255));
    }
  }
  return pixels;
}

double Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double TimeFullDecode(const std::string& jpeg, int width, int height) {
  std::vector<unsigned char> out(static_cast<size_t>(width) * height * 4);
  tjhandle handle = tjInitDecompress();
  const auto start = std::chrono::steady_clock::now();
  tjDecompress2(handle, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size(), out.data(), width, 0, height,
                TJPF_BGRA, 0);
  const double ms = Milliseconds(std::chrono::steady_clock::now() - start);
  tjDestroy(handle);
  return ms;
}

// One paint pass of the strip scrolled to firstCell, six cells wide, or
// with nothing exposed, which only measures.
double TimePass(ThumbnailStrip& strip, const PictureList& list, Host& host, int firstCell, bool exposed = true) {
  QImage window(kShownCells * ThumbnailStrip::kCellWidth, ThumbnailStrip::kHeight, QImage::Format_RGB32);
  const int scroll = firstCell * ThumbnailStrip::kCellWidth;
  const auto start = std::chrono::steady_clock::now();
  {
    QPainter painter(&window);
    painter.translate(-scroll, 0);
    strip.Paint(painter, exposed ? QRect(scroll, 0, window.width(), window.height()) : QRect(), list, host);
  }
  return Milliseconds(std::chrono::steady_clock::now() - start);
}

// From the end of a pass to the thumbnails it asked for decoded on the
// workers and drawn by the next pass.
double TimeToShown(ThumbnailStrip& strip, const PictureList& list, Host& host, int firstCell) {
  const auto start = std::chrono::steady_clock::now();
  while (strip.Decoding()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  TimePass(strip, list, host, firstCell);
  return Milliseconds(std::chrono::steady_clock::now() - start);
}

void Report(const char* what, std::vector<double> times) {
  std::sort(times.begin(), times.end());
  std::printf("  %-44s median %8.2f ms   min %8.2f   max %8.2f   (%zu runs)\n", what, times[times.size() / 2],
              times.front(), times.back(), times.size());
}

void RunSet(const std::filesystem::path& folder, int count, int width, int height) {
  std::printf("%d pictures of %d x %d\n", count, width, height);
  PictureList list;
  std::string sample;
  std::uintmax_t bytes = 0;
  for (int v = 0; v < kVariants; ++v) {
    const std::string jpeg = CompressJpeg(MakePixels(width, height, v), width, height, TJPF_RGB);
    if (v == 0) sample = jpeg;
    for (int i = v; i < count; i += kVariants) {
      const auto path = folder / (std::to_string(width) + "-" + std::to_string(i) + ".jpg");
      std::ofstream(path, std::ios::binary) << jpeg;
    }
    bytes += jpeg.size() * static_cast<std::uintmax_t>((count - v + kVariants - 1) / kVariants);
  }
  for (int i = 0; i < count; ++i) {
    list.AddPicture((folder / (std::to_string(width) + "-" + std::to_string(i) + ".jpg")).string());
  }
  std::printf("  files: %.1f MB in all, %.0f KB each; one full-size decode %.1f ms\n", static_cast<double>(bytes) / 1e6,
              static_cast<double>(sample.size()) / 1e3, TimeFullDecode(sample, width, height));

  // Each first pass gets a fresh strip, so it reads every header and decodes
  // what it shows; the files themselves are in the system's file cache.
  const int lastCells = std::max(0, count + 1 - kShownCells);
  std::vector<double> headers, first, firstShown, firstScrolled, repaint, repaintScrolled;
  for (int run = 0; run < 3; ++run) {
    ThumbnailStrip measuring;
    Host measured;
    headers.push_back(TimePass(measuring, list, measured, 0, false));
  }
  for (int run = 0; run < 3; ++run) {
    ThumbnailStrip strip;
    Host host;
    first.push_back(TimePass(strip, list, host, 0));
    firstShown.push_back(first.back() + TimeToShown(strip, list, host, 0));
    for (int r = 0; r < kRepaints; ++r) repaint.push_back(TimePass(strip, list, host, 0));
    firstScrolled.push_back(TimePass(strip, list, host, lastCells));
    firstScrolled.back() += TimeToShown(strip, list, host, lastCells);
    for (int r = 0; r < kRepaints; ++r) repaintScrolled.push_back(TimePass(strip, list, host, lastCells));
  }
  Report("first pass, nothing exposed (headers only)", headers);
  Report("first pass, cells 1-6 (the window's thread)", first);
  Report("first pass to cells 1-6 drawn", firstShown);
  Report("repaint, cells 1-6", repaint);
  Report("scrolled to the end, first time, to drawn", firstScrolled);
  Report("repaint at the end", repaintScrolled);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int small = argc > 1 ? std::atoi(argv[1]) : 360;
  const int large = argc > 2 ? std::atoi(argv[2]) : 36;

  std::string pattern = (std::filesystem::temp_directory_path() / "strip-bench-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  const std::filesystem::path folder = pattern;
  std::printf("targets: a repaint under 16 ms; a first pass of the 1920 x 1080 set under 100 ms\n");
  RunSet(folder, small, 1920, 1080);
  RunSet(folder, large, 6000, 4000);
  std::filesystem::remove_all(folder);
  return 0;
}
