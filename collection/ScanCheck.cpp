#include "collection/ScanCheck.h"

#include <turbojpeg.h>

#include <memory>
#include <vector>

namespace {

struct HandleCloser {
  void operator()(void* handle) const { tjDestroy(handle); }
};

std::string Problem(void* handle) {
  return ScanProblemReason(tjGetErrorStr2(handle), handle && tjGetErrorCode(handle) == TJERR_WARNING);
}

}  // namespace

std::string ScanProblemReason(const std::string& decoderSays, bool stillDecodes) {
  if (stillDecodes) return "its picture data is damaged (" + decoderSays + "); players show stripes where it fails";
  return "its picture data cannot be decoded (" + decoderSays + "); players cannot show it";
}

std::optional<std::string> ScanDataProblem(std::span<const std::uint8_t> bytes) {
  const std::unique_ptr<void, HandleCloser> handle(tjInitDecompress());
  if (!handle) return Problem(nullptr);
  // The TurboJPEG API takes the bytes as writable but only reads them.
  auto* data = const_cast<unsigned char*>(bytes.data());
  int width = 0, height = 0, subsampling = 0, colourSpace = 0;
  if (tjDecompressHeader3(handle.get(), data, bytes.size(), &width, &height, &subsampling, &colourSpace) != 0) {
    return Problem(handle.get());
  }
  if (static_cast<long long>(width) * height > kMaxScannedPixels) return std::nullopt;

  // Grey needs only the luminance converted; the decoder cannot turn CMYK into grey.
  const bool cmyk = colourSpace == TJCS_CMYK || colourSpace == TJCS_YCCK;
  const int format = cmyk ? TJPF_CMYK : TJPF_GRAY;
  const tjscalingfactor eighth{1, 8};
  const int scaledWidth = TJSCALED(width, eighth);
  const int scaledHeight = TJSCALED(height, eighth);
  std::vector<unsigned char> pixels(static_cast<std::size_t>(scaledWidth) * scaledHeight * tjPixelSize[format]);
  // A progressive file of absurdly many scans is refused rather than decoded for minutes.
  const int flags = TJFLAG_FASTDCT | TJFLAG_FASTUPSAMPLE | TJFLAG_LIMITSCANS;
  if (tjDecompress2(handle.get(), data, bytes.size(), pixels.data(), scaledWidth, 0, scaledHeight, format, flags) != 0) {
    return Problem(handle.get());
  }
  return std::nullopt;
}
