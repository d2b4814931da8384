#include "publish/ScaledPicture.h"

#include <turbojpeg.h>
#include <vips/vips.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>

#include "common/Errors.h"
#include "publish/StrippedJpeg.h"

namespace {

// libvips starts once per process. Its operation cache is off: pictures come
// and go as buffers whose addresses are reused, and each is read once. Each
// picture runs on one thread; the callers scale several pictures at once.
void StartVips() {
  static std::once_flag started;
  std::call_once(started, [] {
    if (VIPS_INIT("orbilux") != 0) throw ScalerStartError(vips_error_buffer());
    vips_cache_set_max(0);
    vips_concurrency_set(1);
  });
}

struct Unref {
  void operator()(VipsImage* image) const { g_object_unref(image); }
};
using Image = std::unique_ptr<VipsImage, Unref>;

[[noreturn]] void Fail(const std::string& name) {
  std::string reason = vips_error_buffer();
  vips_error_clear();
  while (!reason.empty() && reason.back() == '\n') reason.pop_back();
  throw PictureScaleError(name, reason);
}

// The result of one libvips call that makes an image.
template <typename Call>
Image Made(const std::string& name, Call call) {
  VipsImage* out = nullptr;
  if (call(&out) != 0) Fail(name);
  return Image(out);
}

int Orientation(VipsImage* image) {
  int orientation = 1;
  if (vips_image_get_typeof(image, VIPS_META_ORIENTATION) != 0)
    vips_image_get_int(image, VIPS_META_ORIENTATION, &orientation);
  return orientation;
}

// Orientations 5 to 8 turn the picture a quarter.
bool Transposed(int orientation) { return orientation >= 5 && orientation <= 8; }

Image Header(std::span<const std::uint8_t> jpeg, const std::string& name) {
  return Made(name, [&](VipsImage** out) {
    return vips_jpegload_buffer(const_cast<std::uint8_t*>(jpeg.data()), jpeg.size(), out, "access",
                                VIPS_ACCESS_SEQUENTIAL, nullptr);
  });
}

// The decoder's scale (1, 2, 4 or 8) that keeps the decoded picture at least
// as wide and high as needed.
int LoadShrink(PictureSize upright, PictureSize needed) {
  for (int shrink = 8; shrink > 1; shrink /= 2) {
    if (upright.Width / shrink >= needed.Width && upright.Height / shrink >= needed.Height) return shrink;
  }
  return 1;
}

Image InMemory(const Image& image, const std::string& name) {
  return Made(name, [&](VipsImage** out) {
    *out = vips_image_copy_memory(image.get());
    return *out ? 0 : -1;
  });
}

// Whether the picture is three colour channels that TurboJPEG decodes to
// RGB as libvips' own loader would (not CMYK, not grey).
bool PlainColour(VipsImage* header) { return header->Bands == 3 && header->Type == VIPS_INTERPRETATION_sRGB; }

void FreePixels(VipsImage*, void* pixels) { g_free(pixels); }

// The picture decoded by TurboJPEG at 1/shrink straight into the image's
// memory, with the header's colour profile and orientation. It takes a
// tenth less processor time than libvips' loader, which hands the rows on
// through a buffer of its own. A picture that decodes with warnings only
// (cut short, say) is taken as libvips would take it.
Image DecodedByTurboJpeg(std::span<const std::uint8_t> jpeg, int shrink, VipsImage* header, const std::string& name) {
  const std::unique_ptr<void, int (*)(tjhandle)> handle(tjInitDecompress(), tjDestroy);
  const tjscalingfactor scale{1, shrink};
  const int width = TJSCALED(header->Xsize, scale), height = TJSCALED(header->Ysize, scale);
  const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
  auto* pixels = static_cast<unsigned char*>(g_malloc(size));
  Image image(vips_image_new_from_memory(pixels, size, width, height, 3, VIPS_FORMAT_UCHAR));
  if (!image) {
    g_free(pixels);
    Fail(name);
  }
  g_signal_connect(image.get(), "postclose", G_CALLBACK(FreePixels), pixels);
  image->Type = VIPS_INTERPRETATION_sRGB;
  if (!handle || (tjDecompress2(handle.get(), jpeg.data(), jpeg.size(), pixels, width, 0, height, TJPF_RGB, 0) != 0 &&
                  tjGetErrorCode(handle.get()) != TJERR_WARNING)) {
    throw PictureScaleError(name, tjGetErrorStr2(handle.get()));
  }
  const void* profile = nullptr;
  std::size_t length = 0;
  if (vips_image_get_typeof(header, VIPS_META_ICC_NAME) != 0 &&
      vips_image_get_blob(header, VIPS_META_ICC_NAME, &profile, &length) == 0) {
    vips_image_set_blob_copy(image.get(), VIPS_META_ICC_NAME, profile, length);
  }
  vips_image_set_int(image.get(), VIPS_META_ORIENTATION, Orientation(header));
  return image;
}

// The picture decoded at 1/shrink in one pass from top to bottom, in sRGB,
// upright, held in memory for the several sizes made from it.
Image Decoded(std::span<const std::uint8_t> jpeg, int shrink, VipsImage* header, const std::string& name) {
  Image image = PlainColour(header) ? DecodedByTurboJpeg(jpeg, shrink, header, name) : Made(name, [&](VipsImage** out) {
    return vips_jpegload_buffer(const_cast<std::uint8_t*>(jpeg.data()), jpeg.size(), out, "shrink", shrink, "access",
                                VIPS_ACCESS_SEQUENTIAL, nullptr);
  });
  const bool profiled = vips_image_get_typeof(image.get(), VIPS_META_ICC_NAME) != 0;
  if (profiled || image->Type == VIPS_INTERPRETATION_CMYK) {
    image = Made(name, [&](VipsImage** out) {
      return vips_icc_transform(image.get(), out, "srgb", "embedded", TRUE, "input_profile",
                                image->Type == VIPS_INTERPRETATION_CMYK ? "cmyk" : "srgb", nullptr);
    });
  }
  image = InMemory(image, name);
  if (Orientation(header) == 1) return image;
  // Turned in memory: a quarter turn reads the picture across its rows.
  return InMemory(Made(name, [&](VipsImage** out) { return vips_autorot(image.get(), out, nullptr); }), name);
}

std::vector<std::uint8_t> Encoded(VipsImage* image, JpegLayout layout, const std::string& name) {
  void* buffer = nullptr;
  std::size_t length = 0;
  if (vips_jpegsave_buffer(image, &buffer, &length, "Q", kScaledQuality, "interlace",
                           layout == JpegLayout::Progressive ? TRUE : FALSE, "optimize_coding", TRUE, "strip", TRUE,
                           nullptr) != 0) {
    Fail(name);
  }
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  std::vector<std::uint8_t> out(bytes, bytes + length);
  g_free(buffer);
  return out;
}

}  // namespace

