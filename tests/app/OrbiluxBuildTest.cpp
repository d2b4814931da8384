#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "collection/JpegHeader.h"
#include "generated/BuildInfo.h"
#include "movie/MovieWriter.h"
#include "movie/SwfTags.h"
#include "publish/WebFolderPlace.h"
#include "tests/support/BrokenJpeg.h"
#include "tests/support/FolderTree.h"
#include "tests/support/Jpeg.h"
#include "tests/support/ManyScanJpeg.h"
#include "tests/support/TempDir.h"

namespace {

struct Outcome {
  int status = -1;
  std::string out, err;
};

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Where a run starts: a folder inside the test's folder, and a command that
// runs the program as another user; and what its standard input holds.
struct Place {
  std::string folder = ".";
  std::string runAs;
  std::string input{};       // an initializer of its own, so that Place{"here", ""} is complete
  bool inputClosed = false;  // no standard input at all
};

// Runs orbilux-build in the folder with the arguments, ended after 10 s
// should it hang; standard output and error are files, not a terminal.
Outcome RunBuild(const TempDir& dir, const std::vector<std::string>& args, const Place& place = {}) {
  std::string command =
      "cd '" + (dir.Path() / place.folder).string() + "' && timeout 10 " + place.runAs + " '" ORBILUX_BUILD_PROGRAM "'";
  for (const std::string& a : args) command += " '" + a + "'";
  const auto out = dir.Path() / "stdout.txt";
  const auto err = dir.Path() / "stderr.txt";
  const std::string in = dir.Write("stdin.txt", place.input);
  command += " >'" + out.string() + "' 2>'" + err.string() + "' " + (place.inputClosed ? "<&-" : "<'" + in + "'");
  const int raw = std::system(command.c_str());
  Outcome run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = ReadText(out);
  run.err = ReadText(err);
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  std::filesystem::remove(in);
  return run;
}

TEST(OrbiluxBuild, WritesTheSameMovieAsTheWindowsBuild) {
  TempDir dir;
  std::vector<std::string> pictures;
  for (int i = 0; i < 3; ++i) {
    pictures.push_back(
        dir.Write("p" + std::to_string(i) + ".jpg", MakeJpeg(320, 240, {static_cast<std::uint8_t>(60 * i), 90, 200})));
  }
  const std::string target = (dir.Path() / "cli.swf").string();
  std::vector<std::string> args = {"-o", target};
  args.insert(args.end(), pictures.begin(), pictures.end());
  const Outcome run = RunBuild(dir, args);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "Building a movie of 3 pictures\nTranslating is OK!!\n");

  PictureList list;
  for (const auto& p : pictures) list.AddPicture(p);
  MovieStream stream;
  SilentReporter reporter;
  const std::string windows = (dir.Path() / "window.swf").string();
  const TConversion converter;
  WriteMovie({list, 320, 240, stream, converter, reporter}, windows);
  EXPECT_EQ(ReadText(target), ReadText(windows));
}

