#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/Errors.h"
#include "publish/PreviewPage.h"
#include "tests/support/TempDir.h"
#include "tests/window/PreviewSupport.h"
#include "window/preview/PreviewPageFile.h"

namespace {

std::string ReadAll(const QString& path) {
  std::ifstream in(QFile::encodeName(path).toStdString(), std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(PreviewPageFile, GoesToTheUsersRuntimeFolder) {
  TempDir dir;
  const auto run = dir.Path() / "run";
  std::filesystem::create_directory(run);
  std::filesystem::permissions(run, std::filesystem::perms::owner_all);
  RuntimeFolder runtime(run);

  const QString page = WritePreviewPage("/home/ann/show.swf", 640, 480);
  EXPECT_EQ(page.toStdString(), (run / "test.html").string());
  EXPECT_EQ(ReadAll(page), PreviewPageText("/home/ann/show.swf", 640, 480));
  // Written again with other values, the file holds only the new page.
  WritePreviewPage("/x.swf", 1, 1);
  EXPECT_EQ(ReadAll(page), PreviewPageText("/x.swf", 1, 1));
}

TEST(PreviewPageFile, WithoutARuntimeFolderAMissingCacheFolderIsMadeForItsOwnerOnly) {
  TempDir dir;
  const auto cache = dir.Path() / "cache" / "orbilux";
  const QString page = PreviewPagePathIn("", QString::fromStdString(cache.string()));
  EXPECT_EQ(page.toStdString(), (cache / "test.html").string());
  EXPECT_EQ(std::filesystem::status(cache).permissions(), std::filesystem::perms::owner_all);
  // An existing runtime folder comes first and is left as it is.
  EXPECT_EQ(PreviewPagePathIn(QString::fromStdString(dir.Path().string()), "/nowhere").toStdString(),
            (dir.Path() / "test.html").string());
  EXPECT_FALSE(std::filesystem::exists("/nowhere"));
}

// Without a runtime folder the page goes only where no one else can change
// or read it between its writing and its loading.
TEST(PreviewPageFile, AnExistingCacheFolderMustBeTheUsersOwnAndClosedToOthers) {
  namespace fs = std::filesystem;
  const bool root = ::geteuid() == 0;
  const struct {
    const char* name;
    fs::perms mode;
    bool otherOwner;
    bool taken;
  } rows[] = {
      {"owner only", fs::perms::owner_all, false, true},
      {"readable by others",
       fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read | fs::perms::others_exec, false, false},
      {"writable by the group", fs::perms::owner_all | fs::perms::group_all, false, false},
      {"another user's", fs::perms::owner_all, true, false},
  };
  for (const auto& r : rows) {
    if (r.otherOwner && !root) continue;  // only root can give a folder away
    SCOPED_TRACE(r.name);
    TempDir dir;
    const auto cache = dir.Path() / "cache";
    fs::create_directory(cache);
    fs::permissions(cache, r.mode);
    if (r.otherOwner) {
      ASSERT_EQ(::chown(cache.c_str(), 65534, 65534), 0);
    }
    const QString folder = QString::fromStdString(cache.string());
    if (r.taken) {
      EXPECT_EQ(PreviewPagePathIn("", folder).toStdString(), (cache / "test.html").string());
      continue;
    }
    try {
      PreviewPagePathIn("", folder);
      ADD_FAILURE() << "the folder was taken";
    } catch (const AppError& e) {
      EXPECT_EQ(std::string(e.what()), "The preview page is not written to \"" + cache.string() +
                                           "\": that folder must belong to you and be closed to other users.");
    }
  }
}

TEST(PreviewPageFile, APlaceThatCannotBeWrittenGivesTheCreateError) {
  TempDir dir;
  const auto run = dir.Path() / "run";
  // A folder in the page's place cannot be opened as a file, also not by root.
  std::filesystem::create_directories(run / "test.html");
  std::filesystem::permissions(run, std::filesystem::perms::owner_all);
  RuntimeFolder runtime(run);

  try {
    WritePreviewPage("/home/ann/show.swf", 550, 400);
    FAIL() << "no error";
  } catch (const FileCreateError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + (run / "test.html").string() + "\". Is a directory");
  }
}

}  // namespace
