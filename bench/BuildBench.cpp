// Times building a movie against a durable copy of the same picture bytes
// into one file (read, written, flushed to the disk: cat then sync), for 36
// and 360 pictures of 1920 x 1080 and 360 of 640 x 480; and the check every
// build runs first, both the default walk of each file's structure and the
// decode --verify adds (each picture's picture data decoded at an eighth of
// its size for the decoder's warnings). The pictures are made here with
// libjpeg-turbo from gradients with noise, so they have the sizes of real
// photographs. Everything reads the files from the page cache; the build and
// the copy flush their output to the disk.
//
//   build_bench [FOLDER]   (default: the system's temporary folder)

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "collection/PictureList.h"
#include "collection/PictureReview.h"
#include "movie/MovieWriter.h"
#include "tests/support/Jpeg.h"

namespace {

constexpr int kRounds = 5;

std::string MakePhoto(int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  std::normal_distribution<double> noise(0.0, 10.0);
  std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      unsigned char* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 3];
      const double base[3] = {255.0 * x / width, 255.0 * y / height,
                              127.5 + 100.0 * ((x / 64 + y / 64 + seed) % 2 ? 1 : -1)};
      for (int k = 0; k < 3; ++k) {
        p[k] = static_cast<unsigned char>(std::clamp(base[k] + noise(random), 0.0, 255.0));
      }
    }
  }
  return CompressJpeg(pixels, width, height, TJPF_RGB, TJSAMP_420, 0, 85);
}

// Reads every picture and writes its bytes into one file, then flushes it.
void PlainCopy(const std::vector<std::string>& pictures, const std::string& target) {
  const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (out < 0) throw std::runtime_error("cannot create " + target);
  std::vector<char> buffer;
  for (const std::string& path : pictures) {
    const int in = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) throw std::runtime_error("cannot open " + path);
    buffer.resize(std::filesystem::file_size(path));
    std::size_t got = 0;
    while (got < buffer.size()) {
      const ssize_t n = ::read(in, buffer.data() + got, buffer.size() - got);
      if (n <= 0) throw std::runtime_error("read failed");
      got += static_cast<std::size_t>(n);
    }
    ::close(in);
    for (std::size_t put = 0; put < buffer.size();) {
      const ssize_t n = ::write(out, buffer.data() + put, buffer.size() - put);
      if (n <= 0) throw std::runtime_error("write failed");
      put += static_cast<std::size_t>(n);
    }
  }
  if (::fsync(out) != 0 || ::close(out) != 0) throw std::runtime_error("flush failed");
}

template <class F>
double Milliseconds(F&& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void Bench(const std::filesystem::path& folder, int count, int width, int height) {
  const auto dir = folder / ("orbilux-bench-" + std::to_string(width) + "x" + std::to_string(height));
  std::filesystem::create_directories(dir);
  PictureList list;
  std::vector<std::string> paths;
  std::uintmax_t total = 0;
  for (int i = 0; i < count; ++i) {
    const std::string path = (dir / ("p" + std::to_string(i) + ".jpg")).string();
    std::ofstream(path, std::ios::binary) << MakePhoto(width, height, static_cast<unsigned>(i));
    total += std::filesystem::file_size(path);
    list.AddPicture(path);
    paths.push_back(path);
  }

  MovieStream stream;
  const TConversion converter;
  SilentReporter quiet;
  const std::string movie = (dir / "movie.swf").string();
  const std::string copy = (dir / "copy.bin").string();
  std::vector<double> builds, checkedBuilds, copies, walks, walkProcessor, decodes, decodeProcessor;
  for (int round = 0; round < kRounds; ++round) {
    copies.push_back(Milliseconds([&] { PlainCopy(paths, copy); }));
    // The checks run on every processor; the processor time they take
    // hardly depends on what else the machine runs.
    std::clock_t processorBefore = std::clock();
    walks.push_back(Milliseconds([&] { CheckPicturesForMovie(list, true); }));
    walkProcessor.push_back(1000.0 * static_cast<double>(std::clock() - processorBefore) / CLOCKS_PER_SEC);
    processorBefore = std::clock();
    decodes.push_back(Milliseconds([&] { CheckPicturesForMovie(list, true, PictureCheck::Decode); }));
    decodeProcessor.push_back(1000.0 * static_cast<double>(std::clock() - processorBefore) / CLOCKS_PER_SEC);
    builds.push_back(Milliseconds([&] { WriteMovie({list, width, height, stream, converter, quiet}, movie); }));
    // What orbilux-build does: the default check, then the movie.
    checkedBuilds.push_back(Milliseconds([&] {
      CheckPicturesForMovie(list, true);
      WriteMovie({list, width, height, stream, converter, quiet}, movie);
    }));
  }
  const auto megabytes = [](std::uintmax_t bytes) { return static_cast<double>(bytes) / 1e6; };
  const double plain = Median(copies);
  const double build = Median(builds);
  const double checked = Median(checkedBuilds);
  std::printf("%4d pictures of %4d x %4d: %7.1f MB of JPEG (%6.1f KB each); movie %7.1f MB\n", count, width, height,
              megabytes(total), megabytes(total) * 1e3 / count, megabytes(std::filesystem::file_size(movie)));
  std::printf("    build with its check %8.1f ms   durable copy %8.1f ms   ratio %.2f  (median of %d)\n", checked,
              plain, checked / plain, kRounds);
  std::printf("    build alone %8.1f ms (ratio %.2f); the default check %6.1f ms, processor time %.1f ms\n", build,
              build / plain, Median(walks), Median(walkProcessor));
  std::printf("    --verify's decode %8.1f ms, processor time %.1f ms (%.2f ms a picture)\n", Median(decodes),
              Median(decodeProcessor), Median(decodeProcessor) / count);
  std::filesystem::remove_all(dir);
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path folder =
      argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path();
  try {
    Bench(folder, 36, 1920, 1080);
    Bench(folder, 360, 1920, 1080);
    Bench(folder, 360, 640, 480);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "build_bench: %s\n", e.what());
    return 1;
  }
  return 0;
}