TEST(OrbiluxBuild, NamesEveryRefusedOrWarnedPictureAndWhy) {
  TempDir dir;
  const std::string photo = MakeDetailedJpeg(320, 240);
  dir.Write("good.jpg", photo);
  dir.Write("png.jpg", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  dir.Write("other.jpg", MakeJpeg(321, 240));
  dir.Write("header.jpg", photo.substr(0, 40));
  dir.Write("cut.jpg", CutInScan(photo));
  dir.Write("cmyk.jpg", MakeDetailedJpeg(320, 240, TJPF_CMYK));
  dir.Write("wide1.jpg", MakeJpeg(2900, 8));
  dir.Write("wide2.jpg", MakeJpeg(2900, 8));
  dir.Write("lossless.jpg", WithFrameMarker(photo, 0xC3));
  dir.Write("hierarchical.jpg", WithFrameMarker(photo, 0xC5));
  dir.Write("huge.jpg", WithClaimedSize(photo, 65535, 65535));
  const std::string stop =
      "orbilux-build: One of the image's format and/or size is different!\nTranslating is terminated.\n";
  const std::string cut =
      "cut.jpg: its picture data is damaged (Premature end of JPEG file); players show stripes where it fails";
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err;
  } rows[] = {
      {{"good.jpg", "png.jpg"}, 1, "orbilux-build: png.jpg: not a JPEG file\n" + stop},
      {{"good.jpg", "other.jpg", "header.jpg"},
       1,
       "orbilux-build: other.jpg: 321 x 240, but the movie is 320 x 240 (the size of good.jpg)\n"
       "orbilux-build: header.jpg: the file ends inside its JPEG header\n" +
           stop},
      {{"good.jpg", "gone.jpg"}, 1, "orbilux-build: Cannot open file \"gone.jpg\". No such file or directory\n"},
      {{"good.jpg", "cut.jpg"}, 0, "orbilux-build: warning: " + cut + "\n"},
      {{"--strict", "good.jpg", "cut.jpg"}, 1, "orbilux-build: " + cut + "\n" + stop},
      {{"good.jpg", "cmyk.jpg"},
       0,
       "orbilux-build: warning: cmyk.jpg: CMYK colour, which some players cannot decode\n"},
      {{"wide1.jpg", "wide2.jpg"},
       0,
       "orbilux-build: warning: 2 pictures: a side over 2880 pixels, which older players refuse to show "
       "(wide1.jpg and wide2.jpg, 2900 x 8)\n"},
      {{"good.jpg", "lossless.jpg", "hierarchical.jpg"},
       1,
       "orbilux-build: lossless.jpg: lossless JPEG, which the decoder and SWF players cannot show\n"
       "orbilux-build: hierarchical.jpg: hierarchical JPEG, which the decoder and SWF players cannot show\n" +
           stop},
      {{"huge.jpg"},
       1,
       "orbilux-build: huge.jpg: 65535 x 65535, over the 65500 pixels a side the decoder can show\n" + stop},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.args.back());
    std::vector<std::string> args = {"-o", "out.swf"};
    args.insert(args.end(), r.args.begin(), r.args.end());
    const Outcome run = RunBuild(dir, args);
    EXPECT_EQ(run.status, r.status);
    const std::string err = run.status == 0 ? run.err.substr(0, r.err.size()) : run.err;
    EXPECT_EQ(err, r.err) << run.err;
    EXPECT_EQ(std::filesystem::exists(dir.Path() / "out.swf"), r.status == 0);
    std::filesystem::remove(dir.Path() / "out.swf");
  }
}

// The default check walks each file; --verify decodes it too, and finds what
// only decoding finds. Neither takes long over a picture of thousands of
// scans, each of which costs the decoder a pass over the whole picture.
TEST(OrbiluxBuild, TheChecksFindDamageAndManyScans) {
  TempDir dir;
  const std::string photo = MakeDetailedJpeg(320, 240);
  dir.Write("good.jpg", photo);
  dir.Write("cut.jpg", CutInScan(photo));
  std::string scrambled = photo;
  for (std::size_t i = ScanDataAt(photo) + 16; i < ScanDataAt(photo) + 80; ++i) {
    if (scrambled[i] != '\xFF' && scrambled[i - 1] != '\xFF') scrambled[i] = static_cast<char>(scrambled[i] ^ 0x55);
  }
  dir.Write("scrambled.jpg", scrambled);
  dir.Write("many.jpg", MakeManyScanJpeg(1920, 1080, 10000));
  const std::string stop =
      "orbilux-build: One of the image's format and/or size is different!\nTranslating is terminated.\n";
  const std::string cut =
      "cut.jpg: its picture data is damaged (Premature end of JPEG file); players show stripes where it fails";
  const std::string many = "many.jpg: has 10010 scans; players may take long to show it";
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err;
  } rows[] = {
      {{"good.jpg", "cut.jpg"}, 0, "orbilux-build: warning: " + cut + "\n"},
      {{"--verify", "good.jpg", "cut.jpg"}, 0, "orbilux-build: warning: " + cut + "\n"},
      {{"good.jpg", "scrambled.jpg"}, 0, "Building"},
      {{"--verify", "good.jpg", "scrambled.jpg"},
       0,
       "orbilux-build: warning: scrambled.jpg: its picture data is damaged (Corrupt JPEG data"},
      {{"many.jpg"}, 0, "orbilux-build: warning: " + many + "\n"},
      {{"--verify", "many.jpg"}, 0, "orbilux-build: warning: " + many + "\n"},
      {{"--verify", "--strict", "many.jpg"}, 1, "orbilux-build: " + many + "\n" + stop},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.args.front() + " " + r.args.back());
    std::vector<std::string> args = {"-o", "out.swf"};
    args.insert(args.end(), r.args.begin(), r.args.end());
    // That the decode stops early is checked by the work it does, in the
    // scan check's own test; a clock here fails on a loaded machine.
    const Outcome run = RunBuild(dir, args);
    EXPECT_EQ(run.status, r.status);
    EXPECT_EQ(run.err.substr(0, r.err.size()), r.err) << run.err;
  }
}

