#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "collection/JpegHeader.h"
#include "common/Errors.h"
#include "movie/HintBitmap.h"
#include "publish/Publish.h"
#include "publish/StagedFolder.h"
#include "publish/WebFolderPlace.h"
#include "tests/support/FolderTree.h"
#include "tests/support/Jpeg.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

// Three pictures of 64 x 48, a stand-in for the player and a place for the
// web folder, "site", in the same folder.
struct Export {
  TempDir dir;
  PictureList list;
  std::vector<std::string> jpegs;
  std::string player = (dir.Path() / "player").string();
  std::string site = (dir.Path() / "site").string();

  Export() {
    for (std::uint8_t i = 0; i < 3; ++i) {
      jpegs.push_back(MakeJpeg(64, 48, {static_cast<std::uint8_t>(60 * i), 90, 200}));
      list.AddPicture(dir.Write("in/p" + std::to_string(i) + ".jpg", jpegs.back()));
    }
    dir.Write("player/ruffle.js", "player");
    dir.Write("player/core.wasm", "wasm");
    dir.Write("player/LICENSE_MIT", "licence");
    dir.Write("player/ruffle.js.map", "map");
  }

  void Publish(bool replace = false, const std::string& movieFile = "", FileSystem& files = SystemFileSystem(),
               bool originals = false) {
    MovieStream stream;
    const TConversion converter;
    SilentReporter reporter;
    WebFolderTarget web{site, replace, player};
    web.Originals = originals;
    PublishMovie({list, 64, 48, stream, converter, reporter, files}, {movieFile, web, std::nullopt});
  }

  // A web folder written before, with a file of its own.
  void StampedSite() {
    dir.Write("site/" + std::string(kWebFolderStampName), WebFolderStamp());
    dir.Write("site/old.txt", "old");
  }

  // Names in the folder that holds the site, hidden ones included.
  std::vector<std::string> Beside() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.Path())) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

// The PNG's pixels, premultiplied again as the movie stores them (alpha,
// red, green, blue): 8-bit RGBA rows, each after its filter byte 0.
std::vector<std::uint8_t> PremultipliedPngPixels(const std::string& png) {
  const std::size_t idat = png.find("IDAT");
  const std::size_t length = static_cast<std::uint8_t>(png[idat - 2]) << 8 | static_cast<std::uint8_t>(png[idat - 1]);
  std::vector<std::uint8_t> rows(static_cast<std::size_t>(hint_bitmap::kHeight) * (1 + hint_bitmap::kWidth * 4));
  uLongf size = rows.size();
  EXPECT_EQ(uncompress(rows.data(), &size, reinterpret_cast<const Bytef*>(png.data() + idat + 4), length), Z_OK);
  std::vector<std::uint8_t> argb;
  for (std::size_t at = 0; at < rows.size(); at += 4) {
    if (at % (1 + hint_bitmap::kWidth * 4) == 0) ++at;  // the row's filter byte
    const int alpha = rows[at + 3];
    argb.push_back(static_cast<std::uint8_t>(alpha));
    for (int c = 0; c < 3; ++c) argb.push_back(static_cast<std::uint8_t>((rows[at + c] * alpha + 127) / 255));
  }
  return argb;
}

JpegSize SizeOfJpeg(const std::string& jpeg) {
  return ReadJpegSize(std::span(reinterpret_cast<const std::uint8_t*>(jpeg.data()), jpeg.size()), "picture");
}

std::vector<std::uint8_t> HintPixels() {
  std::vector<std::uint8_t> pixels(hint_bitmap::kPixelBytes);
  uLongf size = pixels.size();
  const auto stream = hint_bitmap::CompressedPixels();
  EXPECT_EQ(uncompress(pixels.data(), &size, stream.data(), stream.size()), Z_OK);
  return pixels;
}

