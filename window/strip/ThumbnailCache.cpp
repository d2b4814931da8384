#include "window/strip/ThumbnailCache.h"

#include <sys/stat.h>

#include <cerrno>
#include <functional>

#include "collection/PictureReview.h"
#include "collection/ScanCheck.h"
#include "common/Errors.h"
#include "window/strip/PicturePlaceholder.h"
#include "window/strip/ThumbnailDecoder.h"

namespace {

JpegFrame FrameOrRethrow(const std::variant<JpegFrame, std::exception_ptr>& outcome) {
  if (const auto* error = std::get_if<std::exception_ptr>(&outcome)) std::rethrow_exception(*error);
  return std::get<JpegFrame>(outcome);
}

}  // namespace

std::size_t FileStampHash::operator()(const FileStamp& stamp) const {
  std::size_t hash = std::hash<std::string>()(stamp.Path);
  for (const auto part :
       {static_cast<std::uint64_t>(stamp.Size), static_cast<std::uint64_t>(stamp.ModifiedNs), stamp.Inode}) {
    hash ^= std::hash<std::uint64_t>()(part) + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
  }
  return hash;
}

FileStamp StampOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) throw FileOpenError(path, errno);
  return FileStamp{path, static_cast<std::int64_t>(info.st_size),
                   static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
                   static_cast<std::uint64_t>(info.st_ino)};
}

ThumbnailOutcome DecodeForStrip(const std::string& path) {
  ThumbnailOutcome outcome;
  try {
    outcome.Image = DecodeThumbnail(path, &outcome.Problem);
  } catch (const PictureTooLargeError& tooLarge) {
    // Measured all the same, and built: it shows its size instead.
    outcome.Image = TooLargePlaceholder(tooLarge.Size());
  } catch (...) {
    outcome.Failure = std::current_exception();
  }
  return outcome;
}

std::optional<std::string> FindScanProblem(const std::string& path, bool failed) {
  return failed ? ScanFileProblem(path) : StructureProblem(path);
}

ThumbnailCache::ThumbnailCache(std::size_t headerEntries, std::size_t thumbnailBytes)
    : headers_(headerEntries), thumbnails_(thumbnailBytes), scans_(headerEntries), passingFailures_(headerEntries) {}

JpegFrame ThumbnailCache::Measure(const FileStamp& file) {
  if (const auto* known = headers_.Find(file)) return FrameOrRethrow(*known);
  // Only failures of the file's content are kept; one to open or read it may
  // pass (access rights, a busy disk) and is tried again on the next look.
  std::variant<JpegFrame, std::exception_ptr> outcome;
  try {
    outcome = ReadJpegFrame(file.Path);
  } catch (const JpegHeaderError&) {
    outcome = std::current_exception();
  }
  return FrameOrRethrow(headers_.Put(file, std::move(outcome), 1));
}

QImage ThumbnailCache::Thumbnail(const FileStamp& file) {
  if (std::optional<QImage> known = KnownThumbnail(file)) return *known;
  Keep(file, DecodeForStrip(file.Path));
  return *KnownThumbnail(file);
}

std::optional<QImage> ThumbnailCache::KnownThumbnail(const FileStamp& file) {
  if (const QImage* known = thumbnails_.Find(file)) return *known;
  if (const auto* failed = passingFailures_.Find(file)) {
    const std::exception_ptr failure = *failed;
    passingFailures_.Remove(file);
    std::rethrow_exception(failure);
  }
  if (const auto* header = headers_.Find(file)) {
    if (const auto* error = std::get_if<std::exception_ptr>(header)) std::rethrow_exception(*error);
  }
  return std::nullopt;
}

void ThumbnailCache::Keep(const FileStamp& file, ThumbnailOutcome outcome) {
  if (outcome.Failure) {
    try {
      std::rethrow_exception(outcome.Failure);
    } catch (const ThumbnailError&) {
      // Kept with the header, so the picture fails from now on wherever it
      // stands, shown or not.
      headers_.Put(file, outcome.Failure, 1);
    } catch (...) {
      passingFailures_.Put(file, outcome.Failure, 1);
    }
    return;
  }
  scans_.Put(file, std::move(outcome.Problem), 1);  // what a build's check would decode for
  const auto cost = static_cast<std::size_t>(outcome.Image.sizeInBytes());
  thumbnails_.Put(file, std::move(outcome.Image), cost);
}

bool ThumbnailCache::Failed(const FileStamp& file) {
  const auto* header = headers_.Find(file);
  return header && std::holds_alternative<std::exception_ptr>(*header);
}
