#pragma once
// The movie's hint "Use the mouse drag screen to view" as a PNG file for the
// web page: the same pixels as the movie's hint bitmap, with the colours no
// longer premultiplied, as PNG stores them.

#include <cstdint>
#include <vector>

// The PNG file's bytes: 218 x 32, 8-bit RGBA, not interlaced.
std::vector<std::uint8_t> HintPng();
