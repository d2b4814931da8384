#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "common/Errors.h"
#include "movie/GalleryScript.h"
#include "movie/HintBitmap.h"
#include "movie/MovieWriter.h"
#include "movie/SwfTags.h"
#include "tests/support/AsOrdinaryUser.h"
#include "tests/support/Hex.h"
#include "tests/support/Jpeg.h"
#include "tests/support/TempDir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class FakeReporter : public BuildReporter {
 public:
  void ShowProgressPanel(bool visible) override {
    events.push_back(visible ? "show" : "hide");
    panelVisible = visible;
  }
  void SetProgressMaximum(int maximum) override { events.push_back("max " + std::to_string(maximum)); }
  void SetProgressPosition(int position) override { events.push_back("at " + std::to_string(position)); }
  void SetStatusText(const std::string& text) override { events.push_back("status " + text); }

  std::vector<std::string> events;
  bool panelVisible = false;
};

Bytes ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Bytes AsBytes(const std::string& s) { return {s.begin(), s.end()}; }

std::set<std::string> Names(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) names.insert(e.path().filename());
  return names;
}

// One build's surroundings: a folder, the list, the window's stream.
struct Build {
  TempDir dir;
  PictureList list;
  MovieStream stream;
  TConversion converter;
  FakeReporter reporter;

  std::string Add(const std::string& name, const std::string& bytes) {
    const std::string path = dir.Write(name, bytes);
    list.AddPicture(path);
    return path;
  }
  std::string Target(const std::string& name = "movie.swf") const { return (dir.Path() / name).string(); }
  void Write(int w, int h, const std::string& target, FileSystem& files = SystemFileSystem()) {
    WriteMovie({list, w, h, stream, converter, reporter, files}, target);
  }
  tags::PatchList Assemble(int w, int h) { return AssembleMovie(list, w, h, stream, converter, reporter); }
};

void Append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }

void AppendUI32(Bytes& to, std::size_t value) {
  for (int k = 0; k < 4; ++k) to.push_back(static_cast<std::uint8_t>(value >> (8 * k)));
}

// The whole movie of one 1000-byte picture at 550 x 400, from golden bytes
// but for the script and the hint's pixels, which other modules own.
Bytes OnePictureMovie(const std::string& picture) {
  Bytes m = Hex("46 57 53 09 00 00 00 00 78 00 05 5F 00 00 0F A0 00 00 0C 01 00");
  Append(m, Hex("44 11 01 00 00 00 43 02 CC CC CC 3F 03"));
  AppendUI32(m, gallery_script::BodyLength());
  Append(m, gallery_script::Body(1));
  Append(m, Hex("7F 05 EA 03 00 00 01 00"));
  Append(m, AsBytes(picture));
  Append(m, Hex("BF 00 37 00 00 00 02 00 75 50 8A BE 60 C0 7D 00 02 43 FF FF D9 40 00 05 00 00 "
                "00 43 01 00 D9 40 00 05 00 00 0E AA 13 06 00 00 20 15 CA BE 1F 41 7A 55 08 F1 "
                "83 03 D1 57 C7 8B E8 00 00"));
  Append(m, Hex("FF 09 10 00 00 00 03 00 01 00 86 06 06 01 00 02 00 00 40 00 00 00"));
  Append(m, Hex("BF 06 0F 00 00 00 26 01 00 03 00 1C AB E1 F4 00 70 69 63 31 00"));
  const auto pixels = hint_bitmap::CompressedPixels();
  Append(m, Hex("3F 09"));
  AppendUI32(m, 7 + pixels.size());
  Append(m, Hex("04 00 05 DA 00 20 00"));
  Append(m, Bytes(pixels.begin(), pixels.end()));
  Append(m, Hex("BF 00 35 00 00 00 05 00 6D DF 51 09 EC 10 A0 00 02 43 FF FF D9 3F ED 34 FE 00 "
                "00 43 04 00 D9 3F ED 34 FE 00 0D BB EF B0 40 00 20 15 A8 84 0A 05 E1 77 CF 2D "
                "81 F0 44 1F 95 3F 80"));
  Append(m, Hex("FF 09 10 00 00 00 06 00 01 00 86 06 06 01 00 05 00 00 40 00 00 00"));
  Append(m, Hex("BF 06 13 00 00 00 26 03 00 06 00 C5 FF A6 FF 99 35 11 01 3F 74 69 70 73 00"));
  Append(m, Hex("BF 00 22 00 00 00 07 00 6C 0E 9F 8F 44 95 DB 80 01 00 00 00 00 00 10 15 AF C7 "
                "5D BF C2 07 3F 1A 24 BC 1F 8D F1 5D B8 00"));
  Append(m, Hex("FF 09 10 00 00 00 08 00 01 00 86 06 06 01 00 07 00 00 40 00 00 00"));
  Append(m, Hex("BF 06 20 00 00 00 2E 05 00 08 00 C9 5B 55 54 EF 4E 55 F0 FA 00 69 00 40 10 00 "
                "00 53 63 72 65 65 6E 4D 61 69 6E 00 40 00 00 00"));
  for (int k = 0; k < 4; ++k) m[4 + k] = static_cast<std::uint8_t>(m.size() >> (8 * k));
  return m;
}

