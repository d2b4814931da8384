#include "window/strip/ThumbnailDecoder.h"

#include <turbojpeg.h>

#include "collection/ScanCheck.h"

#include <QtEndian>
#include <cerrno>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct HandleCloser {
  void operator()(void* handle) const { tjDestroy(handle); }
};
using Decompressor = std::unique_ptr<void, HandleCloser>;

// Laid out in memory as QImage::Format_RGB32 is, with the fourth byte 0xFF.
constexpr int kRgb32PixelFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRA : TJPF_ARGB;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::vector<unsigned char> ReadWholeFile(const std::string& path) {
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rbe"));
  if (!file) throw FileOpenError(path, errno);
  std::vector<unsigned char> bytes;
  std::size_t used = 0;
  for (;;) {
    bytes.resize(std::max<std::size_t>(used * 2, 1 << 16));
    used += std::fread(bytes.data() + used, 1, bytes.size() - used, file.get());
    if (used < bytes.size()) break;
  }
  if (std::ferror(file.get())) throw StreamReadError();
  bytes.resize(used);
  return bytes;
}

// Adobe applications store CMYK inverted, which the decoder passes on as it
// is; undo the inversion and fold the black in.
void CmykToRgb32(QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    unsigned char* pixel = image.scanLine(y);
    for (int x = 0; x < image.width(); ++x, pixel += 4) {
      const int c = pixel[0], m = pixel[1], yellow = pixel[2], k = pixel[3];
      reinterpret_cast<QRgb*>(pixel)[0] = qRgb(c * k / 255, m * k / 255, yellow * k / 255);
    }
  }
}

}  // namespace

ThumbnailError::ThumbnailError(const std::string& path, const std::string& reason)
    : AppError("The picture \"" + path + "\" cannot be shown. " + reason) {}

void CheckDecodable(const std::string& path, JpegSize size) {
  if (static_cast<long long>(size.Width) * size.Height > kMaxPicturePixels) {
    throw ThumbnailError(path, "It is too large (" + std::to_string(size.Width) + " x " +
                                   std::to_string(size.Height) + " pixels).");
  }
}

QSize ScaledDecodeSize(JpegSize size) {
  int count = 0;
  const tjscalingfactor* factors = tjGetScalingFactors(&count);
  QSize best(size.Width, size.Height);
  for (int i = 0; i < count; ++i) {
    const tjscalingfactor f = factors[i];
    if (f.num > f.denom) continue;  // enlarging in the DCT gains nothing over stretching
    const QSize scaled(TJSCALED(size.Width, f), TJSCALED(size.Height, f));
    const bool covers = scaled.width() >= kThumbnailWidth && scaled.height() >= kThumbnailHeight;
    if (covers && static_cast<long long>(scaled.width()) * scaled.height() <
                      static_cast<long long>(best.width()) * best.height()) {
      best = scaled;
    }
  }
  return best;
}

QImage DecodeThumbnail(const std::string& path, std::optional<std::string>* problem) {
  const std::vector<unsigned char> bytes = ReadWholeFile(path);
  const Decompressor handle(tjInitDecompress());
  if (!handle) throw ThumbnailError(path, tjGetErrorStr2(nullptr));
  const auto fail = [&]() { throw ThumbnailError(path, tjGetErrorStr2(handle.get())); };

  int width = 0, height = 0, subsampling = 0, colourSpace = 0;
  if (tjDecompressHeader3(handle.get(), bytes.data(), bytes.size(), &width, &height, &subsampling,
                          &colourSpace) != 0) {
    fail();
  }
  CheckDecodable(path, JpegSize{width, height});

  const QSize scaled = ScaledDecodeSize(JpegSize{width, height});
  QImage decoded(scaled, QImage::Format_RGB32);
  if (decoded.isNull()) throw ThumbnailError(path, "There is not enough memory to decode it.");
  const bool cmyk = colourSpace == TJCS_CMYK || colourSpace == TJCS_YCCK;
  const int rc = tjDecompress2(handle.get(), bytes.data(), bytes.size(), decoded.bits(), scaled.width(),
                               static_cast<int>(decoded.bytesPerLine()), scaled.height(),
                               cmyk ? TJPF_CMYK : kRgb32PixelFormat, TJFLAG_FASTDCT);
  // A warning (data cut short, a bad restart marker) still leaves a picture.
  if (rc != 0 && tjGetErrorCode(handle.get()) == TJERR_FATAL) fail();
  if (problem) {
    *problem = rc == 0 ? std::nullopt : std::optional(ScanProblemReason(tjGetErrorStr2(handle.get()), true));
  }
  if (cmyk) CmykToRgb32(decoded);

  QImage thumbnail = decoded.scaled(kThumbnailWidth, kThumbnailHeight, Qt::IgnoreAspectRatio,
                                    Qt::SmoothTransformation);
  if (thumbnail.isNull()) throw ThumbnailError(path, "There is not enough memory to decode it.");
  return thumbnail;
}
