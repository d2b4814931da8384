// The window tests need one QApplication for the whole run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>

#include "window/preview/PreviewScheme.h"

namespace {

void SetDefault(const char* name, const QByteArray& value) {
  if (qEnvironmentVariableIsEmpty(name)) qputenv(name, value);
}

// The offscreen platform warns on every window it shows that it cannot pass
// size hints on; that says nothing about the code under test.
QtMessageHandler standardHandler = nullptr;

void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains("does not support propagateSizeHints")) return;
  if (standardHandler) standardHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
  SetDefault("QT_QPA_PLATFORM", "offscreen");
  // The web engine draws in software here (no GPU), and its sandbox cannot
  // run as root, as tests on a build machine often do.
  SetDefault("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
  if (geteuid() == 0) SetDefault("QTWEBENGINE_DISABLE_SANDBOX", "1");
  RegisterPreviewScheme();
  QApplication app(argc, argv);
  standardHandler = qInstallMessageHandler(QuietHandler);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
