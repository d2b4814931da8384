#pragma once
// A file opened for reading, with the checks and messages every reader of
// files shares (pictures, the player's files): a path that cannot be
// opened, or a folder, raises FileOpenError; anything else that is not a
// regular file (a pipe, a device, a socket) raises FileRefusedError without
// being opened, so that no reader ever waits on it; a file that ends early
// raises StreamReadError.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class InputFile {
 public:
  explicit InputFile(const std::string& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // The size of the file at path, with the same refusals, without opening it.
  static std::uint64_t SizeOf(const std::string& path);
  // The whole file at path, with the same refusals.
  static std::vector<std::uint8_t> ReadAll(const std::string& path);

  std::uint64_t Size() const { return size_; }

  // Fills bytes from the current position, or throws StreamReadError.
  void ReadExactly(std::span<std::uint8_t> bytes);
  // Reads what there is up to bytes.size(): 0 at the end of the file.
  // Throws StreamReadError when reading fails.
  std::size_t ReadSome(std::span<std::uint8_t> bytes);
  // Moves the position count bytes on; past the end, reading then gives 0.
  void Skip(std::uint64_t count);

 private:
  int fd_;
  std::uint64_t size_ = 0;
};
