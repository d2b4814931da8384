#include "publish/WebFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "collection/PictureFile.h"
#include "movie/Tags.h"
#include "publish/HintPicture.h"
#include "publish/PageFiles.h"
#include "publish/PlayerFolder.h"
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

std::uint32_t ReadUint(std::span<const std::uint8_t> bytes, std::size_t at, int size) {
  if (at + static_cast<std::size_t>(size) > bytes.size()) throw std::logic_error("the movie ends inside a tag");
  std::uint32_t value = 0;
  for (int k = size - 1; k >= 0; --k) value = value << 8 | bytes[at + static_cast<std::size_t>(k)];
  return value;
}

// The JPEG files inside the movie, in its order: the bodies of its
// DefineBitsJPEG2 tags after their 2-byte ids.
std::vector<std::span<const std::uint8_t>> MoviePictures(std::span<const std::uint8_t> movie) {
  // The header: signature, version and length (8 bytes), the frame
  // rectangle (5 bits of field size, then four fields), rate and count.
  const std::size_t rectBits = 5 + 4 * std::size_t{ReadUint(movie, 8, 1) >> 3};
  std::size_t at = 8 + (rectBits + 7) / 8 + 4;
  std::vector<std::span<const std::uint8_t>> pictures;
  for (;;) {
    const std::uint32_t head = ReadUint(movie, at, 2);
    std::size_t length = head & 0x3F;
    at += 2;
    if (length == 0x3F) {
      length = ReadUint(movie, at, 4);
      at += 4;
    }
    if (at + length > movie.size()) throw std::logic_error("the movie ends inside a tag");
    const std::uint32_t code = head >> 6;
    if (code == tags::kEnd) return pictures;
    if (code == tags::kDefineBitsJPEG2) pictures.push_back(movie.subspan(at + 2, length - 2));
    at += length;
  }
}

std::string HtmlEscaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// A page file with each "{{KEY}}" replaced by its value, in one pass: a
// value that holds a mark (a folder named "{{COUNT}}") stays as it is.
std::string Filled(std::string_view name, const std::vector<std::pair<std::string, std::string>>& values) {
  const std::string_view page = PageFile(name);
  std::string text;
  std::size_t at = 0;
  for (std::size_t open = page.find("{{"); open != std::string_view::npos; open = page.find("{{", at)) {
    const std::size_t close = page.find("}}", open + 2);
    if (close == std::string_view::npos) break;
    const std::string_view key = page.substr(open + 2, close - open - 2);
    const auto value = std::find_if(values.begin(), values.end(), [&](const auto& v) { return v.first == key; });
    text += page.substr(at, open - at);
    text += value != values.end() ? std::string_view(value->second) : page.substr(open, close + 2 - open);
    at = close + 2;
  }
  text += page.substr(at);
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
    PictureFile file(entry.path().string());
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.Size()));
    file.ReadExactly(bytes);
    write(fs::path("ruffle") / name, bytes);
  }
}

// A folder at place may be replaced when it is empty, or a web folder and
// the user said so.
void CheckReplaceable(const WebFolderTarget& target, const fs::path& place) {
  CheckFolderMayBeReplaced(target.Folder, place);
  if (FolderHasContent(place.string()) && !target.Replace) throw FolderNotEmptyError(target.Folder);
}

}  // namespace

FolderNotEmptyError::FolderNotEmptyError(const std::string& folder)
    : AppError("The folder \"" + folder + "\" is not empty.") {}

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
        throw AppError("The folder \"" + target.Folder + "\" holds the picture \"" + entry.Path +
                       "\"; the web folder cannot replace it.");
      }
    }
    if (Holds(place, target.PlayerFolder)) {
      throw AppError("The folder \"" + target.Folder + "\" holds the SWF player; the web folder cannot replace it.");
    }
  }
  CheckReplaceable(target, place);
  if (!fs::is_regular_file(fs::path(target.PlayerFolder) / kPlayerStartScript, error)) {
    throw AppError("The SWF player is missing: it was looked for in \"" + target.PlayerFolder + "\".");
  }
  return fs::is_directory(place, error);
}

void WriteWebFolder(const WebFolderTarget& target, std::span<const std::uint8_t> movie, std::int32_t width,
                    std::int32_t height, FileSystem& files) {
  const fs::path place = WebFolderPlace(target.Folder);
  // Ctrl-C and the like wait while the folder is written: one that comes
  // stops the writing at the next file, and the unfinished folder is gone
  // before the signal acts.
  const StopSignalsHeld held;
  StagedFolder staged(place.string());
  const fs::path root = staged.Path();
  const FileWriter write = [&](const fs::path& name, std::span<const std::uint8_t> bytes) {
    if (StopSignalPending()) throw AppError("The web folder \"" + target.Folder + "\" was not written: stopped.");
    WriteNewFile((root / name).string(), bytes, files);
  };

  const std::vector<std::span<const std::uint8_t>> pictures = MoviePictures(movie);
  MakeFolder(root / "pictures");
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    write(fs::path("pictures") / WebPictureName(i, pictures.size()), pictures[i]);
  }
  write("movie.swf", movie);

  const std::string title = HtmlEscaped(place.filename().string());
  const std::vector<std::pair<std::string, std::string>> values = {
      {"TITLE", title},
      {"WIDTH", std::to_string(width)},
      {"HEIGHT", std::to_string(height)},
      {"COUNT", std::to_string(pictures.size())},
      {"DIGITS", std::to_string(PictureDigits(pictures.size()))},
      {"FIRST", "pictures/" + WebPictureName(0, pictures.size())},
  };
  write("index.html", AsBytes(Filled("index.html", values)));
  write("movie.html", AsBytes(Filled("movie.html", values)));
  write("turn.js", AsBytes(PageFile("turn.js")));
  write("turn.css", AsBytes(PageFile("turn.css")));
  write("hint.png", HintPng());
  write(".htaccess", AsBytes(PageFile("htaccess")));
  write("README.txt", AsBytes(PageFile("README.txt")));
  write(kWebFolderStampName, AsBytes(WebFolderStamp()));
  CopyPlayer(target.PlayerFolder, root, write);
  staged.Commit(target.FolderFound, [&] { CheckReplaceable(target, place); });
}
