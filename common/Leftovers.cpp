#include "common/Leftovers.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

HiddenNameMaking::HiddenNameMaking(const std::string& folder)
    : fd_(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
  // A folder that cannot be read cannot be cleaned either: no lock needed.
  if (fd_ >= 0) ::flock(fd_, LOCK_SH);
}

HiddenNameMaking::~HiddenNameMaking() {
  if (fd_ >= 0) ::close(fd_);
}

HiddenNameHeld::HiddenNameHeld(const std::string& path)
    : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK)) {
  if (fd_ >= 0) ::flock(fd_, LOCK_EX | LOCK_NB);
}

HiddenNameHeld::~HiddenNameHeld() {
  if (fd_ >= 0) ::close(fd_);
}

std::string NameWithin(const std::string& folder, const std::string& name, std::size_t added) {
  const long limit = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
  const std::size_t nameMax = limit > static_cast<long>(added) ? static_cast<std::size_t>(limit) : NAME_MAX;
  return name.substr(0, std::min(name.size(), nameMax - added));
}

bool IsRandomPart(std::string_view text, std::string_view alphabet, std::size_t count) {
  return text.size() == count &&
         std::all_of(text.begin(), text.end(), [&](char c) { return alphabet.find(c) != std::string_view::npos; });
}

namespace {

// Removes the entry name of the folder open at dir when it is of the kind
// asked for and unlocked; true when it was removed.
bool RemoveWhenUnheld(int dir, const std::string& folder, const std::string& name, bool isFolder) {
  struct stat seen {};
  if (::fstatat(dir, name.c_str(), &seen, AT_SYMLINK_NOFOLLOW) != 0) return false;
  if (isFolder ? !S_ISDIR(seen.st_mode) : !S_ISREG(seen.st_mode)) return false;
  const int fd = ::openat(dir, name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat opened {};
  bool removed = false;
  if (::fstat(fd, &opened) == 0 && opened.st_dev == seen.st_dev && opened.st_ino == seen.st_ino &&
      ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    std::error_code error;
    if (isFolder) {
      removed = std::filesystem::remove_all(std::filesystem::path(folder) / name, error) > 0 && !error;
    } else {
      removed = ::unlinkat(dir, name.c_str(), 0) == 0;
    }
  }
  ::close(fd);
  return removed;
}

}  // namespace

std::vector<std::string> RemoveLeftovers(const std::string& folder, bool folders,
                                         const std::function<bool(std::string_view name)>& matches) {
  std::vector<std::string> removed;
  const std::string place = folder.empty() ? "." : folder;
  const int dir = ::open(place.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return removed;
  if (::flock(dir, LOCK_EX | LOCK_NB) != 0) {
    ::close(dir);
    return removed;  // a run is making its hidden name here: look next time
  }
  std::vector<std::string> names;
  if (DIR* entries = ::fdopendir(::dup(dir))) {
    while (const dirent* entry = ::readdir(entries)) {
      if (matches(entry->d_name)) names.emplace_back(entry->d_name);
    }
    ::closedir(entries);
  }
  for (const std::string& name : names) {
    if (RemoveWhenUnheld(dir, place, name, folders)) removed.push_back((std::filesystem::path(folder) / name).string());
  }
  ::close(dir);
  return removed;
}
