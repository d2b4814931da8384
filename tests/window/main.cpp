// The window tests need one QApplication for the whole run.
#include <gtest/gtest.h>

#include <QApplication>

namespace {

// The offscreen platform warns on every window it shows that it cannot pass
// size hints on; that says nothing about the code under test.
QtMessageHandler standardHandler = nullptr;

void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains("does not support propagateSizeHints")) return;
  if (standardHandler) standardHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  standardHandler = qInstallMessageHandler(QuietHandler);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
