#pragma once
// One build for every output the user asked for: the movie file, the web
// folder, or both, from one pass over the pictures.

#include <cstdint>
#include <optional>
#include <string>

#include "movie/MovieWriter.h"
#include "publish/WebFolder.h"

struct PublishTargets {
  std::string MovieFile;               // empty for none
  std::optional<WebFolderTarget> Web;  // none for no web folder
};

// Checks the movie's inputs, its file's target and the web folder's place
// before reading any picture, then builds the movie as WriteMovie does (progress panel, status
// text "Translating is OK!!") and writes the web folder, then the movie file.
// Throws AppError; each output is whole or not written.
void PublishMovie(const PictureList& pictures, std::int32_t width, std::int32_t height,
                  const PublishTargets& targets, MovieStream& stream, const TConversion& converter,
                  BuildReporter& reporter, FileSystem& files = SystemFileSystem());
