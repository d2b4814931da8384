// A path's bytes become text and back without a byte lost or changed.

#include <gtest/gtest.h>

#include <string>

#include "tests/window/QtPrinters.h"
#include "window/text/PathText.h"

namespace {

TEST(PathText, EveryByteSurvivesTheWayToTextAndBack) {
  const struct {
    const char* name;
    std::string bytes;
  } rows[] = {
      {"ASCII", "/home/ann/view1.jpg"},
      {"UTF-8 of two, three and four bytes", "/home/j\xC3\xB6rg/\xE5\xB1\x95\xE7\xA4\xBA/\xF0\x9F\x93\xB7.jpg"},
      {"a Latin-1 byte", "/tmp/caf\xE9.jpg"},
      {"every byte above 7F alone",
       [] {
         std::string all;
         for (int b = 0x80; b <= 0xFF; ++b) all += static_cast<char>(b);
         return all;
       }()},
      {"an overlong slash",
       "/a\xC0\xAF"
       "b"},
      {"an encoded surrogate",
       "/a\xED\xA0\x80"
       "b"},
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

}  // namespace