TEST(MovieWriter, OnePictureMovieByteForByte) {
  Build b;
  const std::string picture = MakeFakeJpeg(550, 400, 1000);
  b.Add("a.jpg", picture);
  const std::string target = b.Target();
  b.Write(550, 400, target);

  const Bytes file = ReadAll(target);
  EXPECT_EQ(file, OnePictureMovie(picture));
  EXPECT_EQ(ReadUI32(file, 4), file.size());
  EXPECT_EQ(Bytes(b.stream.Bytes().begin(), b.stream.Bytes().end()), file);
  EXPECT_EQ(b.reporter.events,
            (std::vector<std::string>{"show", "max 0", "at 0", "status Translating is OK!!", "hide"}));

  // The lengths patched: the picture's shape and placement, the screen shape.
  const tags::PatchList patches = b.Assemble(550, 400);
  ASSERT_EQ(patches.size(), 3u);
  EXPECT_EQ(patches[0].Value, 55u);
  EXPECT_EQ(patches[1].Value, 15u);
  EXPECT_EQ(patches[2].Value, 34u);
}

// Tag codes of a movie of n pictures, in file order.
std::vector<std::uint16_t> ExpectedCodes(std::size_t n) {
  std::vector<std::uint16_t> codes = {tags::kFileAttributes, tags::kSetBackgroundColor, tags::kDoAction};
  for (std::size_t i = 0; i < n; ++i) {
    codes.insert(codes.end(), {tags::kDefineBitsJPEG2, tags::kDefineShape, tags::kDefineSprite, tags::kPlaceObject2});
  }
  codes.insert(codes.end(),
               {tags::kDefineBitsLossless2, tags::kDefineShape, tags::kDefineSprite, tags::kPlaceObject2,
                tags::kDefineShape, tags::kDefineSprite, tags::kPlaceObject2, tags::kShowFrame, tags::kEnd});
  return codes;
}

TEST(MovieWriter, ThreePicturesGetIdsOneToNineThenTenToFourteen) {
  Build b;
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) b.Add(name, MakeFakeJpeg(640, 480, 300));
  const tags::PatchList patches = b.Assemble(640, 480);

  ASSERT_EQ(patches.size(), 7u);
  EXPECT_EQ(patches[1].Value, patches[3].Value);
  EXPECT_EQ(patches[3].Value, patches[5].Value);
  EXPECT_EQ(patches[0].Value, patches[2].Value);
  EXPECT_EQ(patches[6].Value, 34u);

  const auto found = ReadSwfTags(b.stream.Bytes());
  std::vector<std::uint16_t> codes;
  std::vector<std::uint16_t> definedIds;  // in order of definition
  std::vector<std::uint16_t> depths;      // of the main timeline's placements
  for (const SwfTag& t : found) {
    codes.push_back(t.Code);
    if (t.Code == tags::kDefineBitsJPEG2 || t.Code == tags::kDefineShape || t.Code == tags::kDefineSprite ||
        t.Code == tags::kDefineBitsLossless2) {
      definedIds.push_back(t.UI16(0));
    }
    if (t.Code == tags::kPlaceObject2) depths.push_back(t.UI16(1));
  }
  EXPECT_EQ(codes, ExpectedCodes(3));
  EXPECT_EQ(definedIds, (std::vector<std::uint16_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));
  EXPECT_EQ(depths, (std::vector<std::uint16_t>{1, 3, 5, 7, 9}));
  EXPECT_EQ(b.reporter.events, (std::vector<std::string>{"max 2", "at 0", "at 1", "at 2"}));
}

