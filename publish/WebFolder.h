#pragma once
// The web folder: everything a web site needs to let visitors turn the
// object. pictures/W/ holds the pictures in list order scaled to each web
// width W, named 001.jpg, 002.jpg, ...; pictures/original/ the pictures byte
// for byte, when asked for (for zoom, or instead of the widths); index.html
// with turn.js, turn.css and hint.png turns them in any browser, also opened
// from the disk; movie.swf is the movie, made from the largest width (or the
// originals), which movie.html plays in the bundled SWF player (ruffle/, with
// its licences) from a web server; .htaccess gives that server the
// WebAssembly type and README.txt says how to publish the folder.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "collection/PictureList.h"
#include "common/Errors.h"
#include "common/FileReplace.h"
#include "movie/MovieWriter.h"
#include "publish/WebWidths.h"

struct WebFolderTarget {
  std::string Folder;        // as the user named it
  bool Replace = false;      // replace a web folder there (one with the stamp)
  std::string PlayerFolder;  // the bundled SWF player's files
  std::vector<std::int32_t> Widths{std::begin(kDefaultWebWidths), std::end(kDefaultWebWidths)};
  bool Originals = false;         // the pictures byte for byte instead of the widths
  bool ZoomOriginals = false;     // the pictures byte for byte beside the widths, for zoom
  std::string Autoplay = "once";  // once, loop or off: how the page turns by itself
  // Whether a folder stood in the place when CheckWebFolderTarget looked:
  // when none did, whatever is made there while the folder is written is kept.
  bool FolderFound = false;
};

// What a written web folder holds and what a visitor downloads of it.
struct WebFolderSummary {
  struct Download {
    std::int32_t Width = 0;   // of the pictures fetched
    std::uint64_t First = 0;  // bytes of the first picture
    std::uint64_t Spin = 0;   // bytes of all the pictures
  };
  std::string Folder;       // as the user named it
  std::uint64_t Bytes = 0;  // of every file in it
  Download Phone;           // 390 CSS pixels wide, pixel ratio 3
  Download Desktop;         // a 1366 x 768 window
};

// "Wrote the web folder "site": 9.8 MB. A visitor downloads ..." in one line.
std::string WebFolderSummaryText(const WebFolderSummary& summary);

// True when folder is a folder with something in it, which writing the web
// folder there replaces.
bool FolderHasContent(const std::string& folder);

// Picture i's name in pictures/: i + 1 with as many digits as count needs,
// at least three ("001.jpg").
std::string WebPictureName(std::size_t i, std::size_t count);

// The refusals made before anything is read or written: a file in the
// folder's place, or a parent folder that is missing or closed to writing
// (FolderCreateError); a folder there that is never replaced, or not empty
// without the stamp (publish/WebFolderPlace.h); a web folder there, unless
// Replace (FolderNotEmptyError); a folder to replace that holds one of the
// pictures or the player itself; a player folder without the player.
// Returns whether a folder stands in the place (for FolderFound).
bool CheckWebFolderTarget(const WebFolderTarget& target, const PictureList& pictures);

// Writes the folder of the pictures byte for byte for an assembled movie
// of width x height pixels; its pictures are the movie's own JPEG bytes.
// The folder is written beside its place and moved there whole: on any
// failure nothing is left behind and a folder that was there stays as it
// was. Just before the move, the folder in the place is checked again as
// CheckWebFolderTarget did.
WebFolderSummary WriteWebFolder(const WebFolderTarget& target, std::span<const std::uint8_t> movie, std::int32_t width,
                                std::int32_t height, FileSystem& files = SystemFileSystem());

// Writes the folder of the job's pictures scaled to the web widths, its
// movie assembled in the job's stream from copies at the largest width,
// with the progress and status text of a build. Written whole or not at
// all, as above.
WebFolderSummary WriteScaledWebFolder(const WebFolderTarget& target, const MovieJob& job);