// With pictures no wider than the smallest web width, the one width is
// theirs: the pictures carried without their metadata (these have none but
// JFIF) and the movie the very one -o writes.
TEST(WebFolder, HoldsThePicturesTheMovieThePagesAndThePlayer) {
  Export run;
  const std::string movieFile = (run.dir.Path() / "movie.swf").string();
  run.Publish(false, movieFile);
  const FolderTree site = ReadTree(run.site);

  EXPECT_EQ(site.at("pictures/64/001.jpg"), run.jpegs[0]);
  EXPECT_EQ(site.at("pictures/64/002.jpg"), run.jpegs[1]);
  EXPECT_EQ(site.at("pictures/64/003.jpg"), run.jpegs[2]);
  EXPECT_FALSE(site.contains("pictures/original/001.jpg"));
  EXPECT_EQ(site.at("movie.swf"), ReadTree(run.dir.Path()).at("movie.swf"));
  EXPECT_EQ(site.at("ruffle/ruffle.js"), "player");
  EXPECT_EQ(site.at("ruffle/LICENSE_MIT"), "licence");
  EXPECT_FALSE(site.contains("ruffle/ruffle.js.map"));
  EXPECT_NE(site.at(".htaccess").find("AddType application/wasm .wasm"), std::string::npos);
  EXPECT_TRUE(site.contains("README.txt"));
  EXPECT_TRUE(site.contains("movie.html"));

  const std::string& page = site.at("index.html");
  for (const char* part : {"data-count=\"3\"", "--w:64;--h:48", "src=\"pictures/64/001.jpg\"", "<title>site</title>"}) {
    EXPECT_NE(page.find(part), std::string::npos) << part;
  }
  EXPECT_EQ(page.find("{{"), std::string::npos) << "every mark filled in";
  EXPECT_LT(page.size() + site.at("turn.js").size() + site.at("turn.css").size(), 32u * 1024);
  EXPECT_EQ(PremultipliedPngPixels(site.at("hint.png")), HintPixels()) << "the movie's own hint picture";

  // A web server must be able to read it: not the staging folder's 0700.
  EXPECT_NE(fs::status(run.site).permissions() & fs::perms::others_read, fs::perms::none);
  EXPECT_EQ(run.Beside(), (std::vector<std::string>{"in", "movie.swf", "player", "site"}));
}

// Scaled to the widths, with the originals kept for zoom or instead.
TEST(WebFolder, ScalesToTheWidthsOrKeepsTheOriginals) {
  Export run;
  const std::string big = run.dir.Write("in/big.jpg", MakeJpeg(1000, 750));
  run.list = PictureList();
  for (int i = 0; i < 2; ++i) run.list.AddPicture(big);
  const std::string movieFile = (run.dir.Path() / "movie.swf").string();
  MovieStream stream;
  const TConversion converter;
  SilentReporter reporter;
  WebFolderTarget web{run.site, true, run.player};
  web.ZoomOriginals = true;
  const WebFolderSummary summary =
      *PublishMovie({run.list, 1000, 750, stream, converter, reporter}, {movieFile, web, std::nullopt});
  FolderTree site = ReadTree(run.site);
  EXPECT_EQ(SizeOfJpeg(site.at("pictures/480/002.jpg")), (JpegSize{480, 360}));
  EXPECT_EQ(SizeOfJpeg(site.at("pictures/960/002.jpg")), (JpegSize{960, 720}));
  EXPECT_EQ(site.at("pictures/1000/002.jpg"), site.at("pictures/original/002.jpg"));
  EXPECT_FALSE(site.contains("pictures/1440/001.jpg"));
  EXPECT_NE(site.at("index.html").find("src=\"pictures/960/001.jpg\""), std::string::npos);
  EXPECT_EQ(summary.Phone.Width, 960);
  EXPECT_EQ(summary.Phone.First, site.at("pictures/960/001.jpg").size());
  EXPECT_EQ(summary.Desktop.Width, 1000);

  web.Originals = true;
  web.ZoomOriginals = false;
  PublishMovie({run.list, 1000, 750, stream, converter, reporter}, {movieFile, web, std::nullopt});
  site = ReadTree(run.site);
  EXPECT_EQ(site.at("pictures/original/001.jpg"), ReadTree(run.dir.Path()).at("in/big.jpg"));
  EXPECT_FALSE(site.contains("pictures/480/001.jpg"));
  EXPECT_EQ(site.at("movie.swf"), ReadTree(run.dir.Path()).at("movie.swf"));
}

TEST(WebFolder, PicturesAreNumberedWithAtLeastThreeDigits) {
  const struct {
    std::size_t i, count;
    const char* name;
  } rows[] = {
      {0, 1, "001.jpg"}, {11, 12, "012.jpg"}, {998, 999, "999.jpg"}, {0, 1000, "0001.jpg"}, {999, 1000, "1000.jpg"},
  };
  for (const auto& r : rows) EXPECT_EQ(WebPictureName(r.i, r.count), r.name) << r.i << " of " << r.count;
}