// Warnings of one kind are one line; -v names every picture.
TEST(OrbiluxBuild, AlikeWarningsAreOneLineUnlessVerbose) {
  TempDir dir;
  std::vector<std::string> args = {"-o", "out.swf"};
  std::string each;
  for (int i = 101; i <= 136; ++i) {
    const std::string name = "IMG_0" + std::to_string(i) + ".JPG";
    dir.Write(name, MakeJpeg(2900, 8));
    args.push_back(name);
    each +=
        "orbilux-build: warning: " + name + ": 2900 x 8, a side over 2880 pixels, which older players refuse to show\n";
  }
  const struct {
    std::vector<std::string> options;
    std::string warnings;
  } rows[] = {
      {{},
       "orbilux-build: warning: 36 pictures: a side over 2880 pixels, which older players refuse to show "
       "(IMG_0101.JPG to IMG_0136.JPG, 2900 x 8)\n"},
      {{"-v"}, each},
  };
  for (const auto& r : rows) {
    std::vector<std::string> all = args;
    all.insert(all.end(), r.options.begin(), r.options.end());
    const Outcome run = RunBuild(dir, all);
    EXPECT_EQ(run.status, 0);
    std::string warnings;
    for (std::size_t at = 0, end; at < run.err.size(); at = end + 1) {
      end = run.err.find('\n', at);
      const std::string line = run.err.substr(at, end - at + 1);
      if (line.starts_with("orbilux-build: warning: ")) warnings += line;
    }
    EXPECT_EQ(warnings, r.warnings) << r.options.size();
  }
}

TEST(OrbiluxBuild, UnwritableTargetExitsWithOne) {
  TempDir dir;
  const std::string good = dir.Write("good.jpg", MakeJpeg(64, 64));
  const std::string target = (dir.Path() / "no" / "out.swf").string();
  const Outcome run = RunBuild(dir, {"-o", target, good});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.ends_with("orbilux-build: Cannot create file \"" + target + "\". No such file or directory\n"))
      << run.err;
}

TEST(OrbiluxBuild, BadUsageExitsWithTwo) {
  TempDir dir;
  const std::string good = dir.Write("good.jpg", MakeJpeg(64, 64));
  const struct {
    std::vector<std::string> args;
    const char* reason;
  } rows[] = {
      {{}, "no movie file given (-o OUT.swf)"},
      {{good}, "no movie file given (-o OUT.swf)"},
      {{"-o", "out.swf"}, "no pictures given"},
      {{good, "-o"}, "option -o needs a file name"},
      {{"--frobnicate", "-o", "out.swf", good}, "unknown option --frobnicate"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.reason);
    const Outcome run = RunBuild(dir, r.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "orbilux-build: " + std::string(r.reason) + "\nTry 'orbilux-build --help'.\n");
  }
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "out.swf"));
}

TEST(OrbiluxBuild, HelpDescribesTheCommandLine) {
  TempDir dir;
  for (const char* flag : {"--help", "-h"}) {
    const Outcome run = RunBuild(dir, {flag});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.starts_with("Usage: orbilux-build -o OUT.swf FILE...\n")) << run.out;
    EXPECT_NE(run.out.find("Exit status"), std::string::npos);
    EXPECT_EQ(run.err, "");
  }
}

