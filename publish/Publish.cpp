#include "publish/Publish.h"

#include "publish/FittedCopies.h"
#include "publish/WebFolderPlace.h"

namespace {

void WriteFittedMovie(const MovieJob& job, PictureSize box, const std::string& file) {
  const StopSignalsHeld held;
  const ProgressPanelShown panel(job.Reporter);
  const FittedCopies copies(job.Pictures, box, job.Reporter);
  const MovieJob fitted{
      copies.Pictures(), copies.Size().Width, copies.Size().Height, job.Stream, job.Converter, job.Reporter, job.Files};
  BuildMovie(fitted, [&](std::span<const std::uint8_t> movie) { ReplaceFileContent(file, movie, job.Files); });
}

}  // namespace

std::optional<WebFolderSummary> PublishMovie(const MovieJob& job, const PublishTargets& targets) {
  CheckMovieInputs(job.Pictures, job.Width, job.Height);
  if (!targets.MovieFile.empty()) CheckTargetIsNoPicture(job.Pictures, targets.MovieFile);
  std::optional<WebFolderTarget> web = targets.Web;
  if (web) {
    if (!targets.MovieFile.empty() && WebFolderPlace(web->Folder) == WebFolderPlace(targets.MovieFile)) {
      throw SameTargetError(targets.MovieFile);
    }
    web->FolderFound = CheckWebFolderTarget(*web, job.Pictures);
  }
  const bool movieFile = !targets.MovieFile.empty();
  const bool fitted = movieFile && targets.Fit && (job.Width > targets.Fit->Width || job.Height > targets.Fit->Height);
  const bool originals = targets.Web && targets.Web->Originals;

  std::optional<WebFolderSummary> summary;
  if (targets.Web && !originals) summary = WriteScaledWebFolder(*web, job);
  // A web folder of the originals holds the very movie the file gets,
  // unless that one is fitted.
  const bool shared = originals && movieFile && !fitted;
  if (originals) {
    BuildMovie(job, [&](std::span<const std::uint8_t> movie) {
      summary = WriteWebFolder(*web, movie, job.Width, job.Height, job.Files);
      if (shared) ReplaceFileContent(targets.MovieFile, movie, job.Files);
    });
  }
  if (!movieFile || shared) return summary;
  if (fitted) {
    WriteFittedMovie(job, *targets.Fit, targets.MovieFile);
  } else {
    WriteMovie(job, targets.MovieFile);
  }
  return summary;
}
