#include "publish/Publish.h"

#include "publish/FittedCopies.h"
#include "publish/WebFolderPlace.h"

namespace {

void WriteFittedMovie(const PictureList& pictures, PictureSize box, const std::string& file, MovieStream& stream,
                      const TConversion& converter, BuildReporter& reporter, FileSystem& files) {
  const StopSignalsHeld held;
  const ProgressPanelShown panel(reporter);
  const FittedCopies copies(pictures, box, reporter);
  BuildMovie(copies.Pictures(), copies.Size().Width, copies.Size().Height, stream, converter, reporter,
             [&](std::span<const std::uint8_t> movie) { ReplaceFileContent(file, movie, files); });
}

}  // namespace

std::optional<WebFolderSummary> PublishMovie(const PictureList& pictures, std::int32_t width, std::int32_t height,
                                             const PublishTargets& targets, MovieStream& stream,
                                             const TConversion& converter, BuildReporter& reporter,
                                             FileSystem& files) {
  CheckMovieInputs(pictures, width, height);
  if (!targets.MovieFile.empty()) CheckTargetIsNoPicture(pictures, targets.MovieFile);
  std::optional<WebFolderTarget> web = targets.Web;
  if (web) {
    if (!targets.MovieFile.empty() && WebFolderPlace(web->Folder) == WebFolderPlace(targets.MovieFile)) {
      throw SameTargetError(targets.MovieFile);
    }
    web->FolderFound = CheckWebFolderTarget(*web, pictures);
  }
  const bool movieFile = !targets.MovieFile.empty();
  const bool fitted = movieFile && targets.Fit && (width > targets.Fit->Width || height > targets.Fit->Height);
  const bool originals = targets.Web && targets.Web->Originals;

  std::optional<WebFolderSummary> summary;
  if (targets.Web && !originals) {
    summary = WriteScaledWebFolder(*web, pictures, stream, converter, reporter, files);
  }
  // A web folder of the originals holds the very movie the file gets,
  // unless that one is fitted.
  const bool shared = originals && movieFile && !fitted;
  if (originals) {
    BuildMovie(pictures, width, height, stream, converter, reporter, [&](std::span<const std::uint8_t> movie) {
      summary = WriteWebFolder(*web, movie, width, height, files);
      if (shared) ReplaceFileContent(targets.MovieFile, movie, files);
    });
  }
  if (!movieFile || shared) return summary;
  if (fitted) {
    WriteFittedMovie(pictures, *targets.Fit, targets.MovieFile, stream, converter, reporter, files);
  } else {
    WriteMovie(pictures, width, height, targets.MovieFile, stream, converter, reporter, files);
  }
  return summary;
}