TEST(OrbiluxBuild, VersionIsTheBuildsVersion) {
  TempDir dir;
  const Outcome run = RunBuild(dir, {"--version"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "orbilux-build (Orbilux Rezoziv) " + std::string(kProgramVersion) + "\n");
}

// Three pictures of different colours named so that a shell's * puts them
// out of natural order.
class OrderTest : public ::testing::Test {
 protected:
  OrderTest() {
    for (int i : {1, 2, 10}) {
      dir.Write("v" + std::to_string(i) + ".jpg", MakeJpeg(32, 32, {static_cast<std::uint8_t>(20 * i), 90, 200}));
    }
  }
  std::string Movie(const std::vector<std::string>& args, const std::string& input = "") {
    std::vector<std::string> all = {"-o", "m.swf"};
    all.insert(all.end(), args.begin(), args.end());
    Place place;
    place.input = input;
    const Outcome run = RunBuild(dir, all, place);
    EXPECT_EQ(run.status, 0) << run.err;
    return ReadText(dir.Path() / "m.swf");
  }
  TempDir dir;
};

TEST_F(OrderTest, ListsSortAndReverseGiveTheOrderAsked) {
  const std::string natural = Movie({"v1.jpg", "v2.jpg", "v10.jpg"});
  const std::string backwards = Movie({"v10.jpg", "v2.jpg", "v1.jpg"});
  ASSERT_NE(natural, backwards);
  EXPECT_EQ(Movie({"--sort", "v10.jpg", "v1.jpg", "v2.jpg"}), natural);
  EXPECT_EQ(Movie({"--from-file", "-"}, "v1.jpg\nv2.jpg\nv10.jpg\n"), natural);
  dir.Write("list", std::string("v2.jpg\0v10.jpg\0v1.jpg\0", 22));
  EXPECT_EQ(Movie({"--null", "--from-file=list", "--sort", "--reverse"}), backwards);
}

TEST_F(OrderTest, ArgumentsOutOfNaturalOrderWarnUnlessQuiet) {
  const std::string warning =
      "orbilux-build: warning: the pictures are not in natural name order: \"v10.jpg\" comes before "
      "\"v2.jpg\" (--sort puts them in that order)\n";
  const struct {
    std::vector<std::string> args;
    std::string err;
  } rows[] = {
      {{"-o", "m.swf", "v1.jpg", "v10.jpg", "v2.jpg"},
       warning + "Building a movie of 3 pictures\nTranslating is OK!!\n"},
      {{"-q", "-o", "m.swf", "v1.jpg", "v10.jpg", "v2.jpg"}, ""},
      {{"--sort", "-o", "m.swf", "v1.jpg", "v10.jpg", "v2.jpg"},
       "Building a movie of 3 pictures\nTranslating is OK!!\n"},
  };
  for (const auto& r : rows) {
    const Outcome run = RunBuild(dir, r.args);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, r.err);
  }
}

TEST(OrbiluxBuild, OptionFormsAndFilesAfterADoubleDash) {
  TempDir dir;
  dir.Write("-odd.jpg", MakeJpeg(64, 64));
  const std::string good = "-odd.jpg";
  const std::string a = (dir.Path() / "a.swf").string();
  const std::string b = (dir.Path() / "b.swf").string();
  EXPECT_EQ(RunBuild(dir, {"--output=" + a, "--", good}).status, 0);
  EXPECT_EQ(RunBuild(dir, {"-o" + b, "--", good}).status, 0);
  EXPECT_EQ(ReadText(a), ReadText(b));
  EXPECT_FALSE(ReadText(a).empty());
}

}  // namespace

