#include "window/strip/ThumbnailCache.h"

#include <sys/stat.h>

#include <cerrno>
#include <functional>

#include "collection/Errors.h"
#include "collection/PictureReview.h"
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
  for (const auto part : {static_cast<std::uint64_t>(stamp.Size), static_cast<std::uint64_t>(stamp.ModifiedNs),
                          stamp.Inode}) {
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

ThumbnailCache::ThumbnailCache(std::size_t headerEntries, std::size_t thumbnailBytes)
    : headers_(headerEntries), thumbnails_(thumbnailBytes), scans_(headerEntries) {}

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
  if (const QImage* known = thumbnails_.Find(file)) return *known;
  QImage image;
  try {
    std::optional<std::string> problem;
    image = DecodeThumbnail(file.Path, &problem);
    scans_.Put(file, std::move(problem), 1);  // what a build's check would decode for
  } catch (const PictureTooLargeError& tooLarge) {
    // Measured all the same, and built: it shows its size instead.
    image = TooLargePlaceholder(tooLarge.Size());
  } catch (const ThumbnailError&) {
    // Kept with the header, so the picture fails from now on wherever it
    // stands, shown or not.
    headers_.Put(file, std::current_exception(), 1);
    throw;
  }
  const auto cost = static_cast<std::size_t>(image.sizeInBytes());
  return thumbnails_.Put(file, std::move(image), cost);
}

std::optional<std::string> ThumbnailCache::ScanProblem(const FileStamp& file) {
  if (const auto* known = scans_.Find(file)) return *known;
  // Reading the file is enough to find the common damage; the decoder's
  // word comes with the thumbnail, and replaces it then. A picture whose
  // thumbnail failed is decoded again for the decoder's reason.
  const auto* header = headers_.Find(file);
  const bool failed = header && std::holds_alternative<std::exception_ptr>(*header);
  return scans_.Put(file, failed ? ScanFileProblem(file.Path) : StructureProblem(file.Path), 1);
}