TEST(MovieWriter, TenthPlacementIsOneByteLongerThanTheNinth) {
  Build b;
  for (int i = 0; i < 10; ++i) b.Add("p" + std::to_string(i) + ".jpg", MakeFakeJpeg(550, 400, 100));
  const tags::PatchList patches = b.Assemble(550, 400);
  ASSERT_EQ(patches.size(), 21u);
  EXPECT_EQ(patches[2 * 9 + 1].Value, patches[2 * 8 + 1].Value + 1);
}

TEST(MovieWriter, LengthWorkedOutBeforehandIsTheMoviesLength) {
  const struct {
    int n, w, h;
  } rows[] = {{1, 550, 400}, {3, 800, 600}, {12, 1920, 1080}, {10, 400, 300}, {2, 3, 3}, {1, 4000, 3000}};
  for (const auto& r : rows) {
    Build b;
    std::vector<std::uint64_t> sizes;
    for (int i = 0; i < r.n; ++i) {
      const std::size_t size = 21 + 37 * static_cast<std::size_t>(i);
      b.Add("p" + std::to_string(i) + ".jpg", MakeFakeJpeg(r.w, r.h, size));
      sizes.push_back(size);
    }
    b.Assemble(r.w, r.h);
    SCOPED_TRACE(std::to_string(r.n) + " at " + std::to_string(r.w) + " x " + std::to_string(r.h));
    EXPECT_EQ(tags::MovieLength(b.converter, r.w, r.h, sizes), b.stream.Size());
    EXPECT_EQ(ReadUI32(b.stream.Bytes(), 4), b.stream.Size());
    EXPECT_EQ(ReadSwfTags(b.stream.Bytes()).size(), ExpectedCodes(static_cast<std::size_t>(r.n)).size());
  }
}

TEST(MovieWriter, BuildingAgainWithAShorterListLeavesExactlyTheNewMovie) {
  Build b;
  const std::string target = b.Target();
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) b.Add(name, MakeFakeJpeg(550, 400, 5000));
  b.Write(550, 400, target);
  const std::size_t longer = ReadAll(target).size();

  b.list.SelectAt(0);
  b.list.DeleteSelected();
  b.list.SelectAt(0);
  b.list.DeleteSelected();
  b.Write(550, 400, target);
  const Bytes file = ReadAll(target);
  EXPECT_LT(file.size(), longer);
  EXPECT_EQ(ReadUI32(file, 4), file.size());
  EXPECT_EQ(Bytes(b.stream.Bytes().begin(), b.stream.Bytes().end()), file);
  EXPECT_EQ(Names(b.dir.Path()), (std::set<std::string>{"a.jpg", "b.jpg", "c.jpg", "movie.swf"}));
}

