#pragma once
// Turns the picture list into the movie file: assembles the whole movie in
// memory in file order, back-patches the lengths it cannot know in advance,
// then replaces the target file atomically.

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "collection/PictureList.h"
#include "common/FileReplace.h"
#include "movie/JZZH.h"
#include "movie/MovieStream.h"
#include "movie/Tags.h"

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

// A reporter that shows nothing: for a movie assembled as part of a larger
// build, which reports its own progress, and for batch use.
class SilentReporter : public BuildReporter {
 public:
  void ShowProgressPanel(bool) override {}
  void SetProgressMaximum(int) override {}
  void SetProgressPosition(int) override {}
  void SetStatusText(const std::string&) override {}
};

// The progress panel shown for as long as it lives: whatever way a build
// ends, by an error too, it leaves no panel behind.
class ProgressPanelShown {
 public:
  explicit ProgressPanelShown(BuildReporter& reporter) : reporter_(reporter) { reporter_.ShowProgressPanel(true); }
  ~ProgressPanelShown() { reporter_.ShowProgressPanel(false); }
  ProgressPanelShown(const ProgressPanelShown&) = delete;
  ProgressPanelShown& operator=(const ProgressPanelShown&) = delete;

 private:
  BuildReporter& reporter_;
};

// One movie's build: its pictures at Width x Height pixels, the stream it
// is assembled in, the numerals, where its progress goes and the file
// system its files are written through.
struct MovieJob {
  const PictureList& Pictures;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  MovieStream& Stream;
  const TConversion& Converter;
  BuildReporter& Reporter;
  FileSystem& Files = SystemFileSystem();
};

// The status text after a successful build.
inline constexpr const char* kBuildDoneText = "Translating is OK!!";

// Writes the movie of the job's pictures, at its width x height pixels, to
// path. Throws an AppError with the user-facing message on any failure;
// then nothing is written to path, a file already there keeps its content,
// and the progress panel is hidden again. A picture that is not a JPEG of
// width x height, or is arithmetic-coded (its frame header is read from the
// bytes that go into the movie), throws PictureMismatchError naming it. A
// target that is one of the pictures (the same file
// by device and inode) is refused with FileRefusedError naming the picture,
// and one that is any JPEG picture naming the target, before anything is
// read or shown. On success the status text says
// "Translating is OK!!" and the panel is hidden. The job's stream keeps the
// last movie assembled, or what was assembled up to a failure.
void WriteMovie(const MovieJob& job, const std::string& path);

// Where a finished movie goes: its bytes, once assembled and patched.
using MovieSink = std::function<void(std::span<const std::uint8_t> movie)>;

// What WriteMovie does once its inputs are checked, with the assembled movie
// handed to save instead of written to one file: the same progress, status
// text and errors. Expects inputs that CheckMovieInputs accepts.
void BuildMovie(const MovieJob& job, const MovieSink& save);

// Replacing the target must not destroy a picture: refuses a target that is
// one of the pictures, whatever name (or link) leads to it, or any JPEG
// picture at all, with FileRefusedError. A target not there yet passes.
void CheckTargetIsNoPicture(const PictureList& pictures, const std::string& target);

// The refusals WriteMovie makes before it shows or reads anything: an empty
// list (NoPicturesError), more pictures than the ids allow, or pictures
// under 3 pixels wide or high, whose mouse area would have no size
// (MovieLimitError).
void CheckMovieInputs(const PictureList& pictures, std::int32_t width, std::int32_t height);

// Assembles the movie in stream (cleared first) and back-patches it, driving
// the progress bar; returns the patched lengths in the order they were met.
// Expects inputs that CheckMovieInputs accepts. Refuses a movie longer than
// its 32-bit FileLength can say (MovieLimitError) before reading a picture.
tags::PatchList AssembleMovie(const PictureList& pictures, std::int32_t width, std::int32_t height, MovieStream& stream,
                              const TConversion& converter, BuildReporter& reporter);