namespace {

// Pictures in a folder as the whole-folder import would find them, and the
// same pictures named one by one in that order.
TEST(OrbiluxBuild, FolderTakesThePicturesInTheScansOrder) {
  TempDir dir;
  const std::string jpeg = MakeJpeg(64, 48);
  for (const char* name : {"pics/view10.jpg", "pics/view2.jpg", "pics/b.jpeg", "pics/x.jpg/inner.jpg",
                           "pics/plain/ignored.jpg", "pics/notes.txt", "extra.jpg"}) {
    dir.Write(name, jpeg);
  }
  const Outcome byFolder = RunBuild(dir, {"-o", "folder.swf", "extra.jpg", "--folder", "pics", "extra.jpg"});
  ASSERT_EQ(byFolder.status, 0) << byFolder.err;
  EXPECT_NE(byFolder.err.find("Building a movie of 6 pictures\n"), std::string::npos) << byFolder.err;
  const Outcome byName = RunBuild(dir, {"-o", "names.swf", "extra.jpg", "pics/view2.jpg", "pics/view10.jpg",
                                        "pics/x.jpg/inner.jpg", "pics/b.jpeg", "extra.jpg"});
  ASSERT_EQ(byName.status, 0) << byName.err;
  EXPECT_EQ(ReadText(dir.Path() / "folder.swf"), ReadText(dir.Path() / "names.swf"))
      << "relative names after the folder and the output still mean the starting folder";
  EXPECT_EQ(RunBuild(dir, {"-o", "eq.swf", "--folder=pics"}).status, 0);
}

TEST(OrbiluxBuild, FolderAndListErrorsExitWithOne) {
  TempDir dir;
  std::filesystem::create_directories(dir.Path() / "empty");
  const std::string gone = (dir.Path() / "gone").string();
  const struct {
    std::vector<std::string> args;
    std::string err;
  } rows[] = {
      {{"-o", "out.swf", "-f", gone},
       "orbilux-build: Cannot open folder \"" + gone + "\". No such file or directory\n"},
      {{"-o", "out.swf", "-f", "empty"}, "orbilux-build: There are no pictures to build.\n"},
      {{"-o", "out.swf", "--from-file", gone},
       "orbilux-build: Cannot open file \"" + gone + "\". No such file or directory\n"},
      {{"-o", "out.swf", "--from-file", "empty"}, "orbilux-build: Cannot open file \"empty\". Is a directory\n"},
      // Lists end at once where no list of pictures could go on.
      {{"-o", "out.swf", "--from-file", "/dev/zero"},
       "orbilux-build: The list \"/dev/zero\" holds NUL bytes: give --null for a list that find -print0 wrote.\n"},
      {{"-o", "out.swf", "--null", "--from-file", "/dev/zero"},
       "orbilux-build: The list \"/dev/zero\" has more than 21843 empty entries; it is no list of pictures.\n"},
      {{"-o", "out.swf", "--from-file", dir.Write("long", std::string(4097, 'a'))},
       "orbilux-build: The list \"" + (dir.Path() / "long").string() +
           "\" has a line longer than 4096 bytes, which no path can be.\n"},
      // Not one of the pictures is read.
      {{"-o", "out.swf", "--from-file", "many"},
       "orbilux-build: The list \"many\" names more than 21843 pictures, the most a movie can hold.\n"},
  };
  std::string many;
  for (int i = 0; i < 21844; ++i) many += "gone.jpg\n";
  dir.Write("many", many);
  for (const auto& r : rows) {
    const Outcome run = RunBuild(dir, r.args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, r.err);
  }
  Place closed;
  closed.inputClosed = true;
  EXPECT_EQ(RunBuild(dir, {"-o", "out.swf", "--from-file", "-"}, closed).err,
            "orbilux-build: Cannot read the list on standard input: it is closed.\n");
  const Outcome usage = RunBuild(dir, {"-o", "out.swf", "--folder"});
  EXPECT_EQ(usage.status, 2);
  EXPECT_EQ(usage.err, "orbilux-build: option --folder needs a folder name\nTry 'orbilux-build --help'.\n");
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "out.swf"));
}

}  // namespace

namespace {

// --web alone writes the movie -o writes into the folder (pictures no wider
// than a web width are carried as they are); a folder with something in it
// is replaced only with --force. The last line says what it made.
TEST(OrbiluxBuild, WebFolderWithTheSameMovieReplacedOnlyWithForce) {
  TempDir dir;
  const std::string jpeg = MakeJpeg(64, 48);
  dir.Write("a.jpg", jpeg);
  dir.Write("b.jpg", MakeJpeg(64, 48, {10, 200, 10}));
  ASSERT_EQ(RunBuild(dir, {"-o", "out.swf", "a.jpg", "b.jpg"}).status, 0);
  const Outcome web = RunBuild(dir, {"--web", "site", "a.jpg", "b.jpg"});
  ASSERT_EQ(web.status, 0) << web.err;
  EXPECT_EQ(ReadText(dir.Path() / "site" / "movie.swf"), ReadText(dir.Path() / "out.swf"));
  EXPECT_EQ(ReadText(dir.Path() / "site" / "pictures" / "64" / "001.jpg"), jpeg);
  const std::string last = web.err.substr(web.err.rfind('\n', web.err.size() - 2) + 1);
  EXPECT_EQ(last.rfind("Wrote the web folder \"site\": ", 0), 0u) << last;
  EXPECT_NE(last.find("on a phone (pictures 64 wide)"), std::string::npos) << last;

  const Outcome again = RunBuild(dir, {"--web", "site", "a.jpg"});
  EXPECT_EQ(again.status, 1);
  EXPECT_EQ(again.err, "orbilux-build: The folder \"site\" is not empty. Give --force to replace it.\n");
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / "site" / "pictures" / "64" / "002.jpg"));

  const Outcome forced = RunBuild(dir, {"--web", "site", "--force", "a.jpg"});
  EXPECT_EQ(forced.status, 0) << forced.err;
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "site" / "pictures" / "64" / "002.jpg"));
}

