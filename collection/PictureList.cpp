#include "collection/PictureList.h"

#include <cstdint>
#include <utility>

#include "collection/JpegHeader.h"
#include "collection/PictureFile.h"

void PictureList::AddPicture(std::string path) { entries_.push_back(PictureEntry{false, std::move(path)}); }

bool PictureList::DeleteSelected() {
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (it->Selected) {
      entries_.erase(it);
      selectedIndex_ = -1;
      return true;
    }
  }
  return false;
}

bool PictureList::MovePrevious() {
  if (selectedIndex_ <= 0) return false;
  SwapWithSelected(selectedIndex_ - 1);
  return true;
}

bool PictureList::MoveNext() {
  if (selectedIndex_ == -1 || selectedIndex_ >= Count() - 1) return false;
  SwapWithSelected(selectedIndex_ + 1);
  return true;
}

void PictureList::SwapWithSelected(int other) {
  std::swap(entries_[static_cast<size_t>(selectedIndex_)], entries_[static_cast<size_t>(other)]);
  selectedIndex_ = other;
}

void PictureList::ClearPictures() {
  entries_.clear();
  selectedIndex_ = -1;
}

void PictureList::SelectAt(int position) {
  for (auto& entry : entries_) entry.Selected = false;
  if (position >= 0 && position < Count()) {
    entries_[static_cast<size_t>(position)].Selected = true;
    selectedIndex_ = position;
  } else {
    selectedIndex_ = -1;
  }
}

bool PictureList::AllPicturesAreJpeg() const {
  for (const auto& entry : entries_) {
    if (!IsJpegFile(entry.Path)) return false;
  }
  return true;
}

bool IsJpegFile(const std::string& path) {
  PictureFile file(path);
  std::uint8_t marker[2];
  file.ReadExactly(marker);
  return IsJpegStart(marker[0], marker[1]);
}
