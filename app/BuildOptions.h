#pragma once
// The command line of orbilux-build: where the movie goes (-o OUT.swf, a web
// folder, or both), the pictures in order (files, whole folders, lists of
// paths) and how the build reports and checks.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// One picture file, a folder whose pictures the whole-folder scan finds, or
// a file listing picture paths ("-" for standard input).
struct PictureSource {
  enum class Kind { File, Folder, ListFile };
  Kind Type = Kind::File;
  std::string Path;
  friend bool operator==(const PictureSource&, const PictureSource&) = default;
};

// How much the build says on standard error.
enum class Verbosity { Quiet, Normal, Verbose };

struct BuildOptions {
  bool Help = false;
  bool Version = false;
  std::string Output;                   // the movie file; empty when only a web folder is written
  std::string WebFolder;                // --web DIR; empty for none
  bool Force = false;                   // --force: replace a web folder that is not empty
  std::vector<std::int32_t> WebWidths;  // --web-widths; empty for the default widths
  bool WebOriginals = false;            // --web-originals: the pictures byte for byte, no widths
  bool WebZoomOriginals = false;        // --web-zoom-originals: the originals beside the widths
  std::string Autoplay = "once";        // --autoplay once|loop|off
  std::int32_t FitWidth = 0;            // --fit WxH: the movie from copies fitted within; 0 for none
  std::int32_t FitHeight = 0;
  bool Strict = false;  // --strict: a picture with a warning refuses the build
  bool Verify = false;  // --verify: decode every picture's data, not only walk its structure
  Verbosity Level = Verbosity::Normal;
  bool NullSeparated = false;           // --null: list files end each path with a NUL byte
  bool Sort = false;                    // --sort: the pictures in natural name order
  bool Reverse = false;                 // --reverse: the list backwards, after any sort
  std::vector<PictureSource> Pictures;  // in the order given
  friend bool operator==(const BuildOptions&, const BuildOptions&) = default;
};

// A command line that cannot be run; its message says what is wrong.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the arguments after the program's name with the C library's
// getopt_long, so bundled short flags (-qo out.swf), "--opt=value" and "--"
// work as in other tools. Throws UsageError.
BuildOptions ParseBuildOptions(const std::vector<std::string>& args);

// The text --help prints.
std::string BuildUsage();