// --fit builds from copies fitted within the box, the movie their size; the
// pictures are only read.
TEST(OrbiluxBuild, FitBuildsFromScaledCopies) {
  TempDir dir;
  const std::string jpeg = MakeJpeg(64, 48);
  dir.Write("a.jpg", jpeg);
  const Outcome fit = RunBuild(dir, {"-o", "out.swf", "--fit", "32x32", "a.jpg"});
  ASSERT_EQ(fit.status, 0) << fit.err;
  const std::string movie = ReadText(dir.Path() / "out.swf");
  int pictures = 0;
  for (const SwfTag& tag : ReadSwfTags({reinterpret_cast<const std::uint8_t*>(movie.data()), movie.size()})) {
    if (tag.Code != 21) continue;  // DefineBitsJPEG2
    EXPECT_EQ(ReadJpegSize(tag.Body.subspan(2), "copy"), (JpegSize{32, 24}));
    ++pictures;
  }
  EXPECT_EQ(pictures, 1);
  EXPECT_EQ(ReadText(dir.Path() / "a.jpg"), jpeg);
}

// A socket file at path, left behind when its descriptor is closed.
void MakeSocket(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(path.size(), sizeof address.sun_path);
  std::strcpy(address.sun_path, path.c_str());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(fd);
}

// Files that are no pictures, and pictures that must not be built, are
// refused at once with the file named; nothing is written.
TEST(OrbiluxBuild, HostileFilesAndTargetsAreRefusedAtOnceAndNamed) {
  TempDir dir;
  const std::string good = dir.Write("good.jpg", MakeJpeg(64, 48));
  const std::string other = dir.Write("other.jpg", MakeJpeg(64, 48));
  const auto path = [&](const char* name) { return (dir.Path() / name).string(); };
  ASSERT_EQ(::mkfifo(path("fifo.jpg").c_str(), 0600), 0);
  MakeSocket(path("socket.jpg"));
  std::filesystem::create_symlink("/dev/zero", path("zero.jpg"));
  std::filesystem::create_directory(path("folder.jpg"));
  const std::string arithmetic = dir.Write("arith.jpg", WithFrameMarker(MakeJpeg(64, 48), 0xC9));
  std::filesystem::create_symlink(good, path("link.swf"));
  const std::string notRegular = ": not a regular file\n";
  const std::string overPicture = ": the movie would be written over this picture\n";
  const struct {
    const char* name;
    std::vector<std::string> args;
    std::string err;
  } rows[] = {
      {"a pipe", {"-o", "out.swf", good, path("fifo.jpg")}, path("fifo.jpg") + notRegular},
      {"a pipe first", {"-o", "out.swf", path("fifo.jpg"), good}, path("fifo.jpg") + notRegular},
      {"a character device", {"-o", "out.swf", good, "/dev/null"}, "/dev/null" + notRegular},
      {"a socket", {"-o", "out.swf", good, path("socket.jpg")}, path("socket.jpg") + notRegular},
      {"a link to /dev/zero", {"-o", "out.swf", good, path("zero.jpg")}, path("zero.jpg") + notRegular},
      {"a folder",
       {"-o", "out.swf", good, path("folder.jpg")},
       "Cannot open file \"" + path("folder.jpg") + "\". Is a directory\n"},
      {"an arithmetic-coded picture",
       {"-o", "out.swf", good, arithmetic},
       arithmetic + ": arithmetic-coded JPEG, which SWF players do not show\n"
                    "orbilux-build: One of the image's format and/or size is different!\nTranslating is terminated.\n"},
      {"the target is a picture", {"-o", good, good, other}, good + overPicture},
      {"the target is a picture by another name", {"-o", "./other.jpg", good, other}, other + overPicture},
      {"the target links to a picture", {"-o", "link.swf", other, good}, good + overPicture},
      {"the target is another photograph (-o *.jpg)", {"-o", good, other}, good + overPicture},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    const Outcome run = RunBuild(dir, r.args);  // a file read would not end: the test's time limit catches it
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.ends_with("orbilux-build: " + r.err)) << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "out.swf"));
    EXPECT_EQ(ReadText(good), MakeJpeg(64, 48));
    EXPECT_EQ(ReadText(other), MakeJpeg(64, 48));
  }
}

