#include "publish/StagedFolder.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "common/Errors.h"

namespace fs = std::filesystem;

namespace {

constexpr char kStagingDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";  // mkdtemp's
constexpr std::size_t kStagingRandom = 6;
// ".NAME.part-XXXXXX", and ".old" after it while two renames swap folders.
constexpr std::size_t kStagingAdded = std::char_traits<char>::length("..part-XXXXXX.old");

// The process's umask, which can only be read by setting it.
mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

std::string FolderOf(const std::string& target) {
  const fs::path folder = fs::path(target).parent_path();
  return folder.empty() ? "." : folder.string();
}

// ".NAME.part-": what every staging folder of target starts with.
std::string StagingStem(const std::string& target) {
  return "." + NameWithin(FolderOf(target), fs::path(target).filename().string(), kStagingAdded) + ".part-";
}

// Writes everything of the file system that holds folder to the disk: one
// call for all the files rather than one per file. Returns false with errno.
bool SyncFileSystemOf(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::syncfs(fd) == 0;
  const int error = errno;
  ::close(fd);
  errno = error;
  return synced;
}

// The folder in target's place now, if there is one.
std::optional<struct stat> FolderThere(const std::string& target) {
  struct stat there {};
  if (::lstat(target.c_str(), &there) != 0 || !S_ISDIR(there.st_mode)) return std::nullopt;
  return there;
}

// Gives folder the owner and group of old where the system lets us, then
// its mode; the set-user-ID and sticky bits only when the owner stayed the
// same, the set-group-ID bit when the group did.
void KeepOwnerAndMode(const std::string& folder, const struct stat& old) {
  const bool keptOwner = ::chown(folder.c_str(), old.st_uid, old.st_gid) == 0;
  const bool keptGroup = keptOwner || ::chown(folder.c_str(), static_cast<uid_t>(-1), old.st_gid) == 0;
  ::chmod(folder.c_str(), old.st_mode & (keptOwner ? 07777 : keptGroup ? 02777 : 0777));
}

// Puts the folder from in the place of the folder to, in one atomic
// exchange where the file system has it, else with two renames. Returns
// where the old folder now lies, or throws FolderCreateError with to.
std::string ExchangeFolders(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_EXCHANGE) == 0) return from;
  if (errno != EINVAL && errno != ENOSYS) throw FolderCreateError(to, errno);
  const std::string aside = from + ".old";
  if (::rename(to.c_str(), aside.c_str()) != 0) throw FolderCreateError(to, errno);
  if (::rename(from.c_str(), to.c_str()) != 0) {
    const int error = errno;
    ::rename(aside.c_str(), to.c_str());
    throw FolderCreateError(to, error);
  }
  return aside;
}

}  // namespace

StagedFolder::StagedFolder(const std::string& target) : target_(target) {
  std::string name = (fs::path(FolderOf(target)) / (StagingStem(target) + "XXXXXX")).string();
  {
    const HiddenNameMaking making(FolderOf(target));
    if (!::mkdtemp(name.data())) throw FolderCreateError(target, errno);
    inUse_.emplace(name);
  }
  staging_ = name;
  mode_t mode = 0777 & ~CurrentUmask();
  if (const auto there = FolderThere(target);
      there && ::chown(staging_.c_str(), static_cast<uid_t>(-1), there->st_gid) == 0) {
    mode |= there->st_mode & S_ISGID;
  }
  if (::chmod(staging_.c_str(), mode) != 0) {
    const int error = errno;
    ::rmdir(staging_.c_str());
    throw FolderCreateError(target, error);
  }
}

StagedFolder::~StagedFolder() {
  if (committed_) return;
  std::error_code ignored;  // nothing more can be done about a folder left behind here
  fs::remove_all(staging_, ignored);
}

void StagedFolder::PutInEmptyPlace() {
  if (::renameat2(AT_FDCWD, staging_.c_str(), AT_FDCWD, target_.c_str(), RENAME_NOREPLACE) != 0) {
    if (errno != EINVAL && errno != ENOSYS && errno != EEXIST) throw FolderCreateError(target_, errno);
    // Without the flag, look first: the gap is the file system's.
    struct stat there {};
    if (errno == EEXIST || ::lstat(target_.c_str(), &there) == 0) {
      throw PlaceTakenError(target_);
    }
    if (::rename(staging_.c_str(), target_.c_str()) != 0) throw FolderCreateError(target_, errno);
  }
  committed_ = true;
}

void StagedFolder::Commit(bool replace, const std::function<void()>& replaceable) {
  if (!SyncFileSystemOf(staging_)) throw FolderCreateError(target_, errno);
  struct stat there {};
  if (::lstat(target_.c_str(), &there) != 0 || !replace) return PutInEmptyPlace();
  if (!S_ISDIR(there.st_mode)) throw FolderCreateError(target_, ENOTDIR);
  replaceable();
  KeepOwnerAndMode(staging_, there);
  const std::string old = ExchangeFolders(staging_, target_);
  committed_ = true;
  std::error_code error;
  fs::remove_all(old, error);
  if (error) {
    throw OldContentKeptError(target_, old, error.value());
  }
}

std::vector<std::string> StagedFolder::RemoveLeftovers(const std::string& target) {
  const std::string stem = StagingStem(target);
  return ::RemoveLeftovers(FolderOf(target), true, [&](std::string_view name) {
    return name.starts_with(stem) && IsRandomPart(name.substr(stem.size()), kStagingDigits, kStagingRandom);
  });
}
