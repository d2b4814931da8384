#include "publish/WebFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "common/InputFile.h"
#include "movie/SwfTags.h"
#include "movie/Tags.h"
#include "publish/HintPicture.h"
#include "publish/HtmlText.h"
#include "publish/PageFiles.h"
#include "publish/PlayerFolder.h"
#include "publish/ScaledSeries.h"
#include "publish/StagedFolder.h"
#include "publish/WebFolderPlace.h"

namespace fs = std::filesystem;

namespace {

// True when path lies inside folder (both absolute and resolved).
bool Holds(const fs::path& folder, const std::string& path) {
  std::error_code error;
  const fs::path resolved = fs::weakly_canonical(fs::absolute(path), error);
  if (error) return false;
  return std::mismatch(folder.begin(), folder.end(), resolved.begin(), resolved.end()).first == folder.end();
}

// The JPEG files inside the movie, in its order: the bodies of its
// DefineBitsJPEG2 tags after their 2-byte ids.
std::vector<std::span<const std::uint8_t>> MoviePictures(std::span<const std::uint8_t> movie) {
  std::vector<std::span<const std::uint8_t>> pictures;
  for (const SwfTag& tag : ReadSwfTags(movie)) {
    if (tag.Code == tags::kDefineBitsJPEG2) pictures.push_back(tag.Body.subspan(2));
  }
  return pictures;
}

using PageValues = std::vector<std::pair<std::string, std::string>>;

// A page file with each "{{KEY}}" replaced by its value in one pass, so that
// a value (a title, say) that holds a mark is never filled in itself.
std::string Filled(std::string_view name, const PageValues& values) {
  const std::string_view page = PageFile(name);
  std::string text;
  std::size_t from = 0;
  for (std::size_t at = page.find("{{"); at != std::string_view::npos; at = page.find("{{", from)) {
    text += page.substr(from, at - from);
    const std::size_t end = page.find("}}", at);
    const auto value = std::find_if(values.begin(), values.end(), [&](const auto& v) {
      return end != std::string_view::npos && page.substr(at + 2, end - at - 2) == v.first;
    });
    if (value == values.end()) {
      text += "{{";
      from = at + 2;
    } else {
      text += value->second;
      from = end + 2;
    }
  }
  text += page.substr(from);
  return text;
}

// The digits of the pictures' names: as many as the count has, at least three.
std::size_t PictureDigits(std::size_t count) { return std::max<std::size_t>(3, std::to_string(count).size()); }

std::span<const std::uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// A new folder with the permissions of any new folder.
void MakeFolder(const fs::path& folder) {
  if (::mkdir(folder.c_str(), 0777) != 0) throw FolderCreateError(folder.string(), errno);
}

using FileWriter = std::function<void(const fs::path& name, std::span<const std::uint8_t> bytes)>;

// Copies the player's files into the folder ruffle, source maps left out.
void CopyPlayer(const std::string& from, const fs::path& root, const FileWriter& write) {
  MakeFolder(root / "ruffle");
  std::error_code error;
  fs::directory_iterator entries(from, error);
  if (error) throw FolderOpenError(from, error.value());
  for (const fs::directory_entry& entry : entries) {
    const fs::path name = entry.path().filename();
    if (name.extension() == ".map" || entry.is_directory(error)) continue;
    write(fs::path("ruffle") / name, InputFile::ReadAll(entry.path().string()));
  }
}

// A folder at place may be replaced when it is empty, or a web folder and
// the user said so.
void CheckReplaceable(const WebFolderTarget& target, const fs::path& place) {
  CheckFolderMayBeReplaced(target.Folder, place);
  if (FolderHasContent(place.string()) && !target.Replace) throw FolderNotEmptyError(target.Folder);
}

}  // namespace

bool FolderHasContent(const std::string& folder) {
  std::error_code error;
  return fs::is_directory(folder, error) && !fs::is_empty(folder, error);
}

std::string WebPictureName(std::size_t i, std::size_t count) {
  const std::size_t digits = PictureDigits(count);
  const std::string number = std::to_string(i + 1);
  return std::string(digits - std::min(digits, number.size()), '0') + number + ".jpg";
}

bool CheckWebFolderTarget(const WebFolderTarget& target, const PictureList& pictures) {
  const fs::path place = WebFolderPlace(target.Folder);
  std::error_code error;
  const fs::file_status status = fs::status(place, error);
  if (fs::exists(status) && !fs::is_directory(status)) throw FolderCreateError(target.Folder, ENOTDIR);
  // The new folder is made beside its place: say at once when it cannot be,
  // rather than after reading every picture.
  if (::access(place.parent_path().c_str(), W_OK | X_OK) != 0) throw FolderCreateError(target.Folder, errno);
  CheckNeverReplaced(target.Folder, place);
  if (FolderHasContent(place.string())) {
    for (const PictureEntry& entry : pictures.Entries()) {
      if (Holds(place, entry.Path)) {
        throw FolderNeverReplacedError(target.Folder, "holds the picture \"" + entry.Path + "\"");
      }
    }
    if (Holds(place, target.PlayerFolder)) {
      throw FolderNeverReplacedError(target.Folder, "holds the SWF player");
    }
  }
  CheckReplaceable(target, place);
  if (!fs::is_regular_file(fs::path(target.PlayerFolder) / kPlayerStartScript, error)) {
    throw PlayerMissingError(target.PlayerFolder);
  }
  return fs::is_directory(place, error);
}

