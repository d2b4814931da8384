#pragma once
// The tool's whole document: an ordered list of JPEG paths with at most one
// selected entry. Its order is the strip's order and the movie's order.

#include <string>
#include <vector>

struct PictureEntry {
  bool Selected = false;
  std::string Path;  // the whole absolute path, never shortened
};

class PictureList {
 public:
  // Appends a new, unselected entry. Duplicates are allowed.
  void AddPicture(std::string path);

  // Removes the selected entry; afterwards nothing is selected.
  bool DeleteSelected();

  // Swap the selected entry with its neighbour; the selection travels along.
  // Nothing happens at either end or with nothing selected.
  bool MovePrevious();
  bool MoveNext();

  void ClearPictures();

  // Clears every flag, then selects the entry at position if it exists.
  void SelectAt(int position);

  int SelectedIndex() const { return selectedIndex_; }
  int Count() const { return static_cast<int>(entries_.size()); }
  const PictureEntry& At(int position) const { return entries_.at(static_cast<size_t>(position)); }
  const std::vector<PictureEntry>& Entries() const { return entries_; }

  // Runs IsJpegFile over the list in order and stops at the first false,
  // without opening the files after it. An empty list passes.
  bool AllPicturesAreJpeg() const;

 private:
  void SwapWithSelected(int other);

  std::vector<PictureEntry> entries_;
  int selectedIndex_ = -1;
};

// True exactly when the file starts with the JPEG start-of-image marker FF D8.
// Throws FileOpenError when the file cannot be opened, StreamReadError when it
// is shorter than two bytes.
bool IsJpegFile(const std::string& path);
