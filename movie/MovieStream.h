#pragma once
// A growable in-memory byte stream with a current position: a write stores
// bytes at the position and advances it, growing the stream past its end.
// Multi-byte integers are written little-endian, as the movie stores them.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

class MovieStream {
 public:
  // Size 0, position 0; the memory already held is kept for the next movie.
  void Clear();
  // Makes room for a movie of this many bytes, so that writing it grows the
  // stream only once.
  void Reserve(std::size_t bytes);
  void Write(std::span<const std::uint8_t> bytes);
  void WriteByte(std::uint8_t value);
  void WriteUI16(std::uint16_t value);
  void WriteUI32(std::uint32_t value);
  void WriteSI32(std::int32_t value);
  // Takes the next count bytes at the position for the caller to fill (a
  // picture file is read straight into them) and advances past them.
  std::span<std::uint8_t> Claim(std::size_t count);
  // Moves the position to an absolute offset; a write there fills any gap
  // past the end with zero bytes.
  void Seek(std::size_t position);
  std::size_t Position() const { return position_; }
  std::size_t Size() const { return bytes_.size(); }
  std::span<const std::uint8_t> Bytes() const { return bytes_; }

 private:
  // Leaves new bytes uninitialised: every byte the stream grows by is
  // written right after, and a picture's bytes need no zeroing before they
  // are read in.
  template <class T>
  struct UninitialisedAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
      using other = UninitialisedAllocator<U>;
    };
    template <class U>
    void construct(U* p) noexcept {
      ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
      ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
  };

  std::vector<std::uint8_t, UninitialisedAllocator<std::uint8_t>> bytes_;
  std::size_t position_ = 0;
};
