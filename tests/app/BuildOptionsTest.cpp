// The command line of orbilux-build, option by option.

#include "app/BuildOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

// The rows name only the fields that differ from the defaults; the others
// take their default member values, which this warning does not count.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

PictureSource File(const char* path) { return {PictureSource::Kind::File, path}; }
PictureSource Folder(const char* path) { return {PictureSource::Kind::Folder, path}; }
PictureSource List(const char* path) { return {PictureSource::Kind::ListFile, path}; }

// The options read, or the usage error's message.
using Parsed = std::variant<BuildOptions, std::string>;

Parsed Parse(const std::vector<std::string>& args) {
  try {
    return ParseBuildOptions(args);
  } catch (const UsageError& e) {
    return std::string(e.what());
  }
}

std::string Describe(const Parsed& parsed) {
  if (const auto* error = std::get_if<std::string>(&parsed)) return "error: " + *error;
  const auto& o = std::get<BuildOptions>(parsed);
  std::string text = "output '" + o.Output + "' web '" + o.WebFolder + "' level " +
                     std::to_string(static_cast<int>(o.Level)) + " flags";
  for (bool flag : {o.Help, o.Version, o.Force, o.Strict, o.Verify, o.NullSeparated, o.Sort, o.Reverse}) {
    text += flag ? " 1" : " 0";
  }
  for (const PictureSource& s : o.Pictures) text += " " + std::to_string(static_cast<int>(s.Type)) + ":" + s.Path;
  return text;
}

TEST(BuildOptions, ReadsEveryOptionInTheUsualForms) {
  const struct {
    std::vector<std::string> args;
    Parsed expected;
  } rows[] = {
      {{"-o", "m.swf", "a.jpg"}, BuildOptions{.Output = "m.swf", .Pictures = {File("a.jpg")}}},
      // Bundled short flags, the value joined to the flag or after "=".
      {{"-qvo", "m.swf", "a.jpg"}, "--quiet and --verbose cannot be given together"},
      {{"-qom.swf", "a.jpg"}, BuildOptions{.Output = "m.swf", .Level = Verbosity::Quiet, .Pictures = {File("a.jpg")}}},
      {{"--output=m.swf", "--verbose", "--", "-a.jpg"},
       BuildOptions{.Output = "m.swf", .Level = Verbosity::Verbose, .Pictures = {File("-a.jpg")}}},
      // Sources keep their order among the options.
      {{"a.jpg", "-f", "dir", "--from-file=list", "--null", "b.jpg", "-o", "m.swf"},
       BuildOptions{.Output = "m.swf", .NullSeparated = true,
                    .Pictures = {File("a.jpg"), Folder("dir"), List("list"), File("b.jpg")}}},
      {{"--from-file", "-", "--sort", "--reverse", "-o", "m.swf"},
       BuildOptions{.Output = "m.swf", .Sort = true, .Reverse = true, .Pictures = {List("-")}}},
      {{"--web", "site", "--force", "--strict", "--verify", "a.jpg"},
       BuildOptions{.WebFolder = "site", .Force = true, .Strict = true, .Verify = true, .Pictures = {File("a.jpg")}}},
      {{"--version"}, BuildOptions{.Version = true}},
      {{"-o", "-", "a.jpg"},
       "the movie cannot go to standard output (-o -): it replaces its file atomically"},
      {{"--null", "-o", "m.swf", "a.jpg"}, "--null applies to --from-file only"},
      {{"--force", "-o", "m.swf", "a.jpg"}, "--force applies to --web only"},
      {{"-o", "m.swf", "--from-file"}, "option --from-file needs a file name"},
      {{"-o", "m.swf", "--sort=yes", "a.jpg"}, "option --sort takes no value"},
      {{"-x", "-o", "m.swf", "a.jpg"}, "unknown option -x"},
      {{"-o", "m.swf"}, "no pictures given"},
  };
  for (const auto& r : rows) {
    std::string call;
    for (const std::string& a : r.args) call += " " + a;
    EXPECT_EQ(Describe(Parse(r.args)), Describe(r.expected)) << "orbilux-build" << call;
  }
}

}  // namespace
