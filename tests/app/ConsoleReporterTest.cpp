#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/ConsoleReporter.h"

namespace {

// Drives a reporter as a three-picture build does, with a warning first, and
// returns its output.
std::string Progress(Verbosity level, bool terminal, bool succeeds) {
  std::FILE* out = std::tmpfile();
  {
    ConsoleReporter r(out, terminal, level);
    r.Warn("look");
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

TEST(ConsoleReporter, SaysAsMuchAsTheVerbosityAsksWhereverItWrites) {
  const std::string warning = "orbilux-build: warning: look\n";
  const std::string bar = "\rBuilding [" + std::string(13, '#') + std::string(27, '.') + "] 1/3" +  //
                          "\rBuilding [" + std::string(26, '#') + std::string(14, '.') + "] 2/3" +  //
                          "\rBuilding [" + std::string(40, '#') + "] 3/3";
  const std::string lines = "Building picture 1 of 3\nBuilding picture 2 of 3\nBuilding picture 3 of 3\n";
  const std::string done = "Translating is OK!!\n";
  const struct {
    Verbosity level;
    bool terminal, succeeds;
    std::string expected;
  } rows[] = {
      {Verbosity::Quiet, true, true, ""},
      {Verbosity::Quiet, false, true, ""},
      {Verbosity::Normal, true, true, warning + bar + "\n" + done},
      // A failed build ends the bar's line, so the error starts on its own.
      {Verbosity::Normal, true, false, warning + bar + "\n"},
      {Verbosity::Normal, false, true, warning + "Building a movie of 3 pictures\n" + done},
      {Verbosity::Verbose, true, true, warning + lines + done},
      {Verbosity::Verbose, false, true, warning + lines + done},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(Progress(r.level, r.terminal, r.succeeds), r.expected)
        << "level " << static_cast<int>(r.level) << (r.terminal ? ", terminal" : ", no terminal")
        << (r.succeeds ? "" : ", failing");
  }
}

}  // namespace
