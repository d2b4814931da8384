#include "publish/Publish.h"

void PublishMovie(const PictureList& pictures, std::int32_t width, std::int32_t height,
                  const PublishTargets& targets, MovieStream& stream, const TConversion& converter,
                  BuildReporter& reporter, FileSystem& files) {
  CheckMovieInputs(pictures, width, height);
  if (!targets.MovieFile.empty()) CheckTargetIsNoPicture(pictures, targets.MovieFile);
  if (targets.Web) CheckWebFolderTarget(*targets.Web, pictures);
  BuildMovie(pictures, width, height, stream, converter, reporter, [&](std::span<const std::uint8_t> movie) {
    if (targets.Web) WriteWebFolder(*targets.Web, movie, width, height, files);
    if (!targets.MovieFile.empty()) ReplaceFileContent(targets.MovieFile, movie, files);
  });
}
