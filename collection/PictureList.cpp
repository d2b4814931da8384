#include "collection/PictureList.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "collection/Errors.h"

void PictureList::AddPicture(std::string path) {
  entries_.push_back(PictureEntry{false, std::move(path)});
}

bool PictureList::DeleteSelected() {
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (it->Selected) {
      entries_.erase(it);
      selectedIndex_ = -1;
      return true;
    }
  }
  return false;
}

bool PictureList::MovePrevious() {
  if (selectedIndex_ <= 0) return false;
  SwapWithSelected(selectedIndex_ - 1);
  return true;
}

bool PictureList::MoveNext() {
  if (selectedIndex_ == -1 || selectedIndex_ >= Count() - 1) return false;
  SwapWithSelected(selectedIndex_ + 1);
  return true;
}

void PictureList::SwapWithSelected(int other) {
  std::swap(entries_[static_cast<size_t>(selectedIndex_)], entries_[static_cast<size_t>(other)]);
  selectedIndex_ = other;
}

void PictureList::ClearPictures() {
  entries_.clear();
  selectedIndex_ = -1;
}

void PictureList::SelectAt(int position) {
  for (auto& entry : entries_) entry.Selected = false;
  if (position >= 0 && position < Count()) {
    entries_[static_cast<size_t>(position)].Selected = true;
    selectedIndex_ = position;
  } else {
    selectedIndex_ = -1;
  }
}

bool PictureList::AllPicturesAreJpeg() const {
  for (const auto& entry : entries_) {
    if (!IsJpegFile(entry.Path)) return false;
  }
  return true;
}

namespace {

// Closes the descriptor on every way out.
struct FileDescriptor {
  int fd;
  ~FileDescriptor() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

bool IsJpegFile(const std::string& path) {
  FileDescriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
  if (file.fd < 0) throw FileOpenError(path, errno);
  struct stat info {};
  if (::fstat(file.fd, &info) != 0) throw FileOpenError(path, errno);
  // A folder opens for reading here but is not a file to read.
  if (S_ISDIR(info.st_mode)) throw FileOpenError(path, EISDIR);

  unsigned char marker[2];
  size_t got = 0;
  while (got < sizeof marker) {
    ssize_t n = ::read(file.fd, marker + got, sizeof marker - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw StreamReadError();
    got += static_cast<size_t>(n);
  }
  return marker[0] == 0xFF && marker[1] == 0xD8;
}
