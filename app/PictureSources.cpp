#include "app/PictureSources.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "collection/NaturalOrder.h"

namespace {

// The list's name in messages.
std::string Shown(const std::string& path) { return path == "-" ? "on standard input" : "\"" + path + "\""; }

// Everything fd holds, read to its end: a list may come through a pipe, whose
// size is not known beforehand.
std::string ReadAll(int fd, const std::string& path) {
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw ListFileError("Cannot read the list " + Shown(path) + ". " + SystemReason(errno));
    if (n == 0) return bytes;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
}

// Closes the descriptor it holds, also when reading fails.
class OpenList {
 public:
  explicit OpenList(const std::string& path)
      : fd_(path == "-" ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC)), owned_(path != "-") {
    if (fd_ < 0) throw FileOpenError(path, errno);
    struct stat info {};
    if (::fstat(fd_, &info) == 0 && S_ISDIR(info.st_mode)) {
      Close();
      throw FileOpenError(path, EISDIR);
    }
  }
  ~OpenList() { Close(); }
  OpenList(const OpenList&) = delete;
  OpenList& operator=(const OpenList&) = delete;
  int Fd() const { return fd_; }

 private:
  void Close() {
    if (owned_ && fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  int fd_;
  bool owned_;
};

}  // namespace

std::vector<std::string> ReadPictureList(const std::string& path, bool nullSeparated) {
  const OpenList list(path);
  return ParsePictureList(ReadAll(list.Fd(), path), Shown(path), nullSeparated);
}

std::vector<std::string> ParsePictureList(const std::string& bytes, const std::string& shown, bool nullSeparated) {
  const char end = nullSeparated ? '\0' : '\n';
  if (!nullSeparated && bytes.find('\0') != std::string::npos) {
    throw ListFileError("The list " + shown + " holds NUL bytes: give --null for a list that find -print0 wrote.");
  }
  std::vector<std::string> paths;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t stop = bytes.find(end, start);
    if (stop == std::string::npos) stop = bytes.size();
    std::string path = bytes.substr(start, stop - start);
    if (!nullSeparated && path.ends_with('\r')) path.pop_back();
    if (!path.empty()) paths.push_back(std::move(path));
    start = stop + 1;
  }
  return paths;
}

std::optional<std::pair<std::string, std::string>> FirstPairOutOfOrder(const std::vector<PictureSource>& sources) {
  for (std::size_t i = 1; i < sources.size(); ++i) {
    const PictureSource& before = sources[i - 1];
    const PictureSource& after = sources[i];
    if (before.Type != PictureSource::Kind::File || after.Type != PictureSource::Kind::File) continue;
    // Only where plain character order, a shell's, keeps the pair: an order
    // the user typed on purpose is left alone.
    if (NaturalLess(after.Path, before.Path) && !(after.Path < before.Path)) {
      return std::make_pair(before.Path, after.Path);
    }
  }
  return std::nullopt;
}

std::string OrderWarning(const std::pair<std::string, std::string>& pair) {
  return "the pictures are not in natural name order: \"" + pair.first + "\" comes before \"" + pair.second +
         "\" (--sort puts them in that order)";
}

void ArrangePictures(std::vector<std::string>& paths, bool sort, bool reverse) {
  if (sort) {
    std::stable_sort(paths.begin(), paths.end(),
                     [](const std::string& a, const std::string& b) { return NaturalLess(a, b); });
  }
  if (reverse) std::reverse(paths.begin(), paths.end());
}
