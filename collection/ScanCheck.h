#pragma once
// What a build's check says about a picture's data. By default it walks the
// file's structure (JpegStructure), which costs no more than reading it; on
// request it decodes the scan data at the smallest scale the decoder offers,
// an eighth each way, to hear what the decoder says about it. Data that ends
// early or is corrupt still decodes, with a warning; a player then shows the
// picture with stripes where the data fails.

#include <optional>
#include <string>

class JpegFileDecoder;

// The reasons below around what varies in them (the decoder's words, the
// number of scans), so that alike warnings can be told apart and grouped.
inline constexpr const char* kDamagedBefore = "its picture data is damaged (";
inline constexpr const char* kDamagedAfter = "); players show stripes where it fails";
inline constexpr const char* kUndecodableBefore = "its picture data cannot be decoded (";
inline constexpr const char* kUndecodableAfter = "); players cannot show it";
inline constexpr const char* kScansBefore = "has ";
inline constexpr const char* kScansAfter = " scans; players may take long to show it";

// The reason shown for a picture the decoder complains about, quoting it:
// with a warning the picture still decodes (and shows stripes), with an
// error it does not.
std::string ScanProblemReason(const std::string& decoderSays, bool stillDecodes);

// The reason shown for a picture of more than kMaxScans scans.
std::string ManyScansReason(int scans);

// What the walk of the file's structure finds wrong, or too many scans;
// nothing for a sound file. Throws what PictureFile throws when it cannot
// be read.
std::optional<std::string> StructureProblem(const std::string& path);

// The decoder's complaint about the picture data of the file at path, as a
// reason for the user; nothing when it decodes cleanly, or when it is too
// large to decode in bounded memory (over kMaxPicturePixels, or needing more
// than kDecoderMemory). The file is read as a stream, and no further than
// kMaxScans scans. Throws what PictureFile throws when it cannot be read.
std::optional<std::string> ScanFileProblem(const std::string& path);

// What a decode that has ended without an error says about the picture at
// path: too many scans when it stopped at the bound, else its first warning.
std::optional<std::string> DecodeProblem(const JpegFileDecoder& decoder, const std::string& path);
