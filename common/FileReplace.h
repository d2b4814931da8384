#pragma once
// Replaces a file's content as a careful editor saves: the bytes go to a new
// file beside the target, are flushed to the disk, and only then is the new
// file renamed over the target. Readers see the old file or the whole new
// one, never a part; on any failure the new file is removed and the target
// is untouched. The new file takes the old one's mode and, where the system
// allows, its owner and group.

#include <signal.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

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

// What a symbolic link in the target's place stands for.
enum class TargetLink {
  // The file it names is replaced and the link stays a link.
  Follow,
  // The link itself is replaced by the new file: nothing is ever written
  // through a link, nor into a file that other names share.
  Replace,
};

// Writes bytes to path through a temporary file in the target's folder,
// named ".NAME.XXXXXX.part" with NAME cut to keep within the folder's name
// limit. A file that is new gets the permissions of any newly created file
// (0666 less the umask). With TargetLink::Follow a target that has other
// hard links is written in place, so that every name sees the new bytes;
// the room is made first, so a full disk still leaves it as it was.
// Throws FileCreateError (with path and the system's reason) when the file
// cannot be made or put in place (a folder in its place: "Is a directory"),
// FileRefusedError when the target is another kind of file that is not a
// regular one (a pipe, a device), StreamWriteError when writing or flushing
// it fails. The temporary file is locked while it lives (common/Leftovers.h).
void ReplaceFileContent(const std::string& path, std::span<const std::uint8_t> bytes,
                        FileSystem& files = SystemFileSystem(), TargetLink link = TargetLink::Follow);

// Holds SIGINT, SIGTERM and SIGHUP back on this thread for its lifetime;
// one that arrives meanwhile acts when it ends.
class StopSignalsHeld {
 public:
  StopSignalsHeld();
  ~StopSignalsHeld();
  StopSignalsHeld(const StopSignalsHeld&) = delete;
  StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;

 private:
  sigset_t saved_{};
};

// True when SIGINT, SIGTERM or SIGHUP waits, held back.
bool StopSignalPending();

// Makes SIGINT, SIGTERM and SIGHUP remove the temporary file of a
// replacement under way before they end the program as they otherwise
// would. For programs that run one replacement at a time.
void RemovePartialFilesOnSignals();

// Writes bytes to a new file at path, which must not exist yet, without
// flushing it to the disk (the caller flushes a whole folder at once). A new
// file's permissions and the errors of ReplaceFileContent; a file that could
// not be written whole is removed.
void WriteNewFile(const std::string& path, std::span<const std::uint8_t> bytes, FileSystem& files = SystemFileSystem());

// Removes the ".NAME.XXXXXX.part" files beside path's target (through
// links, as ReplaceFileContent finds it) that runs which were killed left
// behind; returns their paths.
std::vector<std::string> RemoveLeftoverPartFiles(const std::string& path);
