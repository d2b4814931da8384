#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "common/Errors.h"
#include "common/FileReplace.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Replace(const std::string& path, const std::string& text, FileSystem& files = SystemFileSystem()) {
  ReplaceFileContent(path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, files);
}

bool HasPartialFile(const fs::path& folder) {
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().string().ends_with(".part")) return true;
  }
  return false;
}

struct stat StatOf(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info;
}

// What a replacement keeps of the file it replaces.
TEST(FileReplace, KeepsWhatTheOldFileWas) {
  struct Row {
    const char* name;
    std::function<std::string(const TempDir&)> prepare;  // makes the old file, gives the target
    std::function<void(const TempDir&)> check;           // after "new" was written
  };
  const auto old = [](const TempDir& d, const char* name = "movie.swf") { return d.Write(name, "old"); };
  const auto mode = [](const fs::path& p) { return StatOf(p).st_mode & 07777; };
  const bool root = ::geteuid() == 0;
  const Row rows[] = {
      {"a link: the file it names is replaced, the link stays",
       [&](const TempDir& d) {
         old(d, "sub/movie.swf");
         fs::create_symlink("sub/movie.swf", d.Path() / "link.swf");
         return (d.Path() / "link.swf").string();
       },
       [](const TempDir& d) {
         EXPECT_TRUE(fs::is_symlink(d.Path() / "link.swf"));
         EXPECT_EQ(Read(d.Path() / "sub" / "movie.swf"), "new");
       }},
      {"a link to a file not yet there",
       [&](const TempDir& d) {
         fs::create_symlink("made.swf", d.Path() / "link.swf");
         return (d.Path() / "link.swf").string();
       },
       [](const TempDir& d) {
         EXPECT_TRUE(fs::is_symlink(d.Path() / "link.swf"));
         EXPECT_EQ(Read(d.Path() / "made.swf"), "new");
       }},
      {"mode 0600",
       [&](const TempDir& d) {
         const std::string p = old(d);
         fs::permissions(p, fs::perms::owner_read | fs::perms::owner_write);
         return p;
       },
       [&](const TempDir& d) { EXPECT_EQ(mode(d.Path() / "movie.swf"), 0600u); }},
      {"mode 0664 under umask 022",
       [&](const TempDir& d) {
         const std::string p = old(d);
         ::chmod(p.c_str(), 0664);
         return p;
       },
       [&](const TempDir& d) { EXPECT_EQ(mode(d.Path() / "movie.swf"), 0664u); }},
      {"a second hard link sees the new movie",
       [&](const TempDir& d) {
         const std::string p = old(d);
         fs::create_hard_link(p, d.Path() / "second.swf");
         return p;
       },
       [](const TempDir& d) {
         EXPECT_EQ(Read(d.Path() / "second.swf"), "new");
         EXPECT_EQ(StatOf(d.Path() / "movie.swf").st_ino, StatOf(d.Path() / "second.swf").st_ino);
       }},
      {"owner and group, where allowed (as root)",
       [&](const TempDir& d) {
         const std::string p = old(d);
         if (root) {
           EXPECT_EQ(::chown(p.c_str(), 65534, 65534), 0);
         }
         return p;
       },
       [&](const TempDir& d) {
         const struct stat info = StatOf(d.Path() / "movie.swf");
         EXPECT_EQ(info.st_uid, root ? 65534u : ::geteuid());
         EXPECT_EQ(info.st_gid, root ? 65534u : ::getegid());
       }},
      {"a name of 255 bytes", [](const TempDir& d) { return (d.Path() / std::string(251, 'm')).string() + ".swf"; },
       [](const TempDir& d) { EXPECT_EQ(Read(d.Path() / (std::string(251, 'm') + ".swf")), "new"); }},
  };
  const mode_t savedMask = ::umask(022);
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    TempDir dir;
    EXPECT_NO_THROW(Replace(r.prepare(dir), "new"));
    r.check(dir);
    EXPECT_FALSE(HasPartialFile(dir.Path()));
  }
  ::umask(savedMask);
}

// A target that is not a regular file is refused and left as it was.
TEST(FileReplace, RefusesTargetsThatAreNoRegularFile) {
  TempDir dir;
  const fs::path fifo = dir.Path() / "fifo.swf";
  const fs::path device = dir.Path() / "null.swf";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_symlink("/dev/null", device);
  for (const fs::path& target : {fifo, device}) {
    try {
      Replace(target, "new");
      ADD_FAILURE() << target << " was replaced";
    } catch (const FileRefusedError& e) {
      EXPECT_EQ(e.what(), target.string() + ": not a regular file");
    }
  }
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_EQ(fs::read_symlink(device), "/dev/null");
  EXPECT_FALSE(HasPartialFile(dir.Path()));
}

// Sends itself a signal once the first bytes of the new file are written.
class InterruptedWrite : public FileSystem {
 public:
  explicit InterruptedWrite(int signal) : signal_(signal) {}
  ssize_t Write(int fd, const void* data, std::size_t size) override {
    const ssize_t n = FileSystem::Write(fd, data, size / 2);
    ::raise(signal_);
    return n;
  }

 private:
  int signal_;
};

TEST(FileReplace, AStopSignalMidWriteLeavesTheOldFileWholeAndNoPartialFile) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    TempDir dir;
    const std::string target = dir.Write("movie.swf", "the old movie");
    InterruptedWrite interrupted(signal);
    EXPECT_EXIT(
        {
          RemovePartialFilesOnSignals();
          Replace(target, std::string(1 << 20, 'n'), interrupted);
        },
        testing::KilledBySignal(signal), "");
    EXPECT_EQ(Read(target), "the old movie");
    EXPECT_FALSE(HasPartialFile(dir.Path()));
  }
}

}  // namespace
