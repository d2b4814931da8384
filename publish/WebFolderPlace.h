#pragma once
// Which folder a web folder may take the place of. Only an empty folder, or
// one this tool wrote, which carries its stamp: the dot file ".orbilux-web"
// naming the tool and the folder's layout. Never the root, the home folder,
// the current folder or a folder that holds one of them, and never a folder
// with a mount point in it, whatever the user says.

#include <filesystem>
#include <string>

inline constexpr const char* kWebFolderStampName = ".orbilux-web";

// The stamp's content for the layout this program writes.
std::string WebFolderStamp();

// The folder's real place: made absolute, without a trailing separator,
// through any link, so that the new folder goes where the user looks for it.
std::filesystem::path WebFolderPlace(const std::string& folder);

// True when place holds the stamp of a web folder (of any layout).
bool HoldsWebFolderStamp(const std::filesystem::path& place);

// Refuses, with an AppError naming folder (as the user wrote it) and why,
// the folder at place when it is one the web folder never replaces.
void CheckNeverReplaced(const std::string& folder, const std::filesystem::path& place);

// As CheckNeverReplaced, and refuses a folder with content but no stamp.
void CheckFolderMayBeReplaced(const std::string& folder, const std::filesystem::path& place);
