#include "app/ConsoleReporter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// Drives a reporter as a three-picture build does and returns its output.
std::string Progress(bool terminal, bool succeeds) {
  std::FILE* out = std::tmpfile();
  {
    ConsoleReporter r(out, terminal);
    r.ShowProgressPanel(true);
    r.SetProgressMaximum(2);
    for (int i = 0; i < 3; ++i) r.SetProgressPosition(i);
    if (succeeds) r.SetStatusText("Translating is OK!!");
    r.ShowProgressPanel(false);
  }
  std::string text(static_cast<std::size_t>(std::ftell(out)), '\0');
  std::rewind(out);
  text.resize(std::fread(text.data(), 1, text.size(), out));
  std::fclose(out);
  return text;
}

TEST(ConsoleReporter, DrawsABarInPlaceOnATerminal) {
  const std::string bar1 = "\rBuilding [" + std::string(13, '#') + std::string(27, '.') + "] 1/3";
  const std::string bar2 = "\rBuilding [" + std::string(26, '#') + std::string(14, '.') + "] 2/3";
  const std::string bar3 = "\rBuilding [" + std::string(40, '#') + "] 3/3";
  EXPECT_EQ(Progress(true, true), bar1 + bar2 + bar3 + "\nTranslating is OK!!\n");
  // A failed build ends the bar's line, so the error starts on its own.
  EXPECT_EQ(Progress(true, false), bar1 + bar2 + bar3 + "\n");
}

TEST(ConsoleReporter, WritesPlainLinesElsewhere) {
  EXPECT_EQ(Progress(false, true),
            "Building picture 1 of 3\nBuilding picture 2 of 3\nBuilding picture 3 of 3\n"
            "Translating is OK!!\n");
}

}  // namespace