// What is at the folder's place before the export, whether it may be
// replaced, and what comes of it: the error's start, or "" for a new
// folder in its place. A failure leaves the place as it was and nothing
// beside it.
TEST(WebFolder, ReplacesOnlyWhatItMayAndLeavesNothingBehindOnFailure) {
  const struct {
    const char* name;
    std::function<void(Export&)> before;
    bool replace;
    std::string error;
  } rows[] = {
      {"nothing there", [](Export&) {}, false, ""},
      {"an empty folder", [](Export& e) { fs::create_directory(e.site); }, false, ""},
      {"a folder of other files", [](Export& e) { e.dir.Write("site/old.txt", "old"); }, true,
       "The folder \"SITE\" holds files this tool did not write; choose an empty folder or a new name."},
      {"a web folder", [](Export& e) { e.StampedSite(); }, false, "The folder \"SITE\" is not empty."},
      {"a web folder, replaced", [](Export& e) { e.StampedSite(); }, true, ""},
      {"a file", [](Export& e) { e.dir.Write("site", "file"); }, true,
       "Cannot create folder \"SITE\". Not a directory"},
      {"a folder holding a picture of the list",
       [](Export& e) { e.list.AddPicture(e.dir.Write("site/p.jpg", MakeJpeg(64, 48))); }, true,
       "The folder \"SITE\" holds the picture"},
      {"a player that cannot be read whole",
       [](Export& e) { fs::create_symlink(e.dir.Path() / "gone", fs::path(e.player) / "broken.js"); }, true,
       "Cannot open file"},
      {"a picture of another size", [](Export& e) { e.list.AddPicture(e.dir.Write("in/big.jpg", MakeJpeg(80, 48))); },
       true, PictureMismatchError::kFirstLine},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Export run;
    r.before(run);
    const std::vector<std::string> beside = run.Beside();
    const FolderTree old = fs::is_directory(run.site) ? ReadTree(run.site) : FolderTree{};
    std::string error;
    try {
      run.Publish(r.replace);
    } catch (const AppError& e) {
      error = e.what();
    }
    std::string expected = r.error;
    if (const auto at = expected.find("SITE"); at != std::string::npos) expected.replace(at, 4, run.site);
    EXPECT_EQ(error.substr(0, expected.size()), expected) << error;
    if (!expected.empty()) {
      EXPECT_EQ(run.Beside(), beside);
      if (fs::is_directory(run.site)) {
        EXPECT_EQ(ReadTree(run.site), old);
      }
    } else {
      EXPECT_TRUE(fs::exists(fs::path(run.site) / "index.html"));
      EXPECT_FALSE(fs::exists(fs::path(run.site) / "old.txt"));
      EXPECT_EQ(run.Beside(), (std::vector<std::string>{"in", "player", "site"}));
    }
  }
}

volatile std::sig_atomic_t g_terms = 0;

// A stop signal that comes while the folder is written stops the writing,
// and acts once the unfinished folder is gone.
TEST(WebFolder, AStopSignalWaitsForTheUnfinishedFolderToGo) {
  class SignalAtSecondFile : public FileSystem {
   public:
    int CreateNew(const std::string& path, mode_t mode) override {
      if (++made_ == 2) ::raise(SIGTERM);
      return FileSystem::CreateNew(path, mode);
    }

   private:
    int made_ = 0;
  } files;
  struct sigaction count {
  }, saved{};
  count.sa_handler = [](int) { g_terms = g_terms + 1; };
  ::sigaction(SIGTERM, &count, &saved);
  Export run;
  std::string error;
  try {
    run.Publish(false, "", files);
  } catch (const AppError& e) {
    error = e.what();
  }
  ::sigaction(SIGTERM, &saved, nullptr);
  EXPECT_EQ(g_terms, 1);
  EXPECT_EQ(error, "The web folder \"" + run.site + "\" was not written: stopped.");
  EXPECT_EQ(run.Beside(), (std::vector<std::string>{"in", "player"}));
}

