#include "common/InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/Errors.h"

namespace {

constexpr const char* kNotRegular = "not a regular file";

// Refuses whatever is not a regular file, naming it.
void CheckRegular(const std::string& path, const struct stat& info) {
  if (S_ISDIR(info.st_mode)) throw FileOpenError(path, EISDIR);
  if (!S_ISREG(info.st_mode)) throw FileRefusedError(path, kNotRegular);
}

struct stat StatOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) throw FileOpenError(path, errno);
  return info;
}

}  // namespace

std::uint64_t InputFile::SizeOf(const std::string& path) {
  const struct stat info = StatOf(path);
  CheckRegular(path, info);
  return static_cast<std::uint64_t>(info.st_size);
}

InputFile::InputFile(const std::string& path) {
  // Looked at before it is opened: opening a pipe or a device may wait or act.
  CheckRegular(path, StatOf(path));
  // Without waiting, should the name have been swapped for a pipe meanwhile;
  // what was opened is checked again.
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd_ < 0) throw FileOpenError(path, errno);
  struct stat info {};
  try {
    if (::fstat(fd_, &info) != 0) throw FileOpenError(path, errno);
    CheckRegular(path, info);
  } catch (...) {
    ::close(fd_);
    throw;
  }
  size_ = static_cast<std::uint64_t>(info.st_size);
}

InputFile::~InputFile() { ::close(fd_); }

std::vector<std::uint8_t> InputFile::ReadAll(const std::string& path) {
  InputFile file(path);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.Size()));
  file.ReadExactly(bytes);
  return bytes;
}

std::size_t InputFile::ReadSome(std::span<std::uint8_t> bytes) {
  for (;;) {
    const ssize_t n = ::read(fd_, bytes.data(), bytes.size());
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) throw StreamReadError();
  }
}

void InputFile::ReadExactly(std::span<std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const std::size_t n = ReadSome(bytes);
    if (n == 0) throw StreamReadError();  // the file ended early
    bytes = bytes.subspan(n);
  }
}

void InputFile::Skip(std::uint64_t count) {
  if (::lseek(fd_, static_cast<off_t>(count), SEEK_CUR) < 0) throw StreamReadError();
}
