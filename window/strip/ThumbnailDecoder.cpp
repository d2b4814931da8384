#include "window/strip/ThumbnailDecoder.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on
#include <turbojpeg.h>

#include <QtEndian>
#include <array>
#include <csetjmp>

#include "collection/PictureFile.h"

namespace {

// libjpeg reports an error by calling error_exit, which must not return:
// it jumps back to the step that was running (see Guarded), past libjpeg's
// own frames. The message is kept for the ThumbnailError.
struct ErrorManager {
  jpeg_error_mgr base;  // first, so that libjpeg's pointer to it is ours too
  std::jmp_buf back;
  char message[JMSG_LENGTH_MAX];
};

void JumpBack(j_common_ptr info) {
  auto* errors = reinterpret_cast<ErrorManager*>(info->err);
  errors->base.format_message(info, errors->message);
  std::longjmp(errors->back, 1);
}

// Warnings (data cut short, a bad restart marker) still leave a picture.
void IgnoreMessage(j_common_ptr, int) {}

// Feeds the decoder from the file a block at a time; segments it skips are
// seeked over, never read.
struct FileSource {
  jpeg_source_mgr base;  // first, as above
  PictureFile* file;
  std::array<JOCTET, 4096> buffer;  // small: after a skip only a segment header may be needed
};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

boolean FillBuffer(j_decompress_ptr info) {
  auto* source = reinterpret_cast<FileSource*>(info->src);
  std::size_t n = 0;
  bool failed = false;
  try {
    n = source->file->ReadSome(source->buffer);
  } catch (const AppError&) {
    failed = true;  // jumping out of the handler would leak the exception
  }
  if (failed) ERREXIT(info, JERR_FILE_READ);
  if (n == 0) {
    // The file ends early: an end marker lets the decoder finish with what
    // it has, as its own file source does.
    WARNMS(info, JWRN_JPEG_EOF);
    source->buffer[0] = 0xFF;
    source->buffer[1] = JPEG_EOI;
    n = 2;
  }
  source->base.next_input_byte = source->buffer.data();
  source->base.bytes_in_buffer = n;
  return TRUE;
}

void SkipData(j_decompress_ptr info, long count) {
  if (count <= 0) return;
  auto* source = reinterpret_cast<FileSource*>(info->src);
  const auto wanted = static_cast<std::size_t>(count);
  if (wanted <= source->base.bytes_in_buffer) {
    source->base.next_input_byte += wanted;
    source->base.bytes_in_buffer -= wanted;
    return;
  }
  const std::size_t rest = wanted - source->base.bytes_in_buffer;
  source->base.bytes_in_buffer = 0;
  bool failed = false;
  try {
    source->file->Skip(rest);
  } catch (const AppError&) {
    failed = true;
  }
  if (failed) ERREXIT(info, JERR_FILE_READ);
}

// One picture's decoder, released however the decoding ends.
struct Decoder {
  explicit Decoder(PictureFile& file) {
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = JumpBack;
    errors.base.emit_message = IgnoreMessage;
    source.file = &file;
    source.base.init_source = InitSource;
    source.base.fill_input_buffer = FillBuffer;
    source.base.skip_input_data = SkipData;
    source.base.resync_to_restart = jpeg_resync_to_restart;
    source.base.term_source = TermSource;
  }
  ~Decoder() { jpeg_destroy_decompress(&info); }
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  // Runs one step of libjpeg calls; false when libjpeg reported an error,
  // whose text is then in errors.message. The step must hold nothing that
  // needs destroying, since an error jumps out of it.
  template <class Step>
  bool Guarded(Step&& step) {
    if (setjmp(errors.back) != 0) return false;
    step();
    return true;
  }

  // The errors that mean the picture needs more memory than it may have.
  bool OutOfMemory() const {
    return errors.base.msg_code == JERR_OUT_OF_MEMORY || errors.base.msg_code == JERR_NO_BACKING_STORE;
  }

  ErrorManager errors{};
  FileSource source{};
  jpeg_decompress_struct info{};
};

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
    : ThumbnailError(path, "It is too large (" + std::to_string(size.Width) + " x " + std::to_string(size.Height) +
                               " pixels)."),
      size_(size) {}

void CheckDecodable(const std::string& path, JpegSize size) {
  if (static_cast<long long>(size.Width) * size.Height > kMaxPicturePixels) throw PictureTooLargeError(path, size);
}

QSize ScaledDecodeSize(JpegSize size) {
  const tjscalingfactor f = ThumbnailScale(size);
  return {TJSCALED(size.Width, f), TJSCALED(size.Height, f)};
}

QImage DecodeThumbnail(const std::string& path) {
  PictureFile file(path);
  Decoder d(file);
  jpeg_decompress_struct& info = d.info;
  const auto fail = [&]() { throw ThumbnailError(path, d.errors.message); };

  if (!d.Guarded([&] {
        jpeg_create_decompress(&info);
        info.src = &d.source.base;
        info.mem->max_memory_to_use = kDecoderMemory;
        jpeg_read_header(&info, TRUE);
      })) {
    fail();
  }
  const JpegSize size{static_cast<int>(info.image_width), static_cast<int>(info.image_height)};
  CheckDecodable(path, size);

  const tjscalingfactor scale = ThumbnailScale(size);
  info.scale_num = static_cast<unsigned int>(scale.num);
  info.scale_denom = static_cast<unsigned int>(scale.denom);
  info.dct_method = JDCT_IFAST;
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : kRgb32ColourSpace;
  if (!d.Guarded([&] { jpeg_calc_output_dimensions(&info); })) fail();

  QImage decoded(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_RGB32);
  if (decoded.isNull()) throw ThumbnailError(path, "There is not enough memory to decode it.");
  // A progressive picture is read whole here, into its coefficients.
  if (!d.Guarded([&] { jpeg_start_decompress(&info); })) {
    if (d.OutOfMemory()) throw PictureTooLargeError(path, size);
    fail();
  }
  if (!d.Guarded([&] {
        while (info.output_scanline < info.output_height) {
          JSAMPROW row = decoded.scanLine(static_cast<int>(info.output_scanline));
          jpeg_read_scanlines(&info, &row, 1);
        }
      })) {
    fail();
  }
  // What follows the last row (the end marker, anything after it) is not read.
  if (cmyk) CmykToRgb32(decoded);

  QImage thumbnail = decoded.scaled(kThumbnailWidth, kThumbnailHeight, Qt::IgnoreAspectRatio,
                                    Qt::SmoothTransformation);
  if (thumbnail.isNull()) throw ThumbnailError(path, "There is not enough memory to decode it.");
  return thumbnail;
}
