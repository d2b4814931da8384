#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collection/PictureList.h"
#include "common/Errors.h"
#include "tests/support/TempDir.h"

namespace {

std::vector<std::string> Paths(const PictureList& list) {
  std::vector<std::string> paths;
  for (const auto& e : list.Entries()) paths.push_back(e.Path);
  return paths;
}

// The positions that carry the selection flag.
std::vector<int> Flags(const PictureList& list) {
  std::vector<int> flagged;
  for (int i = 0; i < list.Count(); ++i)
    if (list.At(i).Selected) flagged.push_back(i);
  return flagged;
}

PictureList ThreePictures() {
  PictureList list;
  for (const char* p : {"/a.jpg", "/b.jpg", "/c.jpg"}) list.AddPicture(p);
  return list;
}

TEST(PictureList, StartsEmptyWithNothingSelected) {
  PictureList list;
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.SelectedIndex(), -1);
}

TEST(PictureList, AddAppendsUnselectedEntriesAndKeepsTheSelection) {
  PictureList list = ThreePictures();
  list.SelectAt(1);
  list.AddPicture("/d.jpg");
  EXPECT_EQ(Paths(list), (std::vector<std::string>{"/a.jpg", "/b.jpg", "/c.jpg", "/d.jpg"}));
  EXPECT_EQ(list.SelectedIndex(), 1);
  EXPECT_EQ(Flags(list), std::vector<int>{1});
}

TEST(PictureList, LongPathsAreKeptWhole) {
  PictureList list;
  const std::string path = "/" + std::string(299, 'x');
  list.AddPicture(path);
  EXPECT_EQ(list.At(0).Path, path);
}

TEST(PictureList, MovesCarryTheSelectionAndStopAtTheEnds) {
  struct Row {
    const char* name;
    int select;
    std::vector<bool (PictureList::*)()> moves;
    std::vector<bool> results;
    std::vector<std::string> order;
    int selected;
  };
  const Row rows[] = {
      {"second to last, then past the end",
       1,
       {&PictureList::MoveNext, &PictureList::MoveNext},
       {true, false},
       {"/a.jpg", "/c.jpg", "/b.jpg"},
       2},
      {"first cannot move back", 0, {&PictureList::MovePrevious}, {false}, {"/a.jpg", "/b.jpg", "/c.jpg"}, 0},
      {"last back to first",
       2,
       {&PictureList::MovePrevious, &PictureList::MovePrevious, &PictureList::MovePrevious},
       {true, true, false},
       {"/c.jpg", "/a.jpg", "/b.jpg"},
       0},
      {"nothing selected",
       -1,
       {&PictureList::MoveNext, &PictureList::MovePrevious},
       {false, false},
       {"/a.jpg", "/b.jpg", "/c.jpg"},
       -1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    PictureList list = ThreePictures();
    list.SelectAt(r.select);
    for (size_t k = 0; k < r.moves.size(); ++k) EXPECT_EQ((list.*r.moves[k])(), r.results[k]) << k;
    EXPECT_EQ(Paths(list), r.order);
    EXPECT_EQ(list.SelectedIndex(), r.selected);
    EXPECT_EQ(Flags(list), r.selected < 0 ? std::vector<int>{} : std::vector<int>{r.selected});
  }
}

TEST(PictureList, SelectAtOutsideTheListSelectsNothing) {
  for (int p : {-1, 3, 100}) {
    PictureList list = ThreePictures();
    list.SelectAt(0);
    list.SelectAt(p);
    EXPECT_EQ(list.SelectedIndex(), -1) << p;
    EXPECT_TRUE(Flags(list).empty()) << p;
  }
  PictureList list = ThreePictures();
  list.SelectAt(0);
  list.SelectAt(2);
  EXPECT_EQ(Flags(list), std::vector<int>{2});
}

TEST(PictureList, DeleteRemovesTheSelectedEntryAndDropsTheSelection) {
  PictureList list = ThreePictures();
  EXPECT_FALSE(list.DeleteSelected());
  EXPECT_EQ(list.Count(), 3);

  list.SelectAt(1);
  EXPECT_TRUE(list.DeleteSelected());
  EXPECT_EQ(Paths(list), (std::vector<std::string>{"/a.jpg", "/c.jpg"}));
  EXPECT_EQ(list.SelectedIndex(), -1);
  EXPECT_FALSE(list.MoveNext());
  EXPECT_FALSE(list.MovePrevious());
  EXPECT_FALSE(list.DeleteSelected());
}

TEST(PictureList, DuplicatesAreSeparateEntries) {
  PictureList list;
  list.AddPicture("/same.jpg");
  list.AddPicture("/other.jpg");
  list.AddPicture("/same.jpg");
  list.SelectAt(2);
  EXPECT_TRUE(list.MovePrevious());
  EXPECT_EQ(Flags(list), std::vector<int>{1});
  EXPECT_TRUE(list.DeleteSelected());
  EXPECT_EQ(Paths(list), (std::vector<std::string>{"/same.jpg", "/other.jpg"}));
}

TEST(PictureList, ClearEmptiesTheListAndTheSelection) {
  PictureList list = ThreePictures();
  list.SelectAt(2);
  list.ClearPictures();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.SelectedIndex(), -1);
}