namespace {

// Writes each file into the staged folder and counts the bytes.
class FolderWriter {
 public:
  FolderWriter(const WebFolderTarget& target, fs::path root, FileSystem& files)
      : target_(target), root_(std::move(root)), files_(files) {}
  void operator()(const fs::path& name, std::span<const std::uint8_t> bytes) {
    if (StopSignalPending()) throw StoppedError("web folder \"" + target_.Folder + "\"");
    WriteNewFile((root_ / name).string(), bytes, files_);
    bytes_ += bytes.size();
  }
  const fs::path& Root() const { return root_; }
  std::uint64_t Bytes() const { return bytes_; }

 private:
  const WebFolderTarget& target_;
  fs::path root_;
  FileSystem& files_;
  std::uint64_t bytes_ = 0;
};

// The pictures of one width: the first one's bytes and all of theirs.
struct WidthBytes {
  std::uint64_t First = 0;
  std::uint64_t All = 0;
  void Add(std::size_t i, std::size_t bytes) {
    if (i == 0) First = bytes;
    All += bytes;
  }
};

std::string Joined(const std::vector<std::string>& parts, const char* separator) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : separator) + part;
  return text;
}

// Everything but the pictures and the movie, then the move into place.
void FinishFolder(const WebFolderTarget& target, FolderWriter& write, const PageValues& values) {
  write("index.html", AsBytes(Filled("index.html", values)));
  write("movie.html", AsBytes(Filled("movie.html", values)));
  write("turn.js", AsBytes(PageFile("turn.js")));
  write("turn.css", AsBytes(PageFile("turn.css")));
  write("hint.png", HintPng());
  write(".htaccess", AsBytes(PageFile("htaccess")));
  write("README.txt", AsBytes(PageFile("README.txt")));
  write(kWebFolderStampName, AsBytes(WebFolderStamp()));
  CopyPlayer(target.PlayerFolder, write.Root(), std::ref(write));
}

// The page's values that do not depend on which pictures the folder holds.
PageValues CommonValues(const fs::path& place, const WebFolderTarget& target, std::size_t count) {
  return {
      {"TITLE", orbilux::HtmlEscaped(place.filename().string())},
      {"COUNT", std::to_string(count)},
      {"DIGITS", std::to_string(PictureDigits(count))},
      {"AUTOPLAY", target.Autoplay},
  };
}

WebFolderSummary::Download DownloadOf(std::int32_t width, const WidthBytes& bytes) {
  return {width, bytes.First, bytes.All};
}

std::string Megabytes(std::uint64_t bytes) {
  char text[32];
  if (bytes < 1000 * 1000) {
    std::snprintf(text, sizeof text, "%.0f kB", static_cast<double>(bytes) / 1000);
  } else {
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1000 * 1000));
  }
  return text;
}

}  // namespace

std::string WebFolderSummaryText(const WebFolderSummary& summary) {
  const auto& phone = summary.Phone;
  const auto& desktop = summary.Desktop;
  return "Wrote the web folder \"" + summary.Folder + "\": " + Megabytes(summary.Bytes) + ". A visitor downloads " +
         Megabytes(phone.First) + " for the first picture and " + Megabytes(phone.Spin) +
         " for the whole spin on a phone (pictures " + std::to_string(phone.Width) + " wide), " +
         Megabytes(desktop.First) + " and " + Megabytes(desktop.Spin) + " on a desktop (" +
         std::to_string(desktop.Width) + " wide).";
}

WebFolderSummary WriteWebFolder(const WebFolderTarget& target, std::span<const std::uint8_t> movie, std::int32_t width,
                                std::int32_t height, FileSystem& files) {
  const fs::path place = WebFolderPlace(target.Folder);
  // Ctrl-C and the like wait while the folder is written: one that comes
  // stops the writing at the next file, and the unfinished folder is gone
  // before the signal acts.
  const StopSignalsHeld held;
  StagedFolder staged(place.string());
  FolderWriter write(target, staged.Path(), files);

  const std::vector<std::span<const std::uint8_t>> pictures = MoviePictures(movie);
  MakeFolder(write.Root() / "pictures");
  MakeFolder(write.Root() / "pictures" / "original");
  WidthBytes originals;
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    write(fs::path("pictures") / "original" / WebPictureName(i, pictures.size()), pictures[i]);
    originals.Add(i, pictures[i].size());
  }
  write("movie.swf", movie);

  PageValues values = CommonValues(place, target, pictures.size());
  values.insert(values.end(), {
                                  {"WIDTH", std::to_string(width)},
                                  {"HEIGHT", std::to_string(height)},
                                  {"WIDTHS", ""},
                                  {"ORIGINAL", "original"},
                                  {"FIRST", "pictures/original/" + WebPictureName(0, pictures.size())},
                                  {"FIRST_SRCSET", ""},
                                  {"MOVIE_WIDTH", std::to_string(width)},
                                  {"MOVIE_HEIGHT", std::to_string(height)},
                              });
  FinishFolder(target, write, values);
  staged.Commit(target.FolderFound, [&] { CheckReplaceable(target, place); });
  return {target.Folder, write.Bytes(), DownloadOf(width, originals), DownloadOf(width, originals)};
}

