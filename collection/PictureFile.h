#pragma once
// A picture file opened for reading, with the checks and messages every
// reader of pictures shares: a path that cannot be opened, or a folder,
// raises FileOpenError; a file that ends early raises StreamReadError.

#include <cstdint>
#include <span>
#include <string>

class PictureFile {
 public:
  explicit PictureFile(const std::string& path);
  ~PictureFile();
  PictureFile(const PictureFile&) = delete;
  PictureFile& operator=(const PictureFile&) = delete;

  std::uint64_t Size() const { return size_; }

  // Fills bytes from the current position, or throws StreamReadError.
  void ReadExactly(std::span<std::uint8_t> bytes);

 private:
  int fd_;
  std::uint64_t size_ = 0;
};
