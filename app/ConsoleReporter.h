#pragma once
// The command-line builder's progress on standard error: a bar redrawn in
// place on a terminal, one plain line per picture otherwise (a log, a pipe).

#include <cstdio>
#include <string>

#include "movie/MovieWriter.h"

class ConsoleReporter : public BuildReporter {
 public:
  ConsoleReporter(std::FILE* out, bool terminal) : out_(out), terminal_(terminal) {}
  void ShowProgressPanel(bool visible) override;
  void SetProgressMaximum(int maximum) override { maximum_ = maximum; }
  void SetProgressPosition(int position) override;
  void SetStatusText(const std::string& text) override;
  // A picture that builds but will show wrong: "orbilux-build: warning: TEXT".
  void Warn(const std::string& text);

 private:
  void EndBarLine();

  std::FILE* out_;
  bool terminal_;
  int maximum_ = 0;
  bool barDrawn_ = false;
};