WebFolderSummary WriteScaledWebFolder(const WebFolderTarget& target, const MovieJob& job) {
  const fs::path place = WebFolderPlace(target.Folder);
  const StopSignalsHeld held;
  StagedFolder staged(place.string());
  FolderWriter write(target, staged.Path(), job.Files);

  std::vector<std::string> paths;
  for (const PictureEntry& entry : job.Pictures.Entries()) paths.push_back(entry.Path);
  const std::size_t count = paths.size();
  const PictureSize upright = UprightSize(InputFile::ReadAll(paths[0]), paths[0]);
  const std::vector<std::int32_t> widths = WebWidths(target.Widths, upright.Width);
  const PictureSize movieSize = SizeAtWidth(upright, widths.back());

  MakeFolder(write.Root() / "pictures");
  std::vector<std::string> widthNames;
  for (const std::int32_t w : widths) {
    widthNames.push_back(std::to_string(w));
    MakeFolder(write.Root() / "pictures" / widthNames.back());
  }
  if (target.ZoomOriginals) MakeFolder(write.Root() / "pictures" / "original");
  // The movie's pictures, baseline JPEGs at the largest width, until the
  // movie is made of them.
  const fs::path movieCopies = write.Root() / ".movie-pictures";
  MakeFolder(movieCopies);

  const ProgressPanelShown panel(job.Reporter);
  job.Reporter.SetProgressMaximum(static_cast<int>(count) - 1);
  std::vector<WidthBytes> bytes(widths.size());
  PictureList copies;
  const TargetsFor targets = [&](PictureSize size) {
    std::vector<ScaleTarget> list;
    for (const std::int32_t w : widths) list.push_back({SizeAtWidth(size, std::min(w, size.Width))});
    list.push_back({SizeAtWidth(size, std::min(widths.back(), size.Width)), JpegLayout::Baseline});
    return list;
  };
  ScaleSeries(paths, targets, [&](std::size_t i, std::vector<std::vector<std::uint8_t>>& scaled) {
    job.Reporter.SetProgressPosition(static_cast<int>(i));
    const std::string name = WebPictureName(i, count);
    for (std::size_t k = 0; k < widths.size(); ++k) {
      write(fs::path("pictures") / widthNames[k] / name, scaled[k]);
      bytes[k].Add(i, scaled[k].size());
    }
    const fs::path copy = movieCopies / name;
    WriteNewFile(copy.string(), scaled.back(), job.Files);
    copies.AddPicture(copy.string());
    if (target.ZoomOriginals) {
      write(fs::path("pictures") / "original" / name, InputFile::ReadAll(paths[i]));
    }
  });

  SilentReporter silent;
  AssembleMovie(copies, movieSize.Width, movieSize.Height, job.Stream, job.Converter, silent);
  write("movie.swf", job.Stream.Bytes());
  fs::remove_all(movieCopies);

  const std::int32_t middle = MiddleWidth(widths);
  const std::string first = WebPictureName(0, count);
  std::vector<std::string> srcset;
  for (const std::string& w : widthNames) srcset.push_back("pictures/" + w + "/" + first + " " + w + "w");
  PageValues values = CommonValues(place, target, count);
  values.insert(values.end(), {
                                  {"WIDTH", std::to_string(upright.Width)},
                                  {"HEIGHT", std::to_string(upright.Height)},
                                  {"WIDTHS", Joined(widthNames, " ")},
                                  {"ORIGINAL", target.ZoomOriginals ? "original" : ""},
                                  {"FIRST", "pictures/" + std::to_string(middle) + "/" + first},
                                  {"FIRST_SRCSET", Joined(srcset, ", ")},
                                  {"MOVIE_WIDTH", std::to_string(movieSize.Width)},
                                  {"MOVIE_HEIGHT", std::to_string(movieSize.Height)},
                              });
  FinishFolder(target, write, values);
  staged.Commit(target.FolderFound, [&] { CheckReplaceable(target, place); });
  job.Reporter.SetStatusText(kBuildDoneText);

  const auto download = [&](std::int32_t width) {
    const auto k = static_cast<std::size_t>(std::find(widths.begin(), widths.end(), width) - widths.begin());
    return DownloadOf(width, bytes[k]);
  };
  return {target.Folder, write.Bytes(), download(PhoneWidth(widths)),
          download(DesktopWidth(widths, upright.Width, upright.Height))};
}
