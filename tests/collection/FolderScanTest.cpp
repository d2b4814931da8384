#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "collection/FolderScan.h"
#include "common/Errors.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

// The scan moves the process's current directory; every test gets its own
// back afterwards.
class FolderScan : public ::testing::Test {
 protected:
  ~FolderScan() override { fs::current_path(saved_); }

  // The scan's result with the folder's path taken off the front.
  std::vector<std::string> ScanNames(const fs::path& folder) {
    std::vector<std::string> names;
    const std::string prefix = folder.string() + "/";
    for (const std::string& path : ScanFolder(folder.string())) {
      EXPECT_TRUE(path.starts_with(prefix)) << path;
      names.push_back(path.substr(prefix.size()));
    }
    return names;
  }

  void Touch(std::initializer_list<const char*> names) {
    for (const char* name : names) dir_.Write(name, "\xFF\xD8");
  }

  TempDir dir_;
  fs::path saved_ = fs::current_path();
};

using Names = std::vector<std::string>;

TEST_F(FolderScan, TakesJpgThenJpegIgnoringCase) {
  Touch({"b.jpeg", "d.png", "C.JPG", "a.jpg", "e.JPEG", "f.jpgx", "g.jpg.png", "hjpg"});
  EXPECT_EQ(ScanNames(dir_.Path()), (Names{"a.jpg", "C.JPG", "b.jpeg", "e.JPEG"}));
}

TEST_F(FolderScan, SortsNumberedNamesByValue) {
  Touch({"view10.jpg", "view2.jpg", "View1.jpg", "view1.jpeg", "view03.jpg"});
  EXPECT_EQ(ScanNames(dir_.Path()), (Names{"View1.jpg", "view2.jpg", "view03.jpg", "view10.jpg", "view1.jpeg"}));
}

TEST_F(FolderScan, SkipsDottedNamesAndWhatIsNoFile) {
  Touch({".hidden.jpg", ".x.jpeg", "shown.jpg"});
  fs::create_symlink(dir_.Path() / "gone.jpg", dir_.Path() / "dangling.jpg");
  ASSERT_EQ(::mkfifo((dir_.Path() / "pipe.jpg").c_str(), 0600), 0);
  fs::create_symlink(dir_.Path() / "shown.jpg", dir_.Path() / "link.jpg");
  EXPECT_EQ(ScanNames(dir_.Path()), (Names{"link.jpg", "shown.jpg"}));
}

TEST_F(FolderScan, LooksOnlyIntoFoldersWhoseNamesMatch) {
  Touch({"a.jpg", "b.jpg", "x.jpg/2.jpg", "x.jpg/10.jpg", "x.jpg/y.jpeg/in.jpg", "x.jpg/plain/no.jpg", "plain/no.jpg",
         "Z.JPEG/z.jpeg"});
  EXPECT_EQ(ScanNames(dir_.Path()),
            (Names{"a.jpg", "b.jpg", "x.jpg/2.jpg", "x.jpg/10.jpg", "x.jpg/y.jpeg/in.jpg", "Z.JPEG/z.jpeg"}));
}

TEST_F(FolderScan, EndsOnLinkLoopsAndVisitsEachFolderOnce) {
  Touch({"a.jpg", "in.jpg/b.jpg"});
  fs::create_directory_symlink(dir_.Path(), dir_.Path() / "in.jpg" / "up.jpg");
  fs::create_directory_symlink(dir_.Path() / "in.jpg", dir_.Path() / "twin.jpg");
  fs::create_directory_symlink(dir_.Path() / "self.jpg", dir_.Path() / "self.jpg");  // dangling to itself
  EXPECT_EQ(ScanNames(dir_.Path()), (Names{"a.jpg", "in.jpg/b.jpg"}));
}

TEST_F(FolderScan, LeavesTheCurrentDirectoryAtTheFolder) {
  TempDir elsewhere;
  elsewhere.Write("far.jpg", "\xFF\xD8");
  fs::create_directory_symlink(elsewhere.Path(), dir_.Path() / "linked.jpg");
  Touch({"z.jpg"});
  EXPECT_EQ(ScanNames(dir_.Path()), (Names{"linked.jpg/far.jpg", "z.jpg"}));
  EXPECT_EQ(fs::canonical(fs::current_path()), fs::canonical(dir_.Path()));
}

TEST_F(FolderScan, ExpandsARelativeFolder) {
  Touch({"sub/a.jpg"});
  fs::current_path(dir_.Path());
  EXPECT_EQ(ScanFolder("sub/"), (Names{(fs::current_path() / "sub" / "a.jpg").string()}));
}

TEST_F(FolderScan, ReportsAFolderThatCannotBeEntered) {
  const std::string gone = (dir_.Path() / "vanished").string();
  try {
    ScanFolder(gone);
    FAIL() << "no error";
  } catch (const FolderOpenError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open folder \"" + gone + "\". No such file or directory");
  }
  EXPECT_EQ(fs::current_path(), saved_);
  const std::string file = dir_.Write("file.jpg", "x");
  EXPECT_THROW(ScanFolder(file), FolderOpenError);
}

}  // namespace