// Runs orbilux-build with its standard error on a pipe whose reader is
// gone, as with "2>&1 | head -1" once head has its line.
int RunWithClosedStandardError(const std::vector<std::string>& args) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return -1;
  ::close(pipeEnds[0]);
  std::vector<std::string> words = {ORBILUX_BUILD_PROGRAM};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, STDIN_FILENO);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(pipeEnds[1], STDERR_FILENO);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(pipeEnds[1]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(OrbiluxBuild, AClosedPipeOnStandardErrorLosesOnlyTheMessages) {
  TempDir dir;
  const std::string good = dir.Write("good.jpg", MakeJpeg(64, 48));
  const std::string target = (dir.Path() / "out.swf").string();
  EXPECT_EQ(RunWithClosedStandardError({"-o", target, good, good}), 0);
  EXPECT_TRUE(std::filesystem::exists(target));
  EXPECT_EQ(RunWithClosedStandardError({"-o", target, good, (dir.Path() / "gone.jpg").string()}), 1);
}

// The starting folder is remembered without reading it: a folder the user
// may only pass through (as another user's 0711 home) is fine.
TEST(OrbiluxBuild, BuildsFromAFolderThatCannotBeRead) {
  TempDir dir;
  const std::string jpeg = MakeJpeg(64, 48);
  dir.Write("pics/a.jpg", jpeg);
  std::filesystem::create_directories(dir.Path() / "out");
  std::filesystem::create_directories(dir.Path() / "here");
  std::filesystem::permissions(dir.Path() / "out", std::filesystem::perms::all);
  std::filesystem::permissions(dir.Path() / "here", std::filesystem::perms::owner_exec |
                                                        std::filesystem::perms::group_exec |
                                                        std::filesystem::perms::others_exec);
  // Root may read any folder: the program runs as nobody then, for whom the
  // test's own folder must be passable.
  Place place{"here", ""};
  if (::geteuid() == 0) {
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_all | std::filesystem::perms::group_exec |
                                                 std::filesystem::perms::others_exec);
    place.runAs = "setpriv --reuid=65534 --regid=65534 --clear-groups";
  }
  const Outcome run = RunBuild(dir, {"-o", "../out/movie.swf", "--folder", "../pics", "../pics/a.jpg"}, place);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / "out" / "movie.swf"));
}

}  // namespace

