#include "movie/FileReplace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <random>

#include "collection/Errors.h"

int FileSystem::CreateNew(const std::string& path, mode_t mode) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
}

ssize_t FileSystem::Write(int fd, const void* data, std::size_t size) {
  return ::write(fd, data, size);
}

int FileSystem::Sync(int fd) { return ::fsync(fd); }
int FileSystem::Close(int fd) { return ::close(fd); }

int FileSystem::Rename(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str());
}

int FileSystem::Remove(const std::string& path) { return ::unlink(path.c_str()); }

FileSystem& SystemFileSystem() {
  static FileSystem system;
  return system;
}

namespace {

// A hidden name beside the target: ".NAME.XXXXXX.part".
std::string TemporaryName(const std::string& path, std::mt19937_64& random) {
  static constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  const std::filesystem::path target(path);
  std::string suffix;
  for (int k = 0; k < 6; ++k) suffix += kDigits[random() % (sizeof kDigits - 1)];
  return (target.parent_path() / ("." + target.filename().string() + "." + suffix + ".part"))
      .string();
}

// Creates the temporary file, trying other names while one is taken.
int CreateTemporary(const std::string& path, std::string& temporary, FileSystem& files) {
  std::random_device seed;
  std::mt19937_64 random((std::uint64_t{seed()} << 32) ^ seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = TemporaryName(path, random);
    const int fd = files.CreateNew(temporary, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

bool WriteAll(FileSystem& files, int fd, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t n = files.Write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes = bytes.subspan(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

void ReplaceFileContent(const std::string& path, std::span<const std::uint8_t> bytes,
                        FileSystem& files) {
  std::string temporary;
  int fd = CreateTemporary(path, temporary, files);
  if (fd < 0) throw FileCreateError(path, errno);

  // From here every way out that fails removes the temporary file.
  auto fail = [&](auto error) {
    if (fd >= 0) files.Close(fd);
    files.Remove(temporary);
    throw error;
  };
  if (!WriteAll(files, fd, bytes) || files.Sync(fd) != 0) fail(StreamWriteError());
  const int closed = files.Close(fd);
  fd = -1;
  if (closed != 0) fail(StreamWriteError());
  if (files.Rename(temporary, path) != 0) fail(FileCreateError(path, errno));
}

void WriteNewFile(const std::string& path, std::span<const std::uint8_t> bytes, FileSystem& files) {
  const int fd = files.CreateNew(path, 0666);
  if (fd < 0) throw FileCreateError(path, errno);
  const bool written = WriteAll(files, fd, bytes);
  if (files.Close(fd) != 0 || !written) {
    files.Remove(path);
    throw StreamWriteError();
  }
}
