// The web folder's export at camera size: 36 pictures of 6000 x 4000 made
// once from a real photograph (mate-backgrounds' Storm, scaled up with a
// little grain so that it compresses like a camera's frame), exported with
// the default widths in a child process. Prints the export's wall time, its
// processor time in all and per picture, its peak memory, and the folder's
// size by width.
//
//   web_export_bench [FOLDER]   (default: bench-photos/ beside this program)

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vips/vips.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <thread>

#include "publish/PlayerFolder.h"
#include "publish/Publish.h"

namespace fs = std::filesystem;

namespace {

constexpr int kPictures = 36;
constexpr const char* kPhotograph = "/usr/share/backgrounds/mate/nature/Storm.jpg";

// The photograph at 6000 x 4000, grain added, as one camera-like JPEG.
void MakeFrame(const fs::path& file) {
  if (VIPS_INIT("web_export_bench") != 0) vips_error_exit(nullptr);
  VipsImage *photo = nullptr, *large = nullptr, *grain = nullptr, *sum = nullptr, *frame = nullptr;
  if (vips_jpegload(kPhotograph, &photo, nullptr) != 0 ||
      vips_resize(photo, &large, 6000.0 / photo->Xsize, "vscale", 4000.0 / photo->Ysize, nullptr) != 0 ||
      vips_gaussnoise(&grain, 6000, 4000, "sigma", 4.0, "mean", 0.0, nullptr) != 0 ||
      vips_add(large, grain, &sum, nullptr) != 0 || vips_cast_uchar(sum, &frame, nullptr) != 0 ||
      vips_jpegsave(frame, file.c_str(), "Q", 92, nullptr) != 0) {
    vips_error_exit(nullptr);
  }
  for (VipsImage* image : {photo, large, grain, sum, frame}) g_object_unref(image);
}

PictureList Frames(const fs::path& folder) {
  fs::create_directories(folder);
  const fs::path first = folder / "frame01.jpg";
  // libvips does not survive a fork: the frame is made in a child of its own.
  if (!fs::exists(first)) {
    const pid_t maker = fork();
    if (maker == 0) {
      MakeFrame(first);
      std::_Exit(0);
    }
    int status = 0;
    waitpid(maker, &status, 0);
  }
  PictureList list;
  for (int i = 1; i <= kPictures; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "frame%02d.jpg", i);
    if (!fs::exists(folder / name)) fs::copy_file(first, folder / name);
    list.AddPicture((folder / name).string());
  }
  return list;
}

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }

}  // namespace

int main(int argc, char** argv) {
  const fs::path photos = argc > 1 ? fs::path(argv[1]) : fs::path(RunningProgramFolder()) / "bench-photos";
  const PictureList pictures = Frames(photos);
  const fs::path site = photos.parent_path() / "bench-web-export";
  fs::remove_all(site);
  const std::string player = FindPlayerFolder(RunningProgramFolder() + "/../app");

  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    MovieStream stream;
    SilentReporter quiet;
    const TConversion converter;
    PublishMovie({pictures, 6000, 4000, stream, converter, quiet},
                 {"", WebFolderTarget{site.string(), true, player}, std::nullopt});
    std::_Exit(0);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "the export failed\n");
    return 1;
  }
  const double cpu = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
  std::printf(
      "%d pictures of 6000 x 4000 on %u cores: export %.2f s, processor %.2f s (%.0f ms a picture), "
      "peak memory %.0f MiB\n",
      kPictures, std::thread::hardware_concurrency(), wall, cpu, 1000 * cpu / kPictures,
      static_cast<double>(usage.ru_maxrss) / 1024);
  std::map<std::string, std::uintmax_t> bytes;
  std::uintmax_t total = 0;
  for (const auto& entry : fs::recursive_directory_iterator(site)) {
    if (!entry.is_regular_file()) continue;
    const fs::path relative = fs::relative(entry.path(), site);
    const std::string group =
        *relative.begin() == "pictures" ? "pictures/" + (++relative.begin())->string() : relative.begin()->string();
    bytes[group] += entry.file_size();
    total += entry.file_size();
  }
  for (const auto& [group, size] : bytes)
    std::printf("  %-20s %8.2f MB\n", group.c_str(), static_cast<double>(size) / 1e6);
  std::printf("  %-20s %8.2f MB\n", "the whole folder", static_cast<double>(total) / 1e6);
  return 0;
}