namespace {

// Where --web may go, run from work/inner: each target is refused, naming
// it, or replaced; every other file keeps its bytes.
TEST(OrbiluxBuild, WebFolderTakesOnlyAnEmptyPlaceOrAWebFolder) {
  TempDir dir;
  const std::string picture = dir.Write("pics/a.jpg", MakeJpeg(64, 48));
  dir.Write("work/inner/keep.txt", "inner");
  dir.Write("work/keep.txt", "work");
  dir.Write("other/notes.txt", "notes");
  dir.Write("home/.profile", "profile");
  dir.Write("mnt/keep.txt", "mounted over");
  std::filesystem::create_directories(dir.Path() / "mnt/point");
  std::filesystem::create_directories(dir.Path() / "empty");
  ASSERT_EQ(RunBuild(dir, {"--web", "site", picture}).status, 0);
  dir.Write("site/own.txt", "the user's own file in a web folder");
  const std::string root = dir.Path().string();
  const std::string longName(250, 'w');
  const bool canMount = std::system("unshare -m true 2>/dev/null") == 0;
  const std::string inNamespace =
      "unshare -m sh -c 'mount -t tmpfs tmpfs \"" + root + "/mnt/point\" && exec \"$0\" \"$@\"'";
  const auto never = [](const std::string& folder, const std::string& why) {
    return "The folder \"" + folder + "\" " + why + "; the web folder cannot replace it.";
  };
  const struct {
    const char* name;
    std::vector<std::string> args;
    std::string runAs;
    std::string error;      // "" for a folder written at written
    std::string written{};  // relative to the test's folder
  } rows[] = {
      {"the current folder", {"--web", ".", "--force"}, "", never(".", "is the current folder or holds it")},
      {"its parent", {"--web", "..", "--force"}, "", never("..", "is the current folder or holds it")},
      {"an ancestor", {"--web", root, "--force"}, "", never(root, "is the current folder or holds it")},
      {"the home folder",
       {"--web", root + "/home", "--force"},
       "env HOME=" + root + "/home",
       never(root + "/home", "is the home folder or holds it")},
      {"a folder of other files",
       {"--web", "../../other", "--force"},
       "",
       "The folder \"../../other\" holds files this tool did not write; choose an empty folder or a new name."},
      {"a folder holding a mount point",
       {"--web", "../../mnt", "--force"},
       inNamespace,
       never("../../mnt", "holds the mount point \"" + root + "/mnt/point\"")},
      {"a web folder, without --force",
       {"--web", "../../site"},
       "",
       "The folder \"../../site\" is not empty. Give --force to replace it."},
      {"the same place as the movie",
       {"--web", "../../new", "-o", "../../new"},
       "",
       "The movie and the web folder cannot both be \"../../new\"."},
      {"a web folder", {"--web", "../../site", "--force"}, "", "", "site"},
      {"an empty folder", {"--web", "../../empty"}, "", "", "empty"},
      {"a new folder with a name of 250 bytes", {"--web", "../../" + longName}, "", "", longName},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    if (r.runAs == inNamespace && !canMount) {
      std::printf("skipped \"%s\": no mount namespace here\n", r.name);
      continue;
    }
    FolderTree before = ReadTree(dir.Path());
    std::vector<std::string> args = r.args;
    args.push_back(picture);
    const Outcome run = RunBuild(dir, args, Place{"work/inner", r.runAs});
    FolderTree after = ReadTree(dir.Path());
    if (r.error.empty()) {
      EXPECT_EQ(run.status, 0) << run.err;
      EXPECT_TRUE(after.contains(r.written + "/" + kWebFolderStampName));
      std::erase_if(before, [&](const auto& file) { return file.first.starts_with(r.written + "/"); });
      std::erase_if(after, [&](const auto& file) { return file.first.starts_with(r.written + "/"); });
    } else {
      EXPECT_EQ(run.status, 1);
      EXPECT_EQ(run.err, "orbilux-build: " + r.error + "\n");
    }
    EXPECT_EQ(after, before);
  }
}

// A run that finds what a killed run left beside its targets removes it and
// says so; what another run holds, or what only looks alike, stays.
TEST(OrbiluxBuild, RemovesWhatKilledRunsLeftBehind) {
  TempDir dir;
  const std::string picture = dir.Write("a.jpg", MakeJpeg(64, 48));
  // Each with the path it is named by: the web folder's place is resolved.
  const std::vector<std::pair<std::string, std::string>> left = {
      {".out.swf.a1b2c3.part", ".out.swf.a1b2c3.part"},
      {".site.part-Ab12Cd", (dir.Path() / ".site.part-Ab12Cd").string()}};
  const std::vector<std::string> kept = {".out.swf.A1B2C3.part", ".out.swf.a1b2c3.parts", ".site.part-Ab12Cd7",
                                         ".sitx.part-Ab12Cd", ".site.part-Held01"};
  dir.Write(left[0].first, "part of a movie");
  dir.Write(left[1].first + "/pictures/001.jpg", "part of a web folder");
  for (const std::string& name : kept) dir.Write(name + "/file", "not a leftover");
  const int held = ::open((dir.Path() / ".site.part-Held01").c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0) << "a run still writing";
  const Outcome run = RunBuild(dir, {"-o", "out.swf", "--web", "site", picture});
  ::close(held);
  EXPECT_EQ(run.status, 0) << run.err;
  for (const auto& [name, shown] : left) {
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / name)) << name;
    const std::string line = "orbilux-build: warning: removed \"" + shown + "\", left by a run that was stopped\n";
    EXPECT_NE(run.err.find(line), std::string::npos) << run.err;
  }
  for (const std::string& name : kept) EXPECT_TRUE(std::filesystem::exists(dir.Path() / name / "file")) << name;
}

}  // namespace