PictureSize UprightSize(std::span<const std::uint8_t> jpeg, const std::string& name) {
  StartVips();
  const Image header = Header(jpeg, name);
  const PictureSize stored{header->Xsize, header->Ysize};
  return Transposed(Orientation(header.get())) ? PictureSize{stored.Height, stored.Width} : stored;
}

PictureSize SizeAtWidth(PictureSize upright, std::int32_t width) {
  const auto height =
      static_cast<std::int32_t>(std::lround(static_cast<double>(upright.Height) * width / upright.Width));
  return {width, std::max(1, height)};
}

PictureSize SizeWithin(PictureSize upright, PictureSize box) {
  const double scale =
      std::min({1.0, static_cast<double>(box.Width) / upright.Width, static_cast<double>(box.Height) / upright.Height});
  if (scale >= 1) return upright;
  return {std::max(1, static_cast<std::int32_t>(std::lround(upright.Width * scale))),
          std::max(1, static_cast<std::int32_t>(std::lround(upright.Height * scale)))};
}

std::vector<std::vector<std::uint8_t>> ScalePicture(std::span<const std::uint8_t> jpeg,
                                                    std::span<const ScaleTarget> targets, const std::string& name) {
  StartVips();
  const Image header = Header(jpeg, name);
  const int orientation = Orientation(header.get());
  const PictureSize stored{header->Xsize, header->Ysize};
  const PictureSize upright = Transposed(orientation) ? PictureSize{stored.Height, stored.Width} : stored;
  const auto carried = [&](const ScaleTarget& t) { return orientation == 1 && t.Size == upright; };

  PictureSize needed;
  for (const ScaleTarget& t : targets) {
    if (carried(t)) continue;
    needed = {std::max(needed.Width, t.Size.Width), std::max(needed.Height, t.Size.Height)};
  }
  Image decoded;
  if (needed.Width > 0) decoded = Decoded(jpeg, LoadShrink(upright, needed), header.get(), name);

  // Each size is resampled once, from the smallest picture already made
  // that is larger (the decoded one for the largest size): a smaller size
  // made from a smaller picture takes a fraction of the work of shrinking
  // the decoded picture again. The cubic (Catmull-Rom) filter
  // takes two thirds of Lanczos' work; at these ratios the two cannot be
  // told apart side by side.
  std::vector<std::pair<PictureSize, Image>> resized;
  const auto resizedTo = [&](PictureSize size) -> VipsImage* {
    VipsImage* from = decoded.get();
    for (const auto& [made, image] : resized) {
      if (made == size) return image.get();
      if (made.Width > size.Width && made.Height >= size.Height && made.Width < from->Xsize) from = image.get();
    }
    const Image image = Made(name, [&](VipsImage** result) {
      return vips_resize(from, result, static_cast<double>(size.Width) / from->Xsize, "vscale",
                         static_cast<double>(size.Height) / from->Ysize, "kernel", VIPS_KERNEL_CUBIC, nullptr);
    });
    resized.emplace_back(size, InMemory(image, name));
    return resized.back().second.get();
  };
  std::vector<std::size_t> order(targets.size());
  for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return targets[a].Size.Width > targets[b].Size.Width; });
  std::vector<std::vector<std::uint8_t>> out(targets.size());
  for (const std::size_t k : order) {
    const ScaleTarget& t = targets[k];
    out[k] = carried(t) ? StrippedJpeg(jpeg) : Encoded(resizedTo(t.Size), t.Layout, name);
  }
  return out;
}
