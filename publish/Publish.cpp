#include "publish/Publish.h"

#include "publish/WebFolderPlace.h"

void PublishMovie(const PictureList& pictures, std::int32_t width, std::int32_t height,
                  const PublishTargets& targets, MovieStream& stream, const TConversion& converter,
                  BuildReporter& reporter, FileSystem& files) {
  CheckMovieInputs(pictures, width, height);
  if (!targets.MovieFile.empty()) CheckTargetIsNoPicture(pictures, targets.MovieFile);
  std::optional<WebFolderTarget> web = targets.Web;
  if (web) {
    if (!targets.MovieFile.empty() && WebFolderPlace(web->Folder) == WebFolderPlace(targets.MovieFile)) {
      throw AppError("The movie and the web folder cannot both be \"" + targets.MovieFile + "\".");
    }
    web->FolderFound = CheckWebFolderTarget(*web, pictures);
  }
  BuildMovie(pictures, width, height, stream, converter, reporter, [&](std::span<const std::uint8_t> movie) {
    if (web) WriteWebFolder(*web, movie, width, height, files);
    if (!targets.MovieFile.empty()) ReplaceFileContent(targets.MovieFile, movie, files);
  });
}
