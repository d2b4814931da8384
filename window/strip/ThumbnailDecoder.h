#pragma once
// Decodes a JPEG file straight to a strip thumbnail, letting the decoder
// scale the picture down in the DCT so that a large photo costs a fraction
// of a full decode.

#include <QImage>
#include <QSize>
#include <optional>
#include <string>

#include "collection/Errors.h"
#include "collection/JpegHeader.h"

inline constexpr int kThumbnailWidth = 140;
inline constexpr int kThumbnailHeight = 129;

// Pictures of more pixels than this are not decoded: a header may claim up
// to 65535 x 65535, and a progressive file keeps all its coefficients in
// memory while it is decoded.
inline constexpr long long kMaxPicturePixels = 1LL << 26;

// A picture that cannot be decoded, or is too large to decode.
class ThumbnailError : public AppError {
 public:
  ThumbnailError(const std::string& path, const std::string& reason);
};

// Throws ThumbnailError when a picture of this size is over the pixel bound.
void CheckDecodable(const std::string& path, JpegSize size);

// The smallest size the decoder can scale a picture of this size to that
// still covers a thumbnail in both directions; the full size when no smaller
// one does.
QSize ScaledDecodeSize(JpegSize size);

// The file's picture stretched to kThumbnailWidth x kThumbnailHeight, aspect
// not kept. Throws FileOpenError when the file cannot be read, ThumbnailError
// when it cannot be decoded. A file cut short or corrupt still decodes (its
// missing part stays grey, as the decoder leaves it); what the decoder said
// about it then goes to problem, given as ScanProblemReason words, and
// nothing goes there for a clean picture.
QImage DecodeThumbnail(const std::string& path, std::optional<std::string>* problem = nullptr);
