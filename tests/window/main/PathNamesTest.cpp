// Paths are bytes from the file system to the movie: names that are not
// UTF-8 are imported and built as they are.

#include "tests/window/MainWindowFixture.h"
#include "window/main/PathText.h"

namespace fs = std::filesystem;

namespace {

TEST(PathText, EveryByteSurvivesTheWayToTextAndBack) {
  const struct { const char* name; std::string bytes; } rows[] = {
      {"ASCII", "/home/ann/view1.jpg"},
      {"UTF-8 of two, three and four bytes", "/home/j\xC3\xB6rg/\xE5\xB1\x95\xE7\xA4\xBA/\xF0\x9F\x93\xB7.jpg"},
      {"a Latin-1 byte", "/tmp/caf\xE9.jpg"},
      {"every byte above 7F alone", [] {
         std::string all;
         for (int b = 0x80; b <= 0xFF; ++b) all += static_cast<char>(b);
         return all;
       }()},
      {"an overlong slash", "/a\xC0\xAF" "b"},
      {"an encoded surrogate", "/a\xED\xA0\x80" "b"},
      {"a sequence cut short at the end", "/a\xE2\x82"},
      {"past U+10FFFF", "/a\xF4\x90\x80\x80"},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(PathFromText(PathToText(r.bytes)), r.bytes) << r.name;
  }
  // Valid UTF-8 reads as its characters, as the dialogs give them.
  EXPECT_EQ(PathToText(rows[1].bytes), QString::fromUtf8(rows[1].bytes));
  EXPECT_EQ(PathFromText(QString::fromUtf8(rows[1].bytes)), rows[1].bytes);
}

// A Latin-1 name in a folder import comes into the list as it is, is
// measured and built into a movie with such a name.
TEST_F(MainWindowTest, ImportsAndBuildsNamesThatAreNotUtf8) {
  const std::string folder = (pictures.Path() / "shots").string();
  pictures.Write("shots/caf\xE9.jpg", MakeJpeg(64, 48));
  pictures.Write("shots/d\xFC" "ne.jpg", MakeJpeg(64, 48));
  dialogs.FolderChooser = [&] { form.ImportFolder = PathToText(folder); };
  form.FullFolder1->trigger();
  Settle();
  ASSERT_EQ(form.PictureList.Count(), 2);
  EXPECT_EQ(form.PictureList.At(0).Path, folder + "/caf\xE9.jpg");
  EXPECT_EQ(form.PictureList.At(1).Path, folder + "/d\xFC" "ne.jpg");
  PaintStrip();
  ASSERT_TRUE(form.Build1->isEnabled());

  const std::string movie = (pictures.Path() / "caf\xE9.swf").string();
  dialogs.SavePath = PathToText(movie);
  form.Build1->trigger();
  EXPECT_TRUE(dialogs.Messages.empty());
  EXPECT_EQ(fs::file_size(movie), form.MovieStream.Size());
}

}  // namespace
