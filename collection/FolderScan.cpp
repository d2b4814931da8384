#include "collection/FolderScan.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <set>
#include <string_view>
#include <utility>

#include "collection/NaturalOrder.h"
#include "common/Errors.h"

namespace {

constexpr std::string_view kPatterns[] = {".jpg", ".jpeg"};

bool EndsWithIgnoringCase(std::string_view name, std::string_view suffix) {
  if (name.size() < suffix.size()) return false;
  const std::string_view tail = name.substr(name.size() - suffix.size());
  return std::equal(tail.begin(), tail.end(), suffix.begin(),
                    [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b; });
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

// The folder as the user should see it in paths: absolute, without a
// trailing separator.
std::string Shown(const std::string& folder) {
  std::string shown = folder;
  if (!shown.starts_with('/')) {
    char* cwd = ::getcwd(nullptr, 0);
    if (cwd) {
      shown = Join(cwd, shown);
      ::free(cwd);
    }
  }
  while (shown.size() > 1 && shown.ends_with('/')) shown.pop_back();
  return shown;
}

// The names in the current directory that end in suffix, in natural order.
std::vector<std::string> MatchingNames(const std::string& shown, std::string_view suffix) {
  DIR* dir = ::opendir(".");
  if (!dir) throw FolderOpenError(shown, errno);
  std::vector<std::string> names;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir);
    if (!entry) break;
    const std::string_view name = entry->d_name;
    if (!name.starts_with('.') && EndsWithIgnoringCase(name, suffix)) names.emplace_back(name);
  }
  const int readError = errno;
  ::closedir(dir);
  if (readError != 0) throw FolderOpenError(shown, readError);
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return NaturalLess(a, b); });
  return names;
}

class Scan {
 public:
  std::vector<std::string> Run(const std::string& folder) {
    const std::string shown = Shown(folder);
    if (::chdir(folder.c_str()) != 0) throw FolderOpenError(shown, errno);
    struct stat here {};
    if (::stat(".", &here) != 0) throw FolderOpenError(shown, errno);
    visited_.emplace(here.st_dev, here.st_ino);
    ScanCurrent(shown);
    return std::move(found_);
  }

 private:
  // Scans the current directory, whose path the user knows as shown.
  void ScanCurrent(const std::string& shown) {
    for (const std::string_view pattern : kPatterns) {
      for (const std::string& name : MatchingNames(shown, pattern)) {
        struct stat info {};
        // Links are followed; a dangling one is no picture.
        if (::stat(name.c_str(), &info) != 0) continue;
        if (S_ISREG(info.st_mode)) {
          found_.push_back(Join(shown, name));
        } else if (S_ISDIR(info.st_mode) && visited_.emplace(info.st_dev, info.st_ino).second) {
          ScanInner(shown, name);
        }
      }
    }
  }

  // Scans the folder name inside the current one (known as parent) and
  // comes back, also when the inner scan fails.
  void ScanInner(const std::string& parent, const std::string& name) {
    const SavedFolder back(parent);
    const std::string shown = Join(parent, name);
    if (::chdir(name.c_str()) != 0) throw FolderOpenError(shown, errno);
    ScanCurrent(shown);
  }

  std::vector<std::string> found_;
  std::set<std::pair<dev_t, ino_t>> visited_;
};

}  // namespace

// O_PATH: coming back needs only the right to enter the folder, not to
// read it (a folder of mode 0711 is fine).
SavedFolder::SavedFolder(std::string shown)
    : fd_(::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC)), shown_(std::move(shown)) {
  if (fd_ < 0) throw FolderOpenError(shown_, errno);
}

SavedFolder::~SavedFolder() {
  [[maybe_unused]] const int ignored = ::fchdir(fd_);
  ::close(fd_);
}

void SavedFolder::Return() const {
  if (::fchdir(fd_) != 0) throw FolderOpenError(shown_, errno);
}

std::vector<std::string> ScanFolder(const std::string& folder) { return Scan().Run(folder); }
