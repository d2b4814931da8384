#include "movie/MovieWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <limits>
#include <vector>

#include "collection/JpegHeader.h"
#include "collection/PictureFile.h"
#include "collection/PictureReview.h"
#include "common/Errors.h"

namespace {

// Below this the mouse area's scale, (size - 2) over a fixed divisor, is zero
// or negative and the movie could not be dragged.
constexpr std::int32_t kMinPictureSide = 3;

// The most a movie file can say in its UI32 FileLength.
constexpr std::uint64_t kMaxMovieLength = std::numeric_limits<std::uint32_t>::max();

std::string MovieTooLongMessage(std::uint64_t length) {
  return "The movie would be " + std::to_string(length) + " bytes long, more than the " +
         std::to_string(kMaxMovieLength) + " bytes a movie file can hold.";
}

// Picture i's bitmap tag: the header, then the file's bytes read straight
// into the stream. Its frame header, read from those bytes, must give the
// movie's size, which is the size of the picture at firstPath.
void WritePictureBitmap(MovieStream& s, std::size_t i, const std::string& path, const std::string& firstPath,
                        std::int32_t width, std::int32_t height) {
  PictureFile file(path);
  const std::uint64_t size = file.Size();
  // The bitmap tag's length is the file's size plus its 2-byte id.
  if (size > kMaxMovieLength - 2) throw MovieLimitError(MovieTooLongMessage(size));

  tags::WritePictureBitmapHeader(s, i, static_cast<std::uint32_t>(size));
  const std::span<std::uint8_t> bytes = s.Claim(static_cast<std::size_t>(size));
  file.ReadExactly(bytes);  // a file that shrank under us ends early

  // Checked before the build, but the file may have changed since.
  JpegFrame frame;
  try {
    frame = ReadJpegFrame(bytes, path);
  } catch (const JpegHeaderError& refused) {
    throw PictureMismatchError({{path, refused.Reason()}});
  }
  if (const auto reason = FrameRefusal(frame, JpegSize{width, height}, firstPath)) {
    throw PictureMismatchError({{path, *reason}});
  }
}

constexpr const char* kOverPicture = "the movie would be written over this picture";

// Whether the regular file at path starts with a JPEG's start marker; a
// file that cannot be read is left to the writing to report.
bool StartsAsJpeg(const std::string& path, const struct stat& info) {
  if (!S_ISREG(info.st_mode)) return false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return false;
  unsigned char start[2] = {};
  const bool jpeg = ::read(fd, start, 2) == 2 && IsJpegStart(start[0], start[1]);
  ::close(fd);
  return jpeg;
}

}  // namespace

void CheckTargetIsNoPicture(const PictureList& pictures, const std::string& target) {
  struct stat movie {};
  if (::stat(target.c_str(), &movie) != 0) return;  // not there yet, or its writing will say why
  for (const PictureEntry& entry : pictures.Entries()) {
    struct stat picture {};
    if (::stat(entry.Path.c_str(), &picture) == 0 && picture.st_dev == movie.st_dev && picture.st_ino == movie.st_ino) {
      throw FileRefusedError(entry.Path, kOverPicture);
    }
  }
  if (StartsAsJpeg(target, movie)) throw FileRefusedError(target, kOverPicture);
}

void CheckMovieInputs(const PictureList& pictures, std::int32_t width, std::int32_t height) {
  const auto count = static_cast<std::size_t>(pictures.Count());
  if (count == 0) throw NoPicturesError();
  if (count > tags::kMaxPictures) {
    throw MovieLimitError("A movie can hold at most " + std::to_string(tags::kMaxPictures) +
                          " pictures; the list has " + std::to_string(count) + ".");
  }
  if (width < kMinPictureSide || height < kMinPictureSide) {
    throw MovieLimitError("The pictures are " + std::to_string(width) + " x " + std::to_string(height) +
                          " pixels; a movie needs pictures at least 3 pixels wide and 3 "
                          "pixels high, or it cannot be dragged.");
  }
}

tags::PatchList AssembleMovie(const PictureList& pictures, std::int32_t width, std::int32_t height, MovieStream& stream,
                              const TConversion& converter, BuildReporter& reporter) {
  const std::size_t n = pictures.Entries().size();
  reporter.SetProgressMaximum(static_cast<int>(n) - 1);
  stream.Clear();
  tags::PatchList patches;
  patches.reserve(2 * n + 1);

  // Every picture's size first: a missing file stops the build before any
  // reading, and the stream is made large enough at once.
  std::vector<std::uint64_t> sizes;
  sizes.reserve(n);
  for (const PictureEntry& entry : pictures.Entries()) sizes.push_back(PictureFile::SizeOf(entry.Path));
  const std::uint64_t expected = tags::MovieLength(converter, width, height, sizes);
  if (expected > kMaxMovieLength) throw MovieLimitError(MovieTooLongMessage(expected));
  stream.Reserve(static_cast<std::size_t>(expected));

  tags::WriteFileHeader(stream, converter, width, height);
  tags::WriteFileAttributes(stream);
  tags::WriteBackgroundColor(stream);
  tags::WriteScript(stream, static_cast<std::int32_t>(n));

  for (std::size_t i = 0; i < n; ++i) {
    reporter.SetProgressPosition(static_cast<int>(i));
    WritePictureBitmap(stream, i, pictures.Entries()[i].Path, pictures.Entries()[0].Path, width, height);
    tags::WritePictureShape(stream, converter, i, width, height, patches);
    tags::WritePictureClip(stream, i);
    tags::WritePicturePlacement(stream, converter, i, width, height, patches);
  }

  tags::WriteHintBitmap(stream, n);
  tags::WriteHintShape(stream, n);
  tags::WriteHintClip(stream, n);
  tags::WriteHintPlacement(stream, n);
  tags::WriteScreenShape(stream, n, patches);
  tags::WriteScreenClip(stream, n);
  tags::WriteScreenPlacement(stream, converter, n, width, height);
  tags::WriteShowFrame(stream);
  tags::WriteEnd(stream);

  // A file that grew since it was measured may have pushed the movie over.
  if (stream.Size() > kMaxMovieLength) throw MovieLimitError(MovieTooLongMessage(stream.Size()));
  tags::BackPatch(stream, patches);
  return patches;
}

void BuildMovie(const MovieJob& job, const MovieSink& save) {
  const ProgressPanelShown panel(job.Reporter);
  AssembleMovie(job.Pictures, job.Width, job.Height, job.Stream, job.Converter, job.Reporter);
  save(job.Stream.Bytes());
  job.Reporter.SetStatusText(kBuildDoneText);
}

void WriteMovie(const MovieJob& job, const std::string& path) {
  CheckMovieInputs(job.Pictures, job.Width, job.Height);
  CheckTargetIsNoPicture(job.Pictures, path);
  BuildMovie(job, [&](std::span<const std::uint8_t> movie) { ReplaceFileContent(path, movie, job.Files); });
}
