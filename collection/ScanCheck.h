#pragma once
// Decodes a JPEG picture's scan data at the smallest scale the decoder
// offers, an eighth each way, to hear what the decoder says about it. Data
// that ends early or is corrupt still decodes, with a warning; a player then
// shows the picture with stripes where the data fails.

#include <optional>
#include <string>

// The reason shown for a picture the decoder complains about, quoting it:
// with a warning the picture still decodes (and shows stripes), with an
// error it does not.
std::string ScanProblemReason(const std::string& decoderSays, bool stillDecodes);

// The decoder's complaint about the picture data of the file at path, as a
// reason for the user; nothing when it decodes cleanly, or when it is too
// large to decode in bounded memory (over kMaxPicturePixels, or needing more
// than kDecoderMemory). The file is read as a stream. Throws what
// PictureFile throws when it cannot be read.
std::optional<std::string> ScanFileProblem(const std::string& path);
