#include "common/FileReplace.h"

#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <optional>
#include <random>
#include <vector>

#include "common/Errors.h"
#include "common/Leftovers.h"

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

sigset_t StopSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : kStopSignals) sigaddset(&set, signal);
  return set;
}

}  // namespace

StopSignalsHeld::StopSignalsHeld() {
  const sigset_t set = StopSignalSet();
  pthread_sigmask(SIG_BLOCK, &set, &saved_);
}

StopSignalsHeld::~StopSignalsHeld() { pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }

bool StopSignalPending() {
  sigset_t pending;
  sigemptyset(&pending);
  if (sigpending(&pending) != 0) return false;
  for (const int signal : kStopSignals) {
    if (sigismember(&pending, signal) == 1) return true;
  }
  return false;
}

int FileSystem::CreateNew(const std::string& path, mode_t mode) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
}

ssize_t FileSystem::Write(int fd, const void* data, std::size_t size) { return ::write(fd, data, size); }

int FileSystem::Sync(int fd) { return ::fsync(fd); }
int FileSystem::Close(int fd) { return ::close(fd); }

int FileSystem::Rename(const std::string& from, const std::string& to) { return ::rename(from.c_str(), to.c_str()); }

int FileSystem::Remove(const std::string& path) { return ::unlink(path.c_str()); }

FileSystem& SystemFileSystem() {
  static FileSystem system;
  return system;
}

namespace {

// The temporary file of the replacement under way, for the signal handler,
// which may only read plain memory and make async-signal-safe calls. Both
// are changed only while the stop signals are held back.
std::array<char, PATH_MAX> g_partial{};
volatile std::sig_atomic_t g_hasPartial = 0;

extern "C" void RemovePartialAndStop(int signal) {
  if (g_hasPartial != 0) ::unlink(g_partial.data());
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  sigemptyset(&standard.sa_mask);
  ::sigaction(signal, &standard, nullptr);
  ::raise(signal);  // acts with the standard action once the handler returns
}

// The file that a chain of symbolic links ends at, or path itself when it
// is no link. A link's relative text counts from the link's own folder.
std::string FollowLinks(const std::string& path) {
  constexpr int kMaxLinks = 40;  // the system's own limit on a chain
  std::string current = path;
  std::vector<char> text(PATH_MAX);
  for (int hop = 0; hop < kMaxLinks; ++hop) {
    const ssize_t n = ::readlink(current.c_str(), text.data(), text.size());
    if (n < 0) return current;  // no link (or none there): this is the file
    const std::filesystem::path target(std::string(text.data(), static_cast<std::size_t>(n)));
    current = (target.is_absolute() ? target : std::filesystem::path(current).parent_path() / target).string();
  }
  throw FileCreateError(path, ELOOP);
}

// The target as it is now, or nothing when there is none to keep. Refuses
// what a movie must not replace.
std::optional<struct stat> ExistingTarget(const std::string& path, const std::string& target, TargetLink link) {
  struct stat info {};
  if (::lstat(target.c_str(), &info) != 0) return std::nullopt;
  if (S_ISLNK(info.st_mode) && link == TargetLink::Replace) return std::nullopt;
  if (S_ISDIR(info.st_mode)) throw FileCreateError(path, EISDIR);
  if (!S_ISREG(info.st_mode)) throw FileRefusedError(path, "not a regular file");
  return info;
}

constexpr char kPartDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kPartRandom = 6;
constexpr std::size_t kPartAdded = std::char_traits<char>::length("..XXXXXX.part");

std::string FolderOf(const std::string& target) {
  const std::filesystem::path folder = std::filesystem::path(target).parent_path();
  return folder.empty() ? "." : folder.string();
}

// The NAME of ".NAME.XXXXXX.part": the target's name, cut to keep within the
// folder's limit on the length of a name.
std::string PartStem(const std::string& target) {
  return NameWithin(FolderOf(target), std::filesystem::path(target).filename().string(), kPartAdded);
}

// A hidden name beside the target: ".NAME.XXXXXX.part".
std::string TemporaryName(const std::string& target, std::mt19937_64& random) {
  std::string suffix;
  for (std::size_t k = 0; k < kPartRandom; ++k) suffix += kPartDigits[random() % (sizeof kPartDigits - 1)];
  const std::string hidden = "." + PartStem(target) + "." + suffix + ".part";
  return (std::filesystem::path(target).parent_path() / hidden).string();
}

// Creates the temporary file, trying other names while one is taken, and
// records it for the signal handler.
int CreateTemporary(const std::string& target, mode_t mode, std::string& temporary, FileSystem& files) {
  std::random_device seed;
  std::mt19937_64 random((std::uint64_t{seed()} << 32) ^ seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = TemporaryName(target, random);
    const StopSignalsHeld held;
    const int fd = files.CreateNew(temporary, mode);
    if (fd >= 0 && temporary.size() < g_partial.size()) {
      std::copy(temporary.begin(), temporary.end(), g_partial.begin());
      g_partial[temporary.size()] = '\0';
      g_hasPartial = 1;
    }
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

bool WriteAll(FileSystem& files, int fd, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t n = files.Write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) errno = ENOSPC;  // a write that takes nothing: the disk is full
    if (n <= 0) return false;
    bytes = bytes.subspan(static_cast<std::size_t>(n));
  }
  return true;
}

// Gives the new file the old one's owner and group where the system lets
// us, then its mode; the set-id bits only when the owner stayed the same.
int KeepOwnerAndMode(int fd, const struct stat& old) {
  const bool keptOwner = ::fchown(fd, old.st_uid, old.st_gid) == 0;
  if (!keptOwner) {
    [[maybe_unused]] const int groupOnly = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
  }
  return ::fchmod(fd, old.st_mode & (keptOwner ? 07777 : 0777));
}

// The atomic way: a new file renamed over the target.
void ReplaceByRename(const std::string& path, const std::string& target, const std::optional<struct stat>& old,
                     std::span<const std::uint8_t> bytes, FileSystem& files) {
  // A file that replaces another is closed to others until it has the old
  // one's rights.
  std::string temporary;
  std::optional<HiddenNameHeld> inUse;
  int fd = -1;
  {
    const HiddenNameMaking making(FolderOf(target));
    fd = CreateTemporary(target, old ? 0600 : 0666, temporary, files);
    if (fd < 0) throw FileCreateError(path, errno);
    inUse.emplace(temporary);
  }

  // From here every way out removes the temporary file.
  auto fail = [&](auto error) {
    if (fd >= 0) files.Close(fd);
    const StopSignalsHeld held;
    files.Remove(temporary);
    g_hasPartial = 0;
    throw error;
  };
  if (old && KeepOwnerAndMode(fd, *old) != 0) fail(FileCreateError(path, errno));
  if (!WriteAll(files, fd, bytes) || files.Sync(fd) != 0) fail(StreamWriteError(path, errno));
  const int closed = files.Close(fd);
  fd = -1;
  if (closed != 0) fail(StreamWriteError(path, errno));
  const StopSignalsHeld held;
  if (files.Rename(temporary, target) != 0) fail(FileCreateError(path, errno));
  g_hasPartial = 0;
}

// The way that keeps hard links: the room is made first, then the file is
// overwritten and cut to length with the stop signals held back, so that an
// interruption cannot leave it half old, half new.
void ReplaceInPlace(const std::string& path, const std::string& target, const struct stat& old,
                    std::span<const std::uint8_t> bytes, FileSystem& files) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) throw FileCreateError(path, errno);
  auto fail = [&](auto error) {
    files.Close(fd);
    throw error;
  };
  struct stat opened {};
  if (::fstat(fd, &opened) != 0 || opened.st_dev != old.st_dev || opened.st_ino != old.st_ino) {
    fail(FileCreateError(path, EAGAIN));  // swapped since it was looked at
  }
  const auto size = static_cast<off_t>(bytes.size());
  if (const int error = ::posix_fallocate(fd, 0, size); error != 0) {
    // Whatever room was added goes again; the old bytes were not touched.
    [[maybe_unused]] const int ignored = ::ftruncate(fd, old.st_size);
    if (error == ENOSPC) fail(StreamWriteError(path, error));
    fail(FileCreateError(path, error));
  }
  const StopSignalsHeld held;
  if (!WriteAll(files, fd, bytes) || ::ftruncate(fd, size) != 0 || files.Sync(fd) != 0) {
    fail(StreamWriteError(path, errno));
  }
  if (files.Close(fd) != 0) throw StreamWriteError(path, errno);
}

}  // namespace

