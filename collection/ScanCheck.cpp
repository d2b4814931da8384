#include "collection/ScanCheck.h"

#include <vector>

#include "collection/JpegDecoder.h"
#include "collection/JpegStructure.h"
#include "collection/PictureFile.h"

std::string ScanProblemReason(const std::string& decoderSays, bool stillDecodes) {
  if (stillDecodes) return kDamagedBefore + decoderSays + kDamagedAfter;
  return kUndecodableBefore + decoderSays + kUndecodableAfter;
}

std::string ManyScansReason(int scans) { return kScansBefore + std::to_string(scans) + kScansAfter; }

std::optional<std::string> StructureProblem(const std::string& path) {
  const JpegStructure structure = WalkJpegStructure(path);
  if (structure.Problem) return ScanProblemReason(structure.Problem->Says, structure.Problem->StillDecodes);
  if (structure.Scans > kMaxScans) return ManyScansReason(structure.Scans);
  return std::nullopt;
}

std::optional<std::string> DecodeProblem(const JpegFileDecoder& decoder, const std::string& path) {
  // The decoder read no further; the walk counts the rest without decoding.
  if (decoder.StoppedAtScanBound()) return ManyScansReason(WalkJpegStructure(path).Scans);
  if (const std::optional<std::string> warning = decoder.FirstWarning()) return ScanProblemReason(*warning, true);
  return std::nullopt;
}

std::optional<std::string> ScanFileProblem(const std::string& path) {
  PictureFile file(path);
  JpegFileDecoder d(file);
  jpeg_decompress_struct& info = d.info;
  if (!d.ReadHeader()) return ScanProblemReason(d.Message(), false);
  if (d.ExceedsPixelBound()) return std::nullopt;

  d.SetFastScale(1, 8);
  info.do_fancy_upsampling = FALSE;
  // Grey needs only the luminance converted.
  if (info.jpeg_color_space == JCS_YCbCr) info.out_color_space = JCS_GRAYSCALE;
  if (!d.Start()) {
    if (d.OutOfMemory()) return std::nullopt;
    return ScanProblemReason(d.Message(), false);
  }
  std::vector<JSAMPLE> row(static_cast<std::size_t>(info.output_width) *
                           static_cast<std::size_t>(info.output_components));
  if (!d.ReadRowsToEnd([&](JDIMENSION) { return row.data(); })) return ScanProblemReason(d.Message(), false);
  return DecodeProblem(d, path);
}
