#pragma once
// A folder written beside its final place and moved there whole: readers
// see the old folder or the new one, never a part of either. Until Commit()
// succeeds, the new folder is a hidden one beside the target, removed with
// everything in it when the StagedFolder goes away, and the target is
// untouched.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/Leftovers.h"

class StagedFolder {
 public:
  // Makes the empty hidden folder ".NAME.part-XXXXXX" in target's parent
  // (NAME cut to keep within the folder's limit on the length of a name),
  // locked while this object lives (common/Leftovers.h), with the
  // permissions of any new folder (0777 less the umask), so that a web
  // server can read what is published. A folder in the target's place
  // lends it its group and set-group-ID bit at once, so that what is
  // written inside takes that group too. Throws FolderCreateError.
  explicit StagedFolder(const std::string& target);
  ~StagedFolder();
  StagedFolder(const StagedFolder&) = delete;
  StagedFolder& operator=(const StagedFolder&) = delete;

  // Where to write the new folder's content.
  const std::string& Path() const { return staging_; }

  // Flushes what was written to the disk and puts the folder in the
  // target's place. Without replace, the move succeeds only while nothing
  // is there: whatever was made there meanwhile is kept (AppError). With
  // replace, a folder there is exchanged for the new one in one step, after
  // replaceable (which throws to keep it) has looked at it again, and is
  // then removed; the new folder takes its owner, group and mode. A file
  // there is refused. Throws FolderCreateError with the target, or AppError
  // when the new folder is in place but the old one could not be removed.
  void Commit(bool replace, const std::function<void()>& replaceable);

  // Removes the staging folders of target that runs which were killed left
  // behind; returns their paths.
  static std::vector<std::string> RemoveLeftovers(const std::string& target);

 private:
  void PutInEmptyPlace();

  std::string target_;
  std::string staging_;
  std::optional<HiddenNameHeld> inUse_;
  bool committed_ = false;
};
