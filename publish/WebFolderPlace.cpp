#include "publish/WebFolderPlace.h"

#include <fcntl.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <optional>
#include <system_error>

#include "common/Errors.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kStampFirstLine = "Orbilux Rezoziv web folder\n";
constexpr int kLayout = 1;

// True when path lies inside folder or is folder (both absolute and resolved).
bool Within(const fs::path& path, const fs::path& folder) {
  return std::mismatch(folder.begin(), folder.end(), path.begin(), path.end()).first == folder.end();
}

std::optional<fs::path> Resolved(const char* path) {
  if (!path || !*path) return std::nullopt;
  std::error_code error;
  fs::path resolved = fs::weakly_canonical(fs::absolute(path, error), error);
  if (error) return std::nullopt;
  return resolved;
}

std::optional<fs::path> HomeFolder() {
  if (const auto home = Resolved(::getenv("HOME"))) return home;
  const passwd* user = ::getpwuid(::getuid());
  return Resolved(user ? user->pw_dir : nullptr);
}

// A mount point's path as /proc/self/mountinfo writes it: space, tab, line
// break and backslash as three octal digits after a backslash.
std::string Unescaped(const std::string& field) {
  std::string out;
  for (std::size_t at = 0; at < field.size(); ++at) {
    const std::string digits = field.substr(at + 1, 3);
    if (field[at] == '\\' && digits.size() == 3 &&
        std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '7'; })) {
      out += static_cast<char>(std::stoi(digits, nullptr, 8));
      at += 3;
      continue;
    }
    out += field[at];
  }
  return out;
}

// The first mount point at place or inside it, if any.
std::optional<fs::path> MountPointWithin(const fs::path& place) {
  std::ifstream table("/proc/self/mountinfo");
  std::string line;
  while (std::getline(table, line)) {
    // id, parent id, device, root, then the mount point.
    std::size_t at = 0;
    for (int field = 0; field < 4 && at != std::string::npos; ++field) at = line.find(' ', at) + 1;
    if (at == 0 || at >= line.size()) continue;
    const fs::path point = Unescaped(line.substr(at, line.find(' ', at) - at));
    if (Within(point, place)) return point;
  }
  // Without the table, a folder on another device than its parent is one.
  struct stat folder {};
  struct stat parent {};
  if (!table.is_open() && ::stat(place.c_str(), &folder) == 0 && ::stat(place.parent_path().c_str(), &parent) == 0 &&
      folder.st_dev != parent.st_dev) {
    return place;
  }
  return std::nullopt;
}

}  // namespace

std::string WebFolderStamp() {
  return std::string(kStampFirstLine) + "layout " + std::to_string(kLayout) + "\n" +
         "A later export may replace this folder with everything in it.\n";
}

fs::path WebFolderPlace(const std::string& folder) {
  fs::path place = fs::absolute(folder).lexically_normal();
  if (!place.has_filename() && place != place.root_path()) place = place.parent_path();
  std::error_code error;
  const fs::path resolved = fs::weakly_canonical(place, error);
  return error ? place : resolved;
}

bool HoldsWebFolderStamp(const fs::path& place) {
  const fs::path stamp = place / kWebFolderStampName;
  struct stat info {};
  if (::lstat(stamp.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  const int fd = ::open(stamp.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return false;
  std::array<char, kStampFirstLine.size()> start{};
  const ssize_t n = ::read(fd, start.data(), start.size());
  ::close(fd);
  return n == static_cast<ssize_t>(start.size()) && std::string_view(start.data(), start.size()) == kStampFirstLine;
}

void CheckNeverReplaced(const std::string& folder, const fs::path& place) {
  std::error_code error;
  if (!fs::is_directory(fs::symlink_status(place, error))) return;
  if (place == place.root_path()) throw FolderNeverReplacedError(folder, "is the root of the file system");
  if (const auto current = Resolved(".")) {
    if (Within(*current, place)) throw FolderNeverReplacedError(folder, "is the current folder or holds it");
  }
  if (const auto home = HomeFolder()) {
    if (Within(*home, place)) throw FolderNeverReplacedError(folder, "is the home folder or holds it");
  }
  if (const auto point = MountPointWithin(place)) {
    throw FolderNeverReplacedError(
        folder, *point == place ? "is a mount point" : "holds the mount point \"" + point->string() + "\"");
  }
}

void CheckFolderMayBeReplaced(const std::string& folder, const fs::path& place) {
  CheckNeverReplaced(folder, place);
  std::error_code error;
  if (fs::is_directory(fs::symlink_status(place, error)) && !fs::is_empty(place, error) &&
      !HoldsWebFolderStamp(place)) {
    throw ForeignFolderError(folder);
  }
}
