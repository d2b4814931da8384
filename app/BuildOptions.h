#pragma once
// The command line of orbilux-build: -o OUT.swf and the pictures in order,
// given one by one or as whole folders.

#include <stdexcept>
#include <string>
#include <vector>

// One picture file, or a folder whose pictures the whole-folder scan finds.
struct PictureSource {
  enum class Kind { File, Folder };
  Kind Type = Kind::File;
  std::string Path;
  friend bool operator==(const PictureSource&, const PictureSource&) = default;
};

struct BuildOptions {
  bool Help = false;
  std::string Output;
  std::vector<PictureSource> Pictures;  // in the order given
};

// A command line that cannot be run; its message says what is wrong.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the arguments after the program's name. Throws UsageError.
BuildOptions ParseBuildOptions(const std::vector<std::string>& args);

// The text --help prints.
std::string BuildUsage();
