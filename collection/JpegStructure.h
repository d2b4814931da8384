#pragma once
// Walks a JPEG file's structure without decoding it: its segments, a frame,
// its scans with their entropy-coded data up to the end-of-image marker.
// Reading the file is all it costs, and it finds the common damage (a file
// cut short, bytes lost or inserted between segments, a stray marker in the
// picture data) and counts the scans.

#include <optional>
#include <string>

struct JpegStructure {
  int Scans = 0;
  // What is wrong, in words like the decoder's, and whether the picture
  // still decodes (with stripes where it fails) despite it.
  struct Fault {
    std::string Says;
    bool StillDecodes = true;
  };
  std::optional<Fault> Problem;
};

// The structure of the file at path, read as a stream; what follows the
// end-of-image marker is not read. Throws what PictureFile throws when the
// file cannot be read.
JpegStructure WalkJpegStructure(const std::string& path);
