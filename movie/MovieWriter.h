#pragma once
// Turns the picture list into the movie file: assembles the whole movie in
// memory in file order, back-patches the lengths it cannot know in advance,
// then replaces the target file atomically.

#include <cstdint>
#include <string>

#include "collection/PictureList.h"
#include "movie/JZZH.h"
#include "movie/MovieStream.h"

// What the writer reports to the window: the progress panel, its bar and the
// status text. The window implements it; tests fake it.
class BuildReporter {
 public:
  virtual ~BuildReporter() = default;
  virtual void ShowProgressPanel(bool visible) = 0;
  virtual void SetProgressMaximum(int maximum) = 0;
  virtual void SetProgressPosition(int position) = 0;
  virtual void SetStatusText(const std::string& text) = 0;
};

// Writes the movie of every picture in the list, at width x height pixels,
// to path. Throws an AppError with the user-facing message on any failure;
// then nothing is written to path, a file already there keeps its content,
// and the progress panel is hidden again. On success the status text says
// "Translating is OK!!" and the panel is hidden.
void WriteMovie(const PictureList& pictures, std::int32_t width, std::int32_t height,
                const std::string& path, MovieStream& stream, const TConversion& converter,
                BuildReporter& reporter);
