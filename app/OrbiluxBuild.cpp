// orbilux-build: builds a movie from JPEG files or whole folders named on the
// command line, for batch use. It checks and writes exactly as the window's
// Build command does, with the same core calls, so both write the same bytes.

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/BuildOptions.h"
#include "app/ConsoleReporter.h"
#include "collection/Errors.h"
#include "collection/FolderScan.h"
#include "collection/PictureList.h"
#include "collection/PictureReview.h"
#include "movie/FileReplace.h"
#include "movie/JZZH.h"
#include "movie/MovieStream.h"
#include "publish/PlayerFolder.h"
#include "publish/Publish.h"

namespace {

constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

// The message as lines: the window's two-line texts are joined by a
// carriage return.
void PrintError(const std::string& message) {
  std::string text = message;
  std::replace(text.begin(), text.end(), '\r', '\n');
  std::fprintf(stderr, "orbilux-build: %s\n", text.c_str());
}

PictureList CollectPictures(const std::vector<PictureSource>& sources) {
  // The scan leaves the folder it scanned current; coming back keeps later
  // relative names and the output meaning what the user typed.
  const SavedFolder start(".");
  PictureList pictures;
  for (const PictureSource& source : sources) {
    if (source.Type == PictureSource::Kind::File) {
      pictures.AddPicture(source.Path);
      continue;
    }
    const std::vector<std::string> found = ScanFolder(source.Path);
    start.Return();
    for (const std::string& path : found) pictures.AddPicture(path);
  }
  return pictures;
}

// Every picture refused, each on its line, then the window's two lines.
void PrintRefusal(const PictureMismatchError& refusal, ConsoleReporter& reporter) {
  for (const PictureNote& warning : refusal.Warnings()) reporter.Warn(warning.Text());
  for (const PictureNote& refused : refusal.Refusals()) PrintError(refused.Text());
  PrintError(refusal.what());
}

void Build(const BuildOptions& options, ConsoleReporter& reporter) {
  const PictureList pictures = CollectPictures(options.Pictures);
  // A folder without pictures leaves nothing to build.
  if (pictures.Count() == 0) throw NoPicturesError();
  // The movie takes the first picture's size, as the window's strip sets it.
  const PictureReview review = CheckPicturesForMovie(pictures, options.Strict);
  for (const PictureNote& warning : review.Warnings) reporter.Warn(warning.Text());

  MovieStream stream;
  const TConversion converter;
  PublishTargets targets{options.Output, std::nullopt};
  if (!options.WebFolder.empty()) {
    targets.Web = WebFolderTarget{options.WebFolder, options.Force, FindPlayerFolder(RunningProgramFolder())};
  }
  try {
    PublishMovie(pictures, review.MovieSize.Width, review.MovieSize.Height, targets, stream, converter, reporter);
  } catch (const FolderNotEmptyError& refusal) {
    throw AppError(std::string(refusal.what()) + " Give --force to replace it.");
  }
}

}  // namespace

int main(int argc, char** argv) {
  // A closed pipe on standard error only loses the progress; the exit status
  // still says whether the movie was written.
  std::signal(SIGPIPE, SIG_IGN);
  RemovePartialFilesOnSignals();
  BuildOptions options;
  try {
    options = ParseBuildOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const UsageError& e) {
    std::fprintf(stderr, "orbilux-build: %s\nTry 'orbilux-build --help'.\n", e.what());
    return kExitUsage;
  }
  if (options.Help) {
    std::fputs(BuildUsage().c_str(), stdout);
    return 0;
  }
  ConsoleReporter reporter(stderr, ::isatty(STDERR_FILENO) == 1);
  try {
    Build(options, reporter);
  } catch (const PictureMismatchError& refusal) {
    PrintRefusal(refusal, reporter);
    return kExitRefused;
  } catch (const std::exception& e) {
    PrintError(e.what());
    return kExitRefused;
  }
  return 0;
}
