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

// What decoding a picture for the strip gave: the thumbnail with what the
// decoder said about the data, or the error that stopped it.
struct ThumbnailOutcome {
  QImage Image;
  std::optional<std::string> Problem;
  std::exception_ptr Failure;
};

// Decodes the file for the strip; safe on any thread and never throws. A
// picture too large to decode gives a placeholder that shows its size.
ThumbnailOutcome DecodeForStrip(const std::string& path);

// What is wrong with the picture's data, found without a thumbnail: reading
// the file is enough to find the common damage (StructureProblem); a picture
// that failed is decoded again for the decoder's reason (ScanFileProblem).
// Safe on any thread. Throws what PictureFile throws.
std::optional<std::string> FindScanProblem(const std::string& path, bool failed);

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

  // The picture as a kThumbnailWidth x kThumbnailHeight thumbnail, decoding
  // it here when it is not known (Keep with DecodeForStrip).
  QImage Thumbnail(const FileStamp& file);

  // The thumbnail when it is known, nothing when the file is still to be
  // decoded. Throws the error its decode raised: a picture that cannot be
  // decoded (ThumbnailError) fails here and in Measure from then on; any
  // other error (the file could not be read) is raised once and the file
  // is decoded again when asked next.
  std::optional<QImage> KnownThumbnail(const FileStamp& file);
  // Takes what decoding the file gave.
  void Keep(const FileStamp& file, ThumbnailOutcome outcome);

  // Whether the picture has failed, to measure or to decode.
  bool Failed(const FileStamp& file);
  // What is wrong with the picture's data, when known: what the decoder said
  // when the thumbnail was decoded, or what a check found (KeepScanProblem);
  // null when not known.
  const std::optional<std::string>* KnownScanProblem(const FileStamp& file) { return scans_.Find(file); }
  // Keeps what a check elsewhere (a build's, off this thread) found.
  void KeepScanProblem(const FileStamp& file, std::optional<std::string> problem) {
    scans_.Put(file, std::move(problem), 1);
  }

  std::size_t ThumbnailCount() const { return thumbnails_.Size(); }
  std::size_t ThumbnailBytes() const { return thumbnails_.TotalCost(); }

 private:
  // A size, or the error that reading it (or decoding the picture) raised.
  LruCache<FileStamp, std::variant<JpegFrame, std::exception_ptr>, FileStampHash> headers_;
  LruCache<FileStamp, QImage, FileStampHash> thumbnails_;
  LruCache<FileStamp, std::optional<std::string>, FileStampHash> scans_;
  // Decodes that failed for a reason outside the file's content, until asked.
  LruCache<FileStamp, std::exception_ptr, FileStampHash> passingFailures_;
};