void ReplaceFileContent(const std::string& path, std::span<const std::uint8_t> bytes, FileSystem& files,
                        TargetLink link) {
  const std::string target = link == TargetLink::Follow ? FollowLinks(path) : path;
  const std::optional<struct stat> old = ExistingTarget(path, target, link);
  if (old && old->st_nlink > 1 && link == TargetLink::Follow) {
    ReplaceInPlace(path, target, *old, bytes, files);
  } else {
    ReplaceByRename(path, target, old, bytes, files);
  }
}

void RemovePartialFilesOnSignals() {
  struct sigaction action {};
  action.sa_handler = RemovePartialAndStop;
  action.sa_mask = StopSignalSet();
  for (const int signal : kStopSignals) ::sigaction(signal, &action, nullptr);
}

void WriteNewFile(const std::string& path, std::span<const std::uint8_t> bytes, FileSystem& files) {
  const int fd = files.CreateNew(path, 0666);
  if (fd < 0) throw FileCreateError(path, errno);
  const bool written = WriteAll(files, fd, bytes);
  const int error = errno;
  if (files.Close(fd) != 0 || !written) {
    const StreamWriteError failure(path, written ? errno : error);
    files.Remove(path);
    throw failure;
  }
}

std::vector<std::string> RemoveLeftoverPartFiles(const std::string& path) {
  const std::string target = FollowLinks(path);
  const std::string stem = "." + PartStem(target) + ".";
  return RemoveLeftovers(std::filesystem::path(target).parent_path().string(), false, [&](std::string_view name) {
    return name.starts_with(stem) && name.ends_with(".part") &&
           IsRandomPart(name.substr(stem.size(), name.size() - stem.size() - 5), kPartDigits, kPartRandom);
  });
}
