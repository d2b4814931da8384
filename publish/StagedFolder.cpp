#include "publish/StagedFolder.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "collection/Errors.h"

namespace fs = std::filesystem;

namespace {

// The process's umask, which can only be read by setting it.
mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
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
  const fs::path place(target);
  std::string name = (place.parent_path() / ("." + place.filename().string() + ".part-XXXXXX")).string();
  if (!::mkdtemp(name.data())) throw FolderCreateError(target, errno);
  staging_ = name;
  if (::chmod(staging_.c_str(), 0777 & ~CurrentUmask()) != 0) {
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

void StagedFolder::Commit() {
  if (!SyncFileSystemOf(staging_)) throw FolderCreateError(target_, errno);
  std::error_code error;
  const fs::file_status there = fs::symlink_status(target_, error);
  if (!fs::is_directory(there)) {
    if (fs::exists(there)) throw FolderCreateError(target_, ENOTDIR);
    if (::rename(staging_.c_str(), target_.c_str()) != 0) throw FolderCreateError(target_, errno);
    committed_ = true;
    return;
  }
  const std::string old = ExchangeFolders(staging_, target_);
  committed_ = true;
  fs::remove_all(old, error);
  if (error) {
    throw AppError("The folder \"" + target_ + "\" is written, but its old content could not be removed from \"" +
                   old + "\". " + SystemReason(error.value()));
  }
}
