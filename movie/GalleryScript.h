#pragma once
// The movie's one script: AVM1 action bytecode for the body of the DoAction
// tag in frame 1. Every byte is fixed except the picture count, a signed
// 32-bit little-endian integer at CountOffset().

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "movie/JZZH.h"

namespace gallery_script {

// The publisher's web address that the custom context-menu item opens.
inline constexpr std::string_view kPublisherAddress = "https://orbilux.example.com/";

// The script bytes before the count and after it; the body is
// Before() + count + After().
const myByteArray& Before();
const myByteArray& After();

// Offset of the count within the body, and the body's whole length.
std::size_t CountOffset();
std::size_t BodyLength();

// The whole body for a given count.
myByteArray Body(std::int32_t pictureCount);

}  // namespace gallery_script