const std::string kJpegStart = "\xFF\xD8";

TEST(FormatCheck, LooksAtTheFirstTwoBytesOnly) {
  TempDir dir;
  const struct {
    const char* name;
    std::string bytes;
    bool jpeg;
  } rows[] = {
      {"real.jpg", kJpegStart + "\xFF\xE0 rest is not looked at", true},
      {"exactly-two.bin", kJpegStart, true},
      {"png-named.jpg", "\x89PNG\r\n\x1a\n", false},
      {"swapped.jpg", "\xD8\xFF", false},
      {"text.jpg", "hello", false},
  };
  for (const auto& r : rows) EXPECT_EQ(IsJpegFile(dir.Write(r.name, r.bytes)), r.jpeg) << r.name;
}

TEST(FormatCheck, ShortFilesAreAReadError) {
  TempDir dir;
  for (const std::string& bytes : {std::string(), std::string("\xFF")}) {
    try {
      IsJpegFile(dir.Write("short.jpg", bytes));
      ADD_FAILURE() << bytes.size() << " bytes passed";
    } catch (const StreamReadError& e) {
      EXPECT_STREQ(e.what(), "Stream read error");
    }
  }
}

TEST(FormatCheck, FilesThatCannotBeOpenedNameThePathAndTheReason) {
  TempDir dir;
  const std::string missing = (dir.Path() / "missing.jpg").string();
  const std::string folder = (dir.Path() / "folder.jpg").string();
  std::filesystem::create_directory(folder);
  const struct {
    std::string path;
    const char* reason;
  } rows[] = {
      {missing, "No such file or directory"},
      {folder, "Is a directory"},
  };
  for (const auto& r : rows) {
    try {
      IsJpegFile(r.path);
      ADD_FAILURE() << r.path;
    } catch (const FileOpenError& e) {
      EXPECT_EQ(e.what(), "Cannot open file \"" + r.path + "\". " + r.reason);
    }
  }
}

TEST(FormatCheck, WholeListStopsAtTheFirstPictureThatIsNotAJpeg) {
  TempDir dir;
  PictureList list;
  EXPECT_TRUE(list.AllPicturesAreJpeg());

  list.AddPicture(dir.Write("1.jpg", kJpegStart));
  list.AddPicture(dir.Write("2.jpg", kJpegStart));
  EXPECT_TRUE(list.AllPicturesAreJpeg());

  // The third file does not exist: opening it would throw.
  PictureList stops;
  stops.AddPicture(dir.Write("1.jpg", kJpegStart));
  stops.AddPicture(dir.Write("2.png", "\x89PNG"));
  stops.AddPicture((dir.Path() / "never-opened.jpg").string());
  EXPECT_FALSE(stops.AllPicturesAreJpeg());

  PictureList reaches;
  reaches.AddPicture(dir.Write("1.jpg", kJpegStart));
  reaches.AddPicture((dir.Path() / "gone.jpg").string());
  EXPECT_THROW(reaches.AllPicturesAreJpeg(), FileOpenError);
}

}  // namespace
