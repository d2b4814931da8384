#pragma once
// Replaces a file's content atomically: the bytes go to a new file beside
// the target, are flushed to the disk, and only then is the new file renamed
// over the target. Readers see the old file or the whole new one, never a
// part; on any failure the new file is removed and the target is untouched.

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// The system calls the replacement makes, behind a seam so that a test can
// make one of them fail (a full disk, say). Each returns what the POSIX call
// returns and leaves the reason in errno.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode)
  virtual int CreateNew(const std::string& path, mode_t mode);
  virtual ssize_t Write(int fd, const void* data, std::size_t size);
  virtual int Sync(int fd);
  virtual int Close(int fd);
  virtual int Rename(const std::string& from, const std::string& to);
  virtual int Remove(const std::string& path);
};

// The real file system.
FileSystem& SystemFileSystem();

// Writes bytes to path through a temporary file in path's folder. The new
// file gets the permissions of any newly created file (0666 less the umask).
// Throws FileCreateError (with path and the system's reason) when the file
// cannot be made or put in place, StreamWriteError when writing or flushing
// it fails.
void ReplaceFileContent(const std::string& path, std::span<const std::uint8_t> bytes,
                        FileSystem& files = SystemFileSystem());

// Writes bytes to a new file at path, which must not exist yet, without
// flushing it to the disk (the caller flushes a whole folder at once). The
// same permissions and errors as ReplaceFileContent; a file that could not be
// written whole is removed.
void WriteNewFile(const std::string& path, std::span<const std::uint8_t> bytes,
                  FileSystem& files = SystemFileSystem());
