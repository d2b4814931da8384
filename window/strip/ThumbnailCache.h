#pragma once
// What the strip learns about each picture file: its size from the JPEG
// header and its thumbnail, each kept under the file's identity (path, size,
// modification time, inode) so that a file that is changed, replaced or
// removed is noticed on the next look. A failure of the content is kept too
// and raised again, so a broken file keeps failing at the same place without
// being read again. Both kinds of entry are bounded: headers by count,
// thumbnails by bytes, the least recently used going first.

#include <QImage>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <variant>

#include "collection/JpegHeader.h"
#include "window/strip/LruCache.h"

// A file as it is now on disk.
struct FileStamp {
  std::string Path;
  std::int64_t Size = 0;
  std::int64_t ModifiedNs = 0;
  std::uint64_t Inode = 0;
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

struct FileStampHash {
  std::size_t operator()(const FileStamp& stamp) const;
};

// Throws FileOpenError when the file is not there or cannot be examined.
FileStamp StampOf(const std::string& path);

class ThumbnailCache {
 public:
  // Headers are a few dozen bytes each; thumbnails about 70 KB, so the
  // default keeps some nine hundred of them.
  static constexpr std::size_t kDefaultHeaderEntries = 1 << 15;
  static constexpr std::size_t kDefaultThumbnailBytes = 64u << 20;

  explicit ThumbnailCache(std::size_t headerEntries = kDefaultHeaderEntries,
                          std::size_t thumbnailBytes = kDefaultThumbnailBytes);

  // The picture's frame header, however large: its size and colour
  // components. Throws what ReadJpegFrame throws, and ThumbnailError for a
  // picture that has failed to decode.
  JpegFrame Measure(const FileStamp& file);

  // The picture as a kThumbnailWidth x kThumbnailHeight thumbnail; one too
  // large to decode gives a placeholder that shows its size. Throws what
  // DecodeThumbnail throws otherwise; a picture that cannot be decoded
  // fails Measure from then on.
  QImage Thumbnail(const FileStamp& file);

  // What is wrong with the picture's data: what the decoder said when the
  // thumbnail was decoded, else what the walk of its structure finds on the
  // first question (StructureProblem), or the decode (ScanFileProblem) for
  // a picture whose thumbnail failed. Throws what PictureFile throws.
  std::optional<std::string> ScanProblem(const FileStamp& file);
  // The same when it is known already, without decoding.
  const std::optional<std::string>* KnownScanProblem(const FileStamp& file) { return scans_.Find(file); }

  std::size_t ThumbnailCount() const { return thumbnails_.Size(); }
  std::size_t ThumbnailBytes() const { return thumbnails_.TotalCost(); }

 private:
  // A size, or the error that reading it (or decoding the picture) raised.
  LruCache<FileStamp, std::variant<JpegFrame, std::exception_ptr>, FileStampHash> headers_;
  LruCache<FileStamp, QImage, FileStampHash> thumbnails_;
  LruCache<FileStamp, std::optional<std::string>, FileStampHash> scans_;
};
