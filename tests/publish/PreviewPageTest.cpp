#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "common/Errors.h"
#include "publish/PreviewPage.h"
#include "tests/support/TempDir.h"

namespace {

// The page with its three variable places filled in by hand.
std::string Page(const std::string& size, const std::string& address, const std::string& shown) {
  return "<p align=\"center\">\r\n"
         "<object classid=\"clsid:D27CDB6E-AE6D-11CF-96B8-444553540000\" id=\"obj1\" "
         "codebase=\"http://download.macromedia.com/pub/shockwave/cabs/flash/swflash.cab#version=6,0,40,0\" "
         "border=\"0\" width=\"\r\n" +
         size + "\">\r\n" + "<param name=\"movie\" value=\"" + address + "\">\r\n" +
         "<param name=\"quality\" value=\"High\">\r\n" + "<embed src=\"" + address +
         "\" pluginspage=\"http://www.macromedia.com/go/getflashplayer\" "
         "type=\"application/x-shockwave-flash\" name=\"obj1\"   quality=\"High\"></object></p>\r\n" +
         "<br><font size=2><font face=\"Tahoma\"><center>Now you can publish this exciting work above!! "
         "File location-&gt;<font color=\"FF0000\">" +
         shown + "\r\n";
}

TEST(PreviewPage, TextByteForByte) {
  const struct {
    const char* path;
    int width, height;
    const char* size;     // line 3 up to its closing bracket
    const char* address;  // the path in lines 4 and 6
    const char* shown;    // the path in line 7
  } rows[] = {
      {"/home/ann/show.swf", 550, 400, "550\" height=\"400", "/home/ann/show.swf", "/home/ann/show.swf"},
      {"C:\\My Pictures\\show.swf", 640, 480, "640\" height=\"480", "C:%5CMy Pictures%5Cshow.swf",
       "C:\\My Pictures\\show.swf"},
      {"/home/ann/my turn-table_2.v1.swf", 1, 2147483647, "1\" height=\"2147483647", "/home/ann/my turn-table_2.v1.swf",
       "/home/ann/my turn-table_2.v1.swf"},
      {"/home/jörg/Фото/展示.swf", 800, 600, "800\" height=\"600",
       "/home/j%C3%B6rg/%D0%A4%D0%BE%D1%82%D0%BE/%E5%B1%95%E7%A4%BA.swf", "/home/jörg/Фото/展示.swf"},
      {"/tmp/caf\xE9.swf", 550, 400, "550\" height=\"400", "/tmp/caf%E9.swf", "/tmp/caf\xE9.swf"},
      {"/tmp/new\nline\ttab\x7F.swf", 550, 400, "550\" height=\"400", "/tmp/new%0Aline%09tab%7F.swf",
       "/tmp/new\nline\ttab\x7F.swf"},
      {"//host/share/x.swf", 550, 400, "550\" height=\"400", "/host/share/x.swf", "//host/share/x.swf"},
      {"///a//b.swf", 550, 400, "550\" height=\"400", "/a//b.swf", "///a//b.swf"},
      {"/tmp/a\"><script>x</script>.swf", 550, 400, "550\" height=\"400",
       "/tmp/a&quot;&gt;&lt;script&gt;x&lt;/script&gt;.swf", "/tmp/a&quot;&gt;&lt;script&gt;x&lt;/script&gt;.swf"},
      {"/tmp/R&D/x.swf", 550, 400, "550\" height=\"400", "/tmp/R&amp;D/x.swf", "/tmp/R&amp;D/x.swf"},
      {"/tmp/#1?/100%.swf", 550, 400, "550\" height=\"400", "/tmp/%231%3F/100%25.swf", "/tmp/#1?/100%.swf"},
      {"/tmp/%23&.swf", 550, 400, "550\" height=\"400", "/tmp/%2523&amp;.swf", "/tmp/%23&amp;.swf"},
      {"", -1, 0, "-1\" height=\"0", "", ""},
  };
  for (const auto& r : rows)
    EXPECT_EQ(PreviewPageText(r.path, r.width, r.height), Page(r.size, r.address, r.shown)) << r.path;
}

TEST(PreviewPage, SevenLinesEachEndingInCrLf) {
  const std::string page = PreviewPageText("/home/ann/show.swf", 550, 400);
  ASSERT_GE(page.size(), 2u);
  EXPECT_EQ(page.substr(page.size() - 2), "\r\n");
  int lines = 0;
  for (std::size_t i = 0; i < page.size(); ++i) {
    if (page[i] == '\n') {
      ++lines;
      EXPECT_EQ(page[i - 1], '\r') << "at byte " << i;
    }
    if (page[i] == '\r') {
      EXPECT_EQ(page[i + 1], '\n') << "at byte " << i;
    }
  }
  EXPECT_EQ(lines, 7);
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(PreviewPage, SaveReplacesTheFile) {
  TempDir dir;
  const std::string path = dir.Write("test.html", std::string(5000, 'x'));
  SavePreviewPage(path, "short\r\n");
  EXPECT_EQ(ReadAll(path), "short\r\n");
}

TEST(PreviewPage, SaveReplacesALinkInThePagesPlaceInsteadOfWritingThroughIt) {
  TempDir dir;
  const std::string victim = dir.Write("victim.txt", "keep");
  const auto page = dir.Path() / "test.html";
  std::filesystem::create_symlink(victim, page);
  SavePreviewPage(page.string(), "page\r\n");
  EXPECT_EQ(ReadAll(victim), "keep");
  EXPECT_FALSE(std::filesystem::is_symlink(page));
  EXPECT_EQ(ReadAll(page), "page\r\n");
}

TEST(PreviewPage, SaveThatCannotCreateTheFileSaysWhichAndWhy) {
  TempDir dir;
  const std::string path = (dir.Path() / "missing" / "test.html").string();
  try {
    SavePreviewPage(path, "page");
    FAIL() << "no error";
  } catch (const FileCreateError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + path + "\". No such file or directory");
  }
}

}  // namespace
