#pragma once
// The command-line builder's progress on standard error, as much as the
// verbosity asks for:
//   quiet    nothing (errors are printed apart from the reporter);
//   normal   on a terminal a bar redrawn in place, elsewhere (a log, a pipe)
//            a start line; then the result line;
//   verbose  a line per picture, then the result line.
// Warnings come in all but quiet mode.

#include <cstdio>
#include <string>

#include "app/BuildOptions.h"
#include "movie/MovieWriter.h"

class ConsoleReporter : public BuildReporter {
 public:
  ConsoleReporter(std::FILE* out, bool terminal, Verbosity level = Verbosity::Normal)
      : out_(out), terminal_(terminal), level_(level) {}
  void ShowProgressPanel(bool visible) override;
  void SetProgressMaximum(int maximum) override;
  void SetProgressPosition(int position) override;
  void SetStatusText(const std::string& text) override;
  // A picture that builds but will show wrong, pictures out of order:
  // "orbilux-build: warning: TEXT" on a line of its own.
  void Warn(const std::string& text);
  // A result line, such as what the web folder holds, in all but quiet mode.
  void Say(const std::string& text);

 private:
  void EndBarLine();

  std::FILE* out_;
  bool terminal_;
  Verbosity level_;
  int maximum_ = 0;
  bool barDrawn_ = false;
};
