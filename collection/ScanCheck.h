#pragma once
// Decodes a JPEG picture's scan data at the smallest scale the decoder
// offers, an eighth each way, to hear what the decoder says about it. Data
// that ends early or is corrupt still decodes, with a warning; a player then
// shows the picture with stripes where the data fails.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// Pictures of more pixels than this are not decoded for the check: a header
// may claim up to 65535 x 65535, and a progressive file keeps all its
// coefficients in memory while it is decoded.
inline constexpr long long kMaxScannedPixels = 1LL << 26;

// The reason shown for a picture the decoder complains about, quoting it:
// with a warning the picture still decodes (and shows stripes), with an
// error it does not.
std::string ScanProblemReason(const std::string& decoderSays, bool stillDecodes);

// The decoder's complaint about the picture data as a reason for the user,
// or nothing when it decodes cleanly (or is over kMaxScannedPixels).
std::optional<std::string> ScanDataProblem(std::span<const std::uint8_t> bytes);
