#pragma once
// Decodes a JPEG file straight to a strip thumbnail. The decoder reads the
// file a block at a time (segments it does not need are skipped, not read)
// and scales the picture down in the DCT, so that a thumbnail needs a
// bounded amount of memory whatever the file's size.

#include <QImage>
#include <QSize>
#include <optional>
#include <string>

#include "collection/JpegHeader.h"
#include "common/Errors.h"

inline constexpr int kThumbnailWidth = 140;
inline constexpr int kThumbnailHeight = 129;

// A picture that cannot be decoded.
class ThumbnailError : public AppError {
 public:
  ThumbnailError(const std::string& path, const std::string& reason);
};

// A picture too large to decode; its size comes from its header.
class PictureTooLargeError : public ThumbnailError {
 public:
  PictureTooLargeError(const std::string& path, JpegSize size);
  JpegSize Size() const { return size_; }

 private:
  JpegSize size_;
};

// Throws PictureTooLargeError when a picture of this size is over the pixel
// bound (kMaxPicturePixels).
void CheckDecodable(const std::string& path, JpegSize size);

// The smallest size the decoder can scale a picture of this size to that
// still covers a thumbnail in both directions; the full size when no smaller
// one does.
QSize ScaledDecodeSize(JpegSize size);

// The file's picture stretched to kThumbnailWidth x kThumbnailHeight, aspect
// not kept. Throws what PictureFile throws when the file cannot be read,
// PictureTooLargeError when it is over the pixel bound or needs more than
// the decoder may allocate (kDecoderMemory), ThumbnailError when it cannot be decoded. A file cut short
// or corrupt still decodes (its missing part stays grey, as the decoder
// leaves it), as does one of more than kMaxScans scans, from those scans;
// what the decoder said about it then goes to problem, in DecodeProblem's
// words, and nothing goes there for a clean picture.
QImage DecodeThumbnail(const std::string& path, std::optional<std::string>* problem = nullptr);
