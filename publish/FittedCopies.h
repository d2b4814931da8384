#pragma once
// Copies of the pictures scaled down to fit within a box, keeping their
// proportions, as baseline JPEGs of good quality, for a movie that players
// with a limit on a picture's side can show. The copies live in a private
// scratch folder under the system's temporary folder, removed with this
// object; the pictures themselves are only read.

#include <string>

#include "collection/PictureList.h"
#include "movie/MovieWriter.h"
#include "publish/ScaledPicture.h"

// The box the window offers when pictures are larger than older players show.
inline constexpr PictureSize kPlayerFitBox{2880, 2880};

class FittedCopies {
 public:
  // Scales every picture on every core, reporting each through the progress
  // bar. Throws AppError naming a picture that cannot be read or scaled.
  FittedCopies(const PictureList& pictures, PictureSize box, BuildReporter& reporter);
  ~FittedCopies();
  FittedCopies(const FittedCopies&) = delete;
  FittedCopies& operator=(const FittedCopies&) = delete;

  const PictureList& Pictures() const { return copies_; }
  // The first copy's size: the movie's.
  PictureSize Size() const { return size_; }

 private:
  std::string folder_;
  PictureList copies_;
  PictureSize size_;
};
