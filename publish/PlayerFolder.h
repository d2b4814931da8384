#pragma once
// Where the bundled SWF player (a JavaScript and WebAssembly one) lies, for
// the window's preview and for the web folders the builder writes. The build
// tree keeps it in a folder "ruffle" beside the programs; an installation
// keeps it under share/orbilux-rezoziv/ruffle beside the bin folder, so that
// any installation prefix works.

#include <string>
#include <vector>

// The file whose presence says the player is there.
inline constexpr const char* kPlayerStartScript = "ruffle.js";

// The folders looked in, in order, for a program in programFolder.
std::vector<std::string> PlayerFolderCandidates(const std::string& programFolder);

// The first candidate that holds the player's start script; when none does,
// the last candidate (the installed place), for a message that says where the
// player was looked for.
std::string FindPlayerFolder(const std::string& programFolder);

// The folder of the running program, from /proc/self/exe.
std::string RunningProgramFolder();
