#include "window/strip/ThumbnailDecoder.h"

#include <turbojpeg.h>

#include <QtEndian>

#include "collection/JpegDecoder.h"
#include "collection/PictureFile.h"
#include "collection/ScanCheck.h"

namespace {

// Laid out in memory as QImage::Format_RGB32 is, with the fourth byte 0xFF.
constexpr J_COLOR_SPACE kRgb32ColourSpace = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;

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

// The scale ScaledDecodeSize describes.
tjscalingfactor ThumbnailScale(JpegSize size) {
  int count = 0;
  const tjscalingfactor* factors = tjGetScalingFactors(&count);
  tjscalingfactor best{1, 1};
  long long bestPixels = static_cast<long long>(size.Width) * size.Height;
  for (int i = 0; i < count; ++i) {
    const tjscalingfactor f = factors[i];
    if (f.num > f.denom) continue;  // enlarging in the DCT gains nothing over stretching
    const int width = TJSCALED(size.Width, f);
    const int height = TJSCALED(size.Height, f);
    const long long pixels = static_cast<long long>(width) * height;
    if (width >= kThumbnailWidth && height >= kThumbnailHeight && pixels < bestPixels) {
      best = f;
      bestPixels = pixels;
    }
  }
  return best;
}

}  // namespace

ThumbnailError::ThumbnailError(const std::string& path, const std::string& reason)
    : AppError("The picture \"" + path + "\" cannot be shown. " + reason) {}

PictureTooLargeError::PictureTooLargeError(const std::string& path, JpegSize size)
    : ThumbnailError(
          path, "It is too large (" + std::to_string(size.Width) + " x " + std::to_string(size.Height) + " pixels)."),
      size_(size) {}

void CheckDecodable(const std::string& path, JpegSize size) {
  if (ExceedsPixelBound(size.Width, size.Height)) throw PictureTooLargeError(path, size);
}

QSize ScaledDecodeSize(JpegSize size) {
  const tjscalingfactor f = ThumbnailScale(size);
  return {TJSCALED(size.Width, f), TJSCALED(size.Height, f)};
}

QImage DecodeThumbnail(const std::string& path, std::optional<std::string>* problem) {
  PictureFile file(path);
  JpegFileDecoder d(file);
  jpeg_decompress_struct& info = d.info;
  const auto fail = [&]() { throw ThumbnailError(path, d.Message()); };

  if (!d.ReadHeader()) fail();
  const JpegSize size{static_cast<int>(info.image_width), static_cast<int>(info.image_height)};
  CheckDecodable(path, size);

  const tjscalingfactor scale = ThumbnailScale(size);
  d.SetFastScale(static_cast<unsigned int>(scale.num), static_cast<unsigned int>(scale.denom));
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : kRgb32ColourSpace;
  if (!d.Guarded([&] { jpeg_calc_output_dimensions(&info); })) fail();

  QImage decoded(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_RGB32);
  if (decoded.isNull()) throw ThumbnailError(path, "There is not enough memory to decode it.");
  if (!d.Start()) {
    if (d.OutOfMemory()) throw PictureTooLargeError(path, size);
    fail();
  }
  if (!d.ReadRowsToEnd([&](JDIMENSION line) { return decoded.scanLine(static_cast<int>(line)); })) fail();
  if (problem) *problem = DecodeProblem(d, path);
  if (cmyk) CmykToRgb32(decoded);

  QImage thumbnail = decoded.scaled(kThumbnailWidth, kThumbnailHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  if (thumbnail.isNull()) throw ThumbnailError(path, "There is not enough memory to decode it.");
  return thumbnail;
}
