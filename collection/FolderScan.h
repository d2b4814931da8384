#pragma once
// Finds the pictures of a folder for the whole-folder import.

#include <string>
#include <vector>

// Makes folder the process's current directory and returns the full paths
// (folder, "/", name) of its entries whose names end in ".jpg", in natural
// order (see NaturalOrder.h), followed by those ending in ".jpeg"; letter case
// is ignored. Names beginning with "." are skipped, and so is anything that is
// neither a file nor a folder (a dangling link, a pipe, a device).
//
// A folder whose own name matches is not a picture: its pictures take its
// place instead, found the same way. Subfolders with other names are not
// looked into. Each folder is visited once at most, so link loops end.
//
// Throws FolderOpenError naming the first folder that cannot be entered or
// read; no list is returned then. The current directory is the given folder
// again after every inner folder, also when one fails.
std::vector<std::string> ScanFolder(const std::string& folder);

// The current directory, remembered by a descriptor so that the way back
// never depends on ".." (which leads elsewhere through symbolic links).
// Going out of scope returns to it quietly; Return() goes back now and
// reports a failure.
class SavedFolder {
 public:
  // shown is the folder's name in error messages.
  explicit SavedFolder(std::string shown);
  ~SavedFolder();
  SavedFolder(const SavedFolder&) = delete;
  SavedFolder& operator=(const SavedFolder&) = delete;
  void Return() const;

 private:
  int fd_;
  std::string shown_;
};
