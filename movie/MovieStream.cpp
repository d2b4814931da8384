#include "movie/MovieStream.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "common/Errors.h"

void MovieStream::Clear() {
  bytes_.clear();
  position_ = 0;
}

namespace {

// Runs a step that allocates, turning a failed allocation into the
// stream's own error.
template <class Step>
void Growing(Step&& step) {
  try {
    step();
  } catch (const std::bad_alloc&) {
    throw StreamMemoryError();
  } catch (const std::length_error&) {
    throw StreamMemoryError();
  }
}

}  // namespace

void MovieStream::Reserve(std::size_t bytes) {
  Growing([&] { bytes_.reserve(bytes); });
}

std::span<std::uint8_t> MovieStream::Claim(std::size_t count) {
  const std::size_t end = position_ + count;
  if (end > bytes_.size()) {
    const std::size_t oldSize = bytes_.size();
    Growing([&] { bytes_.resize(end); });
    if (position_ > oldSize) {
      std::fill(bytes_.begin() + static_cast<std::ptrdiff_t>(oldSize),
                bytes_.begin() + static_cast<std::ptrdiff_t>(position_), std::uint8_t{0});
    }
  }
  const std::span<std::uint8_t> claimed(bytes_.data() + position_, count);
  position_ = end;
  return claimed;
}

void MovieStream::Write(std::span<const std::uint8_t> bytes) { std::ranges::copy(bytes, Claim(bytes.size()).begin()); }

void MovieStream::WriteByte(std::uint8_t value) { Claim(1)[0] = value; }

void MovieStream::WriteUI16(std::uint16_t value) {
  const std::span<std::uint8_t> out = Claim(2);
  out[0] = static_cast<std::uint8_t>(value);
  out[1] = static_cast<std::uint8_t>(value >> 8);
}

void MovieStream::WriteUI32(std::uint32_t value) {
  const std::span<std::uint8_t> out = Claim(4);
  for (int k = 0; k < 4; ++k) out[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(value >> (8 * k));
}

void MovieStream::WriteSI32(std::int32_t value) { WriteUI32(static_cast<std::uint32_t>(value)); }

void MovieStream::Seek(std::size_t position) { position_ = position; }
