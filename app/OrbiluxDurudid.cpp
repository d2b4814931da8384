// The program: the main window first, then the folder chooser and the about
// dialog, both hidden until a command shows them, then the event loop.

#include <QApplication>
#include <cstdio>
#include <cstring>
#include <optional>

#include "generated/BuildInfo.h"
#include "window/dialogs/QtDialogs.h"
#include "window/main/Unit1.h"
#include "window/preview/PreviewScheme.h"

namespace {

constexpr const char* kUsage =
    "Usage: OrbiluxDurudid [--help | --version] [Qt options]\n"
    "Opens the window of Orbilux Rezoziv, which turns a series of same-size JPEG\n"
    "photos into one SWF movie in which the viewer turns the object by dragging.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "      --version  show the version and exit\n"
    "\n"
    "Qt's own options (-platform, -style, ...) are taken as in any Qt program.\n"
    "orbilux-build builds the same movies from the command line.\n";

// --help and --version answer before any window, so they work without a display.
bool AnsweredOnTheCommandLine(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("%s\n", VersionLine("OrbiluxDurudid").c_str());
      return true;
    }
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (AnsweredOnTheCommandLine(argc, argv)) return 0;
  RegisterPreviewScheme();
  QApplication application(argc, argv);
  QApplication::setApplicationName("OrbiluxDurudid");
  QApplication::setApplicationVersion(kProgramVersion);
  // The desktop matches the windows to the menu entry of this name.
  QGuiApplication::setDesktopFileName(kDesktopId);

  std::optional<QtDialogs> dialogs;
  TForm1 Form1([&dialogs](TForm1& window) -> WindowDialogs& { return dialogs.emplace(window, window.ImportFolder); });

  Form1.show();
  return application.exec();
}
