#pragma once
// A folder written beside its final place and moved there whole: readers
// see the old folder or the new one, never a part of either. Until Commit()
// succeeds, the new folder is a hidden one beside the target, removed with
// everything in it when the StagedFolder goes away, and the target is
// untouched.

#include <string>

class StagedFolder {
 public:
  // Makes the empty hidden folder ".NAME.part-XXXXXX" in target's parent,
  // with the permissions of any new folder (0777 less the umask), so that a
  // web server can read what is published. Throws FolderCreateError.
  explicit StagedFolder(const std::string& target);
  ~StagedFolder();
  StagedFolder(const StagedFolder&) = delete;
  StagedFolder& operator=(const StagedFolder&) = delete;

  // Where to write the new folder's content.
  const std::string& Path() const { return staging_; }

  // Flushes what was written to the disk and puts the folder in the
  // target's place. A folder already there is exchanged for it in one step
  // and then removed; a file there is refused. Throws FolderCreateError
  // with the target, or AppError when the new folder is in place but the
  // old one could not be removed.
  void Commit();

 private:
  std::string target_;
  std::string staging_;
  bool committed_ = false;
};
