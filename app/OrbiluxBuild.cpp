// orbilux-build: builds a movie from JPEG files or whole folders named on the
// command line, for batch use. It checks and writes exactly as the window's
// Build command does, with the same core calls, so both write the same bytes.

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "app/BuildOptions.h"
#include "app/ConsoleReporter.h"
#include "app/PictureSources.h"
#include "collection/FolderScan.h"
#include "collection/PictureList.h"
#include "collection/PictureReview.h"
#include "common/Errors.h"
#include "common/FileReplace.h"
#include "generated/BuildInfo.h"
#include "movie/JZZH.h"
#include "movie/MovieStream.h"
#include "publish/PlayerFolder.h"
#include "publish/Publish.h"
#include "publish/StagedFolder.h"
#include "publish/WebFolderPlace.h"

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

PictureList CollectPictures(const BuildOptions& options) {
  // The scan leaves the folder it scanned current; coming back keeps later
  // relative names and the output meaning what the user typed.
  const SavedFolder start(".");
  std::vector<std::string> paths;
  for (const PictureSource& source : options.Pictures) {
    if (source.Type == PictureSource::Kind::File) {
      paths.push_back(source.Path);
      continue;
    }
    if (source.Type == PictureSource::Kind::ListFile) {
      const std::vector<std::string> listed = ReadPictureList(source.Path, options.NullSeparated);
      paths.insert(paths.end(), listed.begin(), listed.end());
      continue;
    }
    const std::vector<std::string> found = ScanFolder(source.Path);
    start.Return();
    paths.insert(paths.end(), found.begin(), found.end());
  }
  ArrangePictures(paths, options.Sort, options.Reverse);
  PictureList pictures;
  for (const std::string& path : paths) pictures.AddPicture(path);
  return pictures;
}

// Every warned picture on its line when verbose, else one line per kind of
// warning.
void PrintWarnings(const std::vector<PictureNote>& warnings, Verbosity level, ConsoleReporter& reporter) {
  if (level == Verbosity::Verbose) {
    for (const PictureNote& warning : warnings) reporter.Warn(warning.Text());
    return;
  }
  for (const std::string& line : WarningLines(warnings)) reporter.Warn(line);
}

// Every picture refused, each on its line, then the window's two lines.
void PrintRefusal(const PictureMismatchError& refusal, Verbosity level, ConsoleReporter& reporter) {
  PrintWarnings(refusal.Warnings(), level, reporter);
  for (const PictureNote& refused : refusal.Refusals()) PrintError(refused.Text());
  PrintError(refusal.what());
}

// What runs that were killed left beside the targets goes, each said in a line.
void RemoveLeftovers(const BuildOptions& options, ConsoleReporter& reporter) {
  std::vector<std::string> removed;
  if (!options.Output.empty()) removed = RemoveLeftoverPartFiles(options.Output);
  if (!options.WebFolder.empty()) {
    const std::vector<std::string> folders = StagedFolder::RemoveLeftovers(WebFolderPlace(options.WebFolder));
    removed.insert(removed.end(), folders.begin(), folders.end());
  }
  for (const std::string& path : removed) reporter.Warn("removed \"" + path + "\", left by a run that was stopped");
}

void Build(const BuildOptions& options, ConsoleReporter& reporter) {
  if (!options.Sort) {
    if (const auto pair = FirstPairOutOfOrder(options.Pictures)) reporter.Warn(OrderWarning(*pair));
  }
  const PictureList pictures = CollectPictures(options);
  // A folder without pictures leaves nothing to build.
  if (pictures.Count() == 0) throw NoPicturesError();
  // The movie takes the first picture's size, as the window's strip sets it.
  const PictureReview review =
      CheckPicturesForMovie(pictures, options.Strict, options.Verify ? PictureCheck::Decode : PictureCheck::Structure);
  PrintWarnings(review.Warnings, options.Level, reporter);

  RemoveLeftovers(options, reporter);
  MovieStream stream;
  const TConversion converter;
  PublishTargets targets{options.Output, std::nullopt, std::nullopt};
  if (!options.WebFolder.empty()) {
    WebFolderTarget web{options.WebFolder, options.Force, FindPlayerFolder(RunningProgramFolder())};
    if (!options.WebWidths.empty()) web.Widths = options.WebWidths;
    web.Originals = options.WebOriginals;
    web.ZoomOriginals = options.WebZoomOriginals;
    web.Autoplay = options.Autoplay;
    targets.Web = web;
  }
  if (options.FitWidth > 0) targets.Fit = PictureSize{options.FitWidth, options.FitHeight};
  std::optional<WebFolderSummary> summary;
  try {
    summary =
        PublishMovie({pictures, review.MovieSize.Width, review.MovieSize.Height, stream, converter, reporter}, targets);
  } catch (const FolderNotEmptyError& refusal) {
    throw FolderNotEmptyError(refusal.Folder(), "Give --force to replace it.");
  }
  if (summary) reporter.Say(WebFolderSummaryText(*summary));
}

}  // namespace

int main(int argc, char** argv) {
  // A closed pipe on standard error only loses the progress; the exit status
  // still says whether the movie was written.
  std::signal(SIGPIPE, SIG_IGN);
  KeepStandardStreamsOpen();
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
  if (options.Version) {
    std::printf("%s\n", VersionLine("orbilux-build").c_str());
    return 0;
  }
  ConsoleReporter reporter(stderr, ::isatty(STDERR_FILENO) == 1, options.Level);
  try {
    Build(options, reporter);
  } catch (const PictureMismatchError& refusal) {
    PrintRefusal(refusal, options.Level, reporter);
    return kExitRefused;
  } catch (const std::bad_alloc&) {
    PrintError(OutOfMemoryText("building the movie"));
    return kExitRefused;
  } catch (const std::exception& e) {
    PrintError(e.what());
    return kExitRefused;
  }
  return 0;
}