TEST(MovieWriter, NewFileGetsOrdinaryPermissions) {
  Build b;
  b.Add("a.jpg", MakeFakeJpeg(550, 400, 100));
  const mode_t old = ::umask(022);
  b.Write(550, 400, b.Target());
  ::umask(old);
  struct stat info {};
  ASSERT_EQ(::stat(b.Target().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
}

// Makes writes fail as on a full disk once some bytes have gone out, or
// makes the flush fail.
class FullDisk : public FileSystem {
 public:
  explicit FullDisk(bool failSync = false) : failSync_(failSync) {}
  ssize_t Write(int fd, const void* data, std::size_t size) override {
    if (!failSync_ && written_ > 0) {
      errno = ENOSPC;
      return -1;
    }
    const ssize_t n = FileSystem::Write(fd, data, std::min<std::size_t>(size, 100));
    if (n > 0) written_ += static_cast<std::size_t>(n);
    return n;
  }
  int Sync(int fd) override {
    if (!failSync_) return FileSystem::Sync(fd);
    errno = EIO;
    return -1;
  }

 private:
  bool failSync_;
  std::size_t written_ = 0;
};

const char* const kOldMovie = "the movie built before";

// Every failing build: the error's message, the panel hidden again, the
// folder holding just what it held before (no temporary file) and a movie
// already at the target untouched.
TEST(MovieWriter, FailedBuildsLeaveNothingBehind) {
  struct Row {
    const char* name;
    std::function<void(Build&)> prepare;  // makes the failure happen
    std::function<std::string(const Build&)> target;
    std::function<std::string(const Build&)> message;
    FileSystem* files;
  };
  FullDisk fullDisk;
  FullDisk failingFlush(true);
  const Row rows[] = {
      {"picture removed before the build", [](Build& b) { std::filesystem::remove(b.list.At(1).Path); },
       [](const Build& b) { return b.Target(); },
       [](const Build& b) { return "Cannot open file \"" + b.list.At(1).Path + "\". No such file or directory"; },
       &SystemFileSystem()},
      {"missing target folder", [](Build&) {},
       [](const Build& b) { return (b.dir.Path() / "missing" / "movie.swf").string(); },
       [](const Build& b) {
         return "Cannot create file \"" + (b.dir.Path() / "missing" / "movie.swf").string() +
                "\". No such file or directory";
       },
       &SystemFileSystem()},
      {"target is a folder", [](Build& b) { std::filesystem::create_directory(b.dir.Path() / "folder.swf"); },
       [](const Build& b) { return (b.dir.Path() / "folder.swf").string(); },
       [](const Build& b) {
         return "Cannot create file \"" + (b.dir.Path() / "folder.swf").string() + "\". Is a directory";
       },
       &SystemFileSystem()},
      {"disk full", [](Build&) {}, [](const Build& b) { return b.Target(); },
       [](const Build& b) {
         return "Stream write error\rCannot write file \"" + b.Target() + "\". No space left on device";
       },
       &fullDisk},
      {"flush fails", [](Build&) {}, [](const Build& b) { return b.Target(); },
       [](const Build& b) {
         return "Stream write error\rCannot write file \"" + b.Target() + "\". Input/output error";
       },
       &failingFlush},
      {"picture of another size", [](Build& b) { b.Add("other.jpg", MakeFakeJpeg(551, 400, 500)); },
       [](const Build& b) { return b.Target(); },
       [](const Build&) {
         return std::string(
             "One of the image's format and/or size is different!\r"
             "Translating is terminated.");
       },
       &SystemFileSystem()},
      {"picture without a frame header", [](Build& b) { b.Add("cut.jpg", MakeFakeJpeg(550, 400, 500).substr(0, 10)); },
       [](const Build& b) { return b.Target(); },
       [](const Build&) {
         return std::string(
             "One of the image's format and/or size is different!\r"
             "Translating is terminated.");
       },
       &SystemFileSystem()},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Build b;
    b.Add("a.jpg", MakeFakeJpeg(550, 400, 2000));
    b.Add("b.jpg", MakeFakeJpeg(550, 400, 2000));
    b.dir.Write("movie.swf", kOldMovie);
    r.prepare(b);
    const auto before = Names(b.dir.Path());
    try {
      b.Write(550, 400, r.target(b), *r.files);
      ADD_FAILURE() << "the build did not fail";
    } catch (const AppError& e) {
      EXPECT_EQ(e.what(), r.message(b));
    }
    EXPECT_FALSE(b.reporter.panelVisible);
    EXPECT_EQ(b.reporter.events.front(), "show");
    EXPECT_EQ(b.reporter.events.back(), "hide");
    EXPECT_EQ(Names(b.dir.Path()), before);
    EXPECT_EQ(ReadAll(b.Target()), AsBytes(kOldMovie));
  }
}

TEST(MovieWriter, MismatchedPictureRaisesTheStopMessagesError) {
  Build b;
  b.Add("a.jpg", MakeFakeJpeg(550, 400, 100));
  b.Add("png.jpg", "\x89PNG\r\n\x1a\n and so on");
  EXPECT_THROW(b.Write(550, 400, b.Target()), PictureMismatchError);
}

TEST(MovieWriter, FolderWithoutWritePermissionRefusesTheTarget) {
  Build b;
  b.Add("a.jpg", MakeFakeJpeg(550, 400, 100));
  const auto locked = b.dir.Path() / "locked";
  std::filesystem::create_directory(locked);
  using std::filesystem::perms;
  std::filesystem::permissions(b.dir.Path(), perms::owner_all | perms::group_exec | perms::others_exec);
  std::filesystem::permissions(locked, perms::owner_read | perms::owner_exec | perms::others_read | perms::others_exec);
  const std::string target = (locked / "movie.swf").string();
  const std::string outcome = AsOrdinaryUser([&] {
    try {
      b.Write(550, 400, target);
      return std::string("the build did not fail");
    } catch (const FileCreateError& e) {
      return e.what() + std::string(b.reporter.panelVisible ? " (the progress panel stayed)" : "");
    }
  });
  EXPECT_EQ(outcome, "Cannot create file \"" + target + "\". Permission denied");
  EXPECT_TRUE(std::filesystem::is_empty(locked));
}

// Refusals that come before anything is shown, read or written.
TEST(MovieWriter, RefusesUnbuildableMoviesBeforeShowingAnything) {
  struct Row {
    const char* name;
    int pictures, w, h;
    std::string message;
  };
  const Row rows[] = {
      {"empty list", 0, 550, 400, "There are no pictures to build."},
      {"too narrow", 1, 2, 400,
       "The pictures are 2 x 400 pixels; a movie needs pictures at least 3 pixels wide and 3 "
       "pixels high, or it cannot be dragged."},
      {"too low", 1, 550, 0,
       "The pictures are 550 x 0 pixels; a movie needs pictures at least 3 pixels wide and 3 "
       "pixels high, or it cannot be dragged."},
      {"more pictures than ids", 21844, 550, 400, "A movie can hold at most 21843 pictures; the list has 21844."},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Build b;
    // Paths only: none of the files is looked at.
    for (int i = 0; i < r.pictures; ++i) b.list.AddPicture((b.dir.Path() / "none.jpg").string());
    try {
      b.Write(r.w, r.h, b.Target());
      ADD_FAILURE() << "the build did not fail";
    } catch (const AppError& e) {
      EXPECT_EQ(e.what(), r.message);
    }
    EXPECT_TRUE(b.reporter.events.empty());
    EXPECT_TRUE(std::filesystem::is_empty(b.dir.Path()));
  }
  // The largest list the ids allow passes the check.
  PictureList full;
  for (std::size_t i = 0; i < tags::kMaxPictures; ++i) full.AddPicture("x.jpg");
  EXPECT_NO_THROW(CheckMovieInputs(full, 3, 3));
}

TEST(MovieWriter, RefusesAMovieLongerThanItsLengthFieldBeforeReading) {
  Build b;
  // Sparse files: their sizes add up past 4 GiB without taking the disk.
  for (const char* name : {"a.jpg", "b.jpg"}) {
    const std::string path = b.Add(name, MakeFakeJpeg(550, 400, 100));
    std::filesystem::resize_file(path, std::uintmax_t{1} << 31);
  }
  try {
    b.Write(550, 400, b.Target());
    ADD_FAILURE() << "the build did not fail";
  } catch (const MovieLimitError& e) {
    EXPECT_NE(std::string(e.what()).find("more than the 4294967295 bytes a movie file can hold"), std::string::npos)
        << e.what();
  }
  EXPECT_EQ(b.stream.Size(), 0u);
  EXPECT_FALSE(b.reporter.panelVisible);
  EXPECT_FALSE(std::filesystem::exists(b.Target()));
}

// A real full disk: a tiny memory file system, where the system lets us
// mount one (as root, outside a sandbox that refuses it).
class TinyDisk {
 public:
  TinyDisk() {
    if (::mount("tmpfs", dir_.Path().c_str(), "tmpfs", 0, "size=64k") == 0) mounted_ = true;
  }
  ~TinyDisk() {
    if (mounted_) ::umount2(dir_.Path().c_str(), MNT_DETACH);
  }
  TinyDisk(const TinyDisk&) = delete;
  TinyDisk& operator=(const TinyDisk&) = delete;
  bool Mounted() const { return mounted_; }
  const std::filesystem::path& Path() const { return dir_.Path(); }

 private:
  TempDir dir_;
  bool mounted_ = false;
};

TEST(MovieWriter, FullDiskKeepsTheOldMovie) {
  TinyDisk disk;
  if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a memory file system here";
  Build b;
  b.Add("a.jpg", MakeFakeJpeg(550, 400, 200000));
  const std::string target = (disk.Path() / "movie.swf").string();
  std::ofstream(target, std::ios::binary) << kOldMovie;
  try {
    b.Write(550, 400, target);
    ADD_FAILURE() << "the build did not fail";
  } catch (const StreamWriteError& e) {
    EXPECT_EQ(e.what(), "Stream write error\rCannot write file \"" + target + "\". No space left on device");
  }
  EXPECT_EQ(Names(disk.Path()), std::set<std::string>{"movie.swf"});
  EXPECT_EQ(ReadAll(target), AsBytes(kOldMovie));
  EXPECT_FALSE(b.reporter.panelVisible);
}

}  // namespace
