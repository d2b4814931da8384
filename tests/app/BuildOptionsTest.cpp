// The command line of orbilux-build, option by option.

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "app/BuildOptions.h"

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
  for (bool flag : {o.WebOriginals, o.WebZoomOriginals}) text += flag ? " 1" : " 0";
  text += " widths";
  for (const std::int32_t w : o.WebWidths) text += " " + std::to_string(w);
  text += " autoplay " + o.Autoplay + " fit " + std::to_string(o.FitWidth) + "x" + std::to_string(o.FitHeight);
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
       BuildOptions{.Output = "m.swf",
                    .NullSeparated = true,
                    .Pictures = {File("a.jpg"), Folder("dir"), List("list"), File("b.jpg")}}},
      {{"--from-file", "-", "--sort", "--reverse", "-o", "m.swf"},
       BuildOptions{.Output = "m.swf", .Sort = true, .Reverse = true, .Pictures = {List("-")}}},
      {{"--web", "site", "--force", "--strict", "--verify", "a.jpg"},
       BuildOptions{.WebFolder = "site", .Force = true, .Strict = true, .Verify = true, .Pictures = {File("a.jpg")}}},
      {{"--web", "site", "--web-widths=640,1280", "--web-zoom-originals", "--autoplay", "loop", "a.jpg"},
       BuildOptions{.WebFolder = "site",
                    .WebWidths = {640, 1280},
                    .WebZoomOriginals = true,
                    .Autoplay = "loop",
                    .Pictures = {File("a.jpg")}}},
      {{"-o", "m.swf", "--fit", "2880x1800", "a.jpg"},
       BuildOptions{.Output = "m.swf", .FitWidth = 2880, .FitHeight = 1800, .Pictures = {File("a.jpg")}}},
      {{"--web", "s", "--web-widths", "640,,1280", "a.jpg"},
       "--web-widths needs widths in pixels, such as 480,960,1440: '640,,1280'"},
      {{"-o", "m.swf", "--fit", "2880", "a.jpg"}, "--fit needs a size in pixels, such as 2880x2880: '2880'"},
      {{"--web", "s", "--autoplay", "always", "a.jpg"}, "--autoplay needs once, loop or off: 'always'"},
      {{"-o", "m.swf", "--web-originals", "a.jpg"}, "--web-originals applies to --web only"},
      {{"--web", "s", "--web-originals", "--web-widths", "480", "a.jpg"},
       "--web-originals keeps the pictures as they are: it takes no --web-widths or --web-zoom-originals"},
      {{"--web", "s", "--fit", "2880x2880", "a.jpg"},
       "--fit applies to the movie file (-o) only; the web folder's movie is made from its largest width"},
      {{"--version"}, BuildOptions{.Version = true}},
      {{"-o", "-", "a.jpg"}, "the movie cannot go to standard output (-o -): it replaces its file atomically"},
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
