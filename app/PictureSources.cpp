#include "app/PictureSources.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <string_view>
#include <utility>

#include "collection/NaturalOrder.h"
#include "movie/Tags.h"

namespace {

// Whether standard input was closed when the program started (see
// KeepStandardStreamsOpen).
bool standardInputClosed = false;

// The list's name in messages.
std::string Shown(const std::string& path) { return path == "-" ? "on standard input" : "\"" + path + "\""; }

// Closes the descriptor it holds, also when reading fails.
class OpenList {
 public:
  explicit OpenList(const std::string& path)
      : fd_(path == "-" ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC)), owned_(path != "-") {
    if (!owned_ && standardInputClosed) throw ListFileError("Cannot read the list on standard input: it is closed.");
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

// Takes a list's bytes as they come and splits them into paths, stopping at
// once at a NUL byte where none belongs, at a line longer than any path, or
// past the pictures a movie can hold: a list may be endless (/dev/zero, yes).
class ListParser {
 public:
  ListParser(std::string shown, bool nullSeparated) : shown_(std::move(shown)), nullSeparated_(nullSeparated) {}

  void Add(std::string_view bytes) {
    const char end = nullSeparated_ ? '\0' : '\n';
    if (!nullSeparated_ && bytes.find('\0') != std::string_view::npos) {
      throw ListFileError("The list " + shown_ + " holds NUL bytes: give --null for a list that find -print0 wrote.");
    }
    while (!bytes.empty()) {
      const std::size_t stop = bytes.find(end);
      line_.append(bytes.substr(0, stop));
      if (line_.size() > PATH_MAX) {
        throw ListFileError("The list " + shown_ + " has a line longer than " + std::to_string(PATH_MAX) +
                            " bytes, which no path can be.");
      }
      if (stop == std::string_view::npos) return;
      EndLine();
      bytes.remove_prefix(stop + 1);
    }
  }

  std::vector<std::string> Finish() {
    EndLine();
    return std::move(paths_);
  }

 private:
  void EndLine() {
    if (!nullSeparated_ && line_.ends_with('\r')) line_.pop_back();
    if (line_.empty()) {
      // Empty entries are skipped, but an endless run of them ends too.
      if (++empty_ > tags::kMaxPictures) {
        throw ListFileError("The list " + shown_ + " has more than " + std::to_string(tags::kMaxPictures) +
                            " empty entries; it is no list of pictures.");
      }
      return;
    }
    if (paths_.size() == tags::kMaxPictures) {
      throw ListFileError("The list " + shown_ + " names more than " + std::to_string(tags::kMaxPictures) +
                          " pictures, the most a movie can hold.");
    }
    paths_.push_back(std::move(line_));
    line_.clear();
  }

  std::string shown_;
  bool nullSeparated_;
  std::string line_;
  std::size_t empty_ = 0;
  std::vector<std::string> paths_;
};

}  // namespace

void KeepStandardStreamsOpen() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
    if (fd == STDIN_FILENO) standardInputClosed = true;
    // open() takes the lowest free descriptor, which is this one.
    ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
  }
}

std::vector<std::string> ReadPictureList(const std::string& path, bool nullSeparated) {
  const OpenList list(path);
  ListParser parser(Shown(path), nullSeparated);
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t n = ::read(list.Fd(), buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw ListFileError("Cannot read the list " + Shown(path) + ". " + SystemReason(errno));
    if (n == 0) return parser.Finish();
    parser.Add(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
  }
}

std::vector<std::string> ParsePictureList(const std::string& bytes, const std::string& shown, bool nullSeparated) {
  ListParser parser(shown, nullSeparated);
  parser.Add(bytes);
  return parser.Finish();
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
