// Lists of picture paths and the order of pictures named on the command line.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/PictureSources.h"

namespace {

using namespace std::string_literals;
using Paths = std::vector<std::string>;

TEST(PictureSources, ListsGiveOnePathALineOrOneBeforeEachNul) {
  const struct {
    std::string bytes;
    bool nullSeparated;
    Paths expected;
  } rows[] = {
      {"a.jpg\nb.jpg\n", false, {"a.jpg", "b.jpg"}},
      // A list written on Windows, a name with a space, no last line feed.
      {"a.jpg\r\nb c.jpg", false, {"a.jpg", "b c.jpg"}},
      {"\n\na.jpg\n\n", false, {"a.jpg"}},
      {"", false, {}},
      // find -print0: any byte but NUL belongs to the name.
      {"a\nb.jpg\0c.jpg\r\0\0"s, true, {"a\nb.jpg", "c.jpg\r"}},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(ParsePictureList(r.bytes, "\"l\"", r.nullSeparated), r.expected) << r.bytes;
  }
  EXPECT_THROW(
      {
        try {
          ParsePictureList("a.jpg\0b.jpg\0"s, "\"l\"", false);
        } catch (const ListFileError& e) {
          EXPECT_STREQ(e.what(), "The list \"l\" holds NUL bytes: give --null for a list that find -print0 wrote.");
          throw;
        }
      },
      ListFileError);
}

TEST(PictureSources, NamesTheFirstPairOfArgumentsOutOfNaturalOrder) {
  const auto file = [](const char* p) { return PictureSource{PictureSource::Kind::File, p}; };
  const PictureSource folder{PictureSource::Kind::Folder, "dir"};
  const struct {
    std::vector<PictureSource> sources;
    std::optional<std::pair<std::string, std::string>> expected;
  } rows[] = {
      {{file("v1.jpg"), file("v2.jpg"), file("v10.jpg")}, std::nullopt},
      // What a shell's * gives.
      {{file("v1.jpg"), file("v10.jpg"), file("v2.jpg")}, std::make_pair("v10.jpg"s, "v2.jpg"s)},
      {{file("B.jpg"), file("a.jpg")}, std::make_pair("B.jpg"s, "a.jpg"s)},
      // An order no sort gives is the user's own.
      {{file("good.jpg"), file("cut.jpg")}, std::nullopt},
      // Around a folder the user chose the order.
      {{file("v10.jpg"), folder, file("v2.jpg")}, std::nullopt},
  };
  for (const auto& r : rows) EXPECT_EQ(FirstPairOutOfOrder(r.sources), r.expected);
}

}  // namespace
