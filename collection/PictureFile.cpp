#include "collection/PictureFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "collection/Errors.h"

PictureFile::PictureFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
  if (fd_ < 0) throw FileOpenError(path, errno);
  struct stat info {};
  const int failure = ::fstat(fd_, &info) != 0 ? errno : S_ISDIR(info.st_mode) ? EISDIR : 0;
  // A folder opens for reading here but is not a file to read.
  if (failure != 0) {
    ::close(fd_);
    throw FileOpenError(path, failure);
  }
  size_ = static_cast<std::uint64_t>(info.st_size);
}

PictureFile::~PictureFile() { ::close(fd_); }

void PictureFile::ReadExactly(std::span<std::uint8_t> bytes) {
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(fd_, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw StreamReadError();  // an error, or the file ended early
    got += static_cast<std::size_t>(n);
  }
}
