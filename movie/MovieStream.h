#pragma once
// A growable in-memory byte stream with a current position: a write stores
// bytes at the position and advances it, growing the stream past its end.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class MovieStream {
 public:
  void Clear();
  void Reserve(std::size_t bytes);
  void Write(std::span<const std::uint8_t> bytes);
  void WriteByte(std::uint8_t value);
  void WriteUI16(std::uint16_t value);
  void WriteUI32(std::uint32_t value);
  void WriteSI32(std::int32_t value);
  void Seek(std::size_t position);
  std::size_t Position() const { return position_; }
  std::size_t Size() const { return bytes_.size(); }
  std::span<const std::uint8_t> Bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t position_ = 0;
};
