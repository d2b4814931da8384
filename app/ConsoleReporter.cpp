#include "app/ConsoleReporter.h"

#include <string>

namespace {
constexpr int kBarWidth = 40;
}

void ConsoleReporter::ShowProgressPanel(bool visible) {
  if (!visible) EndBarLine();
}

void ConsoleReporter::SetProgressMaximum(int maximum) {
  maximum_ = maximum;
  if (level_ != Verbosity::Normal || terminal_) return;
  const int total = maximum + 1;
  std::fprintf(out_, "Building a movie of %d picture%s\n", total, total == 1 ? "" : "s");
}

void ConsoleReporter::SetProgressPosition(int position) {
  const int total = maximum_ + 1;
  const int done = position + 1;
  if (level_ == Verbosity::Verbose) {
    std::fprintf(out_, "Building picture %d of %d\n", done, total);
    return;
  }
  if (level_ == Verbosity::Quiet || !terminal_) return;
  const int filled = total > 0 ? done * kBarWidth / total : kBarWidth;
  const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                          std::string(static_cast<std::size_t>(kBarWidth - filled), '.');
  std::fprintf(out_, "\rBuilding [%s] %d/%d", bar.c_str(), done, total);
  std::fflush(out_);
  barDrawn_ = true;
}

void ConsoleReporter::SetStatusText(const std::string& text) {
  if (level_ == Verbosity::Quiet) return;
  EndBarLine();
  std::fprintf(out_, "%s\n", text.c_str());
}

void ConsoleReporter::Warn(const std::string& text) {
  if (level_ == Verbosity::Quiet) return;
  EndBarLine();
  std::fprintf(out_, "orbilux-build: warning: %s\n", text.c_str());
}

void ConsoleReporter::Say(const std::string& text) {
  if (level_ == Verbosity::Quiet) return;
  EndBarLine();
  std::fprintf(out_, "%s\n", text.c_str());
}

void ConsoleReporter::EndBarLine() {
  if (!barDrawn_) return;
  std::fputc('\n', out_);
  barDrawn_ = false;
}
