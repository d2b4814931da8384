#pragma once
// The command line of orbilux-build: -o OUT.swf and the pictures in order.

#include <stdexcept>
#include <string>
#include <vector>

struct BuildOptions {
  bool Help = false;
  std::string Output;
  std::vector<std::string> Pictures;
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