// What is made at the folder's place while the web folder is written (here
// as its first file is) is kept, whether nothing or an empty folder stood
// there when the export started.
TEST(WebFolder, KeepsWhatIsMadeInItsPlaceMeanwhile) {
  class MakeAtFirstFile : public FileSystem {
   public:
    std::function<void()> make;
    int CreateNew(const std::string& path, mode_t mode) override {
      if (make) std::exchange(make, nullptr)();
      return FileSystem::CreateNew(path, mode);
    }
  };
  const struct {
    const char* name;
    bool emptyFolderFirst;
    std::string error;
  } rows[] = {
      {"nothing there", false, "\"SITE\" was made while the web folder was written; it is kept"},
      {"an empty folder", true, "The folder \"SITE\" holds files this tool did not write"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Export run;
    if (r.emptyFolderFirst) fs::create_directory(run.site);
    MakeAtFirstFile files;
    files.make = [&] { run.dir.Write("site/mine.txt", "made meanwhile"); };
    std::string error;
    try {
      run.Publish(true, "", files);
    } catch (const AppError& e) {
      error = e.what();
    }
    std::string expected = r.error;
    expected.replace(expected.find("SITE"), 4, run.site);
    EXPECT_EQ(error.substr(0, expected.size()), expected) << error;
    EXPECT_EQ(ReadTree(run.site), (FolderTree{{"mine.txt", "made meanwhile"}}));
    EXPECT_EQ(run.Beside(), (std::vector<std::string>{"in", "player", "site"}));
  }
}

// While a run writes, its hidden folder and its movie's .part file are its
// own: a second run's clean-up leaves them alone.
TEST(WebFolder, ARunningExportsHiddenFilesAreNoLeftovers) {
  class CleanUpMeanwhile : public FileSystem {
   public:
    std::string site, movie;
    std::vector<std::string> removed;
    ssize_t Write(int fd, const void* data, std::size_t size) override {
      for (const std::string& left : StagedFolder::RemoveLeftovers(site)) removed.push_back(left);
      for (const std::string& left : RemoveLeftoverPartFiles(movie)) removed.push_back(left);
      return FileSystem::Write(fd, data, size);
    }
  } files;
  Export run;
  files.site = run.site;
  files.movie = (run.dir.Path() / "movie.swf").string();
  run.Publish(false, files.movie, files);
  EXPECT_EQ(files.removed, std::vector<std::string>{});
  EXPECT_TRUE(fs::exists(fs::path(run.site) / "index.html"));
  EXPECT_TRUE(fs::exists(files.movie));
}

// A folder named like a mark of the page keeps its name in the title.
TEST(WebFolder, MarksInTheFoldersNameAreNotFilledIn) {
  Export run;
  run.site = (run.dir.Path() / "{{COUNT}}").string();
  run.Publish();
  EXPECT_NE(ReadTree(run.site).at("index.html").find("<title>{{COUNT}}</title>"), std::string::npos);
}

// The new folder takes the old one's owner, group and mode, and the files
// written inside take the group of a set-group-ID folder.
TEST(WebFolder, AReplacedFolderKeepsItsOwnerGroupAndMode) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can give a folder to another user";
  Export run;
  run.StampedSite();
  ASSERT_EQ(::chown(run.site.c_str(), 65534, 65534), 0);
  ASSERT_EQ(::chmod(run.site.c_str(), 02750), 0);
  run.Publish(true);
  struct stat site {};
  struct stat page {};
  ASSERT_EQ(::stat(run.site.c_str(), &site), 0);
  ASSERT_EQ(::stat((run.site + "/index.html").c_str(), &page), 0);
  EXPECT_EQ(site.st_uid, 65534u);
  EXPECT_EQ(site.st_gid, 65534u);
  EXPECT_EQ(site.st_mode & 07777, 02750u);
  EXPECT_EQ(page.st_gid, 65534u);
}

// A link to a folder: the folder is written where the link leads, and the
// link stays a link.
TEST(WebFolder, FollowsALinkToItsFolder) {
  Export run;
  const fs::path real = run.dir.Path() / "real";
  run.dir.Write("real/old.txt", "old");
  run.dir.Write("real/" + std::string(kWebFolderStampName), WebFolderStamp());
  fs::create_directory_symlink(real, run.site);
  run.Publish(true);
  EXPECT_TRUE(fs::is_symlink(run.site));
  EXPECT_TRUE(fs::exists(real / "index.html"));
  EXPECT_FALSE(fs::exists(real / "old.txt"));
}

}  // namespace
