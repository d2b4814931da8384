#pragma once
// Decodes a JPEG file straight to a strip thumbnail. The decoder reads the
// file a block at a time (segments it does not need are skipped, not read)
// and scales the picture down in the DCT, so that a thumbnail needs a
// bounded amount of memory whatever the file's size.

#include <QImage>
#include <QSize>
#include <string>

#include "collection/Errors.h"
#include "collection/JpegHeader.h"

inline constexpr int kThumbnailWidth = 140;
inline constexpr int kThumbnailHeight = 129;

// Pictures of more pixels than this are not decoded: a header may claim up
// to 65535 x 65535, and the scaled picture is held whole before it is
// stretched to a thumbnail.
inline constexpr long long kMaxPicturePixels = 1LL << 26;

// What the decoder may allocate for one picture. A progressive picture
// keeps all its coefficients (128 bytes per 8 x 8 block of each component)
// until its last scan; one that needs more is too large to decode. With the
// scaled picture, a thumbnail stays within 64 MiB.
inline constexpr long kDecoderMemory = 40L << 20;

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

// Throws PictureTooLargeError when a picture of this size is over the pixel bound.
void CheckDecodable(const std::string& path, JpegSize size);

// The smallest size the decoder can scale a picture of this size to that
// still covers a thumbnail in both directions; the full size when no smaller
// one does.
QSize ScaledDecodeSize(JpegSize size);

// The file's picture stretched to kThumbnailWidth x kThumbnailHeight, aspect
// not kept. Throws what PictureFile throws when the file cannot be read,
// PictureTooLargeError when it is over the pixel bound or needs more than
// kDecoderMemory, ThumbnailError when it cannot be decoded. A file cut short
// still decodes; its missing part stays grey, as the decoder leaves it.
QImage DecodeThumbnail(const std::string& path);
