#pragma once
// A JPEG picture's bytes without its metadata, dropped losslessly: the
// segments before the first scan are kept when they shape the picture (the
// tables, the frame, restart intervals, JFIF, the ICC colour profile and
// Adobe's colour transform) and dropped otherwise (Exif with its camera
// serial, GPS position and thumbnail, XMP, IPTC, comments, makers' notes).
// The coded picture data is copied as it is.

#include <cstdint>
#include <span>
#include <vector>

// Throws std::invalid_argument for bytes that do not reach a scan; callers
// pass pictures their checks have read.
std::vector<std::uint8_t> StrippedJpeg(std::span<const std::uint8_t> jpeg);
