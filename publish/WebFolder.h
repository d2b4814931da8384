#pragma once
// The web folder: everything a web site needs to let visitors turn the
// object. pictures/ holds the pictures in list order, byte for byte, named
// 001.jpg, 002.jpg, ...; index.html with turn.js, turn.css and hint.png
// turns them in any browser, also opened from the disk; movie.swf is the
// movie, which movie.html plays in the bundled SWF player (ruffle/, with its
// licences) from a web server; .htaccess gives that server the WebAssembly
// type and README.txt says how to publish the folder.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "collection/Errors.h"
#include "collection/PictureList.h"
#include "movie/FileReplace.h"

struct WebFolderTarget {
  std::string Folder;        // as the user named it
  bool Replace = false;      // replace a web folder there (one with the stamp)
  std::string PlayerFolder;  // the bundled SWF player's files
  // Whether a folder stood in the place when CheckWebFolderTarget looked:
  // when none did, whatever is made there while the folder is written is kept.
  bool FolderFound = false;
};

// A folder that would be replaced without being asked to:
// "The folder "%s" is not empty."
class FolderNotEmptyError : public AppError {
 public:
  explicit FolderNotEmptyError(const std::string& folder);
};

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

// Writes the folder for an assembled movie of width x height pixels; its
// pictures are the movie's own JPEG bytes. The folder is written beside its
// place and moved there whole: on any failure nothing is left behind and a
// folder that was there stays as it was. Just before the move, the folder
// in the place is checked again as CheckWebFolderTarget did.
void WriteWebFolder(const WebFolderTarget& target, std::span<const std::uint8_t> movie, std::int32_t width,
                    std::int32_t height, FileSystem& files = SystemFileSystem());
