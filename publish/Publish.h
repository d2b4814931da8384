#pragma once
// One build for every output the user asked for: the movie file, the web
// folder, or both.

#include <cstdint>
#include <optional>
#include <string>

#include "movie/MovieWriter.h"
#include "publish/ScaledPicture.h"
#include "publish/WebFolder.h"

struct PublishTargets {
  std::string MovieFile;               // empty for none
  std::optional<WebFolderTarget> Web;  // none for no web folder
  // The movie file from copies of the pictures fitted within this box, when
  // they are larger; none for the pictures byte for byte.
  std::optional<PictureSize> Fit;
};

// Checks the movie's inputs, its file's target and the web folder's place
// before reading any picture, then builds the movie as WriteMovie does (progress panel, status
// text "Translating is OK!!") and writes the web folder, then the movie file.
// A web folder of the pictures byte for byte shares the movie file's build;
// one of scaled pictures has its own movie, and the movie file stays the
// pictures' byte for byte. Throws AppError; each output is whole or not
// written. With Fit, a movie file of pictures larger than the box is built
// from fitted copies (FittedCopies), its size theirs. Returns what the web
// folder holds, when one was written.
std::optional<WebFolderSummary> PublishMovie(const MovieJob& job, const PublishTargets& targets);
