// The window answers while a slow picture decodes and while a build runs,
// and takes no command that would change the list under the build.

#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QMetaObject>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

#include "tests/window/MainWindowFixture.h"

namespace {

// The progressive JPEG with its last scan (and the tables before it) repeated,
// as a file padded with cheap extra scans is: every scan costs the decoder a
// pass over all the picture's blocks.
std::string WithRepeatedLastScan(const std::string& jpeg, int copies) {
  const auto markerAfter = [&](std::size_t sos) {
    std::size_t at = sos + 2 + (static_cast<unsigned char>(jpeg[sos + 2]) << 8 | static_cast<unsigned char>(jpeg[sos + 3]));
    while (!(jpeg[at] == '\xFF' && jpeg[at + 1] != '\0' && (jpeg[at + 1] < '\xD0' || jpeg[at + 1] > '\xD7'))) ++at;
    return at;
  };
  const std::size_t last = jpeg.rfind("\xFF\xDA");
  const std::size_t previous = jpeg.rfind("\xFF\xDA", last - 1);
  const std::size_t from = markerAfter(previous);
  const std::size_t end = markerAfter(last);
  std::string padded = jpeg.substr(0, end);
  for (int i = 0; i < copies; ++i) padded += jpeg.substr(from, end - from);
  return padded + jpeg.substr(end);
}

// How long the event loop takes to deliver a call posted now.
qint64 RoundTripMs(QObject& receiver) {
  QElapsedTimer clock;
  clock.start();
  bool delivered = false;
  QMetaObject::invokeMethod(&receiver, [&] { delivered = true; }, Qt::QueuedConnection);
  while (!delivered) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  return clock.elapsed();
}

using ResponsivenessTest = MainWindowTest;

TEST_F(ResponsivenessTest, TheWindowAnswersWhileTheStripDecodesASlowPicture) {
  const QString slow =
      QString::fromStdString(pictures.Write("slow.jpg", WithRepeatedLastScan(MakeJpeg(1024, 1024, {90, 120, 200}, true), 1000)));
  Import({slow});
  form.PaintBox1->repaint();
  ASSERT_TRUE(form.ThumbnailsPending());
  qint64 longest = 0;
  while (form.ThumbnailsPending()) {
    form.PaintBox1->update();  // a pass in the loop, as scrolling or a click asks for
    longest = std::max(longest, RoundTripMs(form));
    (void)QTest::qWaitFor([this] { return !form.ThumbnailsPending(); }, 10);  // paces the samples
  }
  EXPECT_LT(longest, 100);
  PaintStrip();
  EXPECT_LT(form.PaintBox1->grab().toImage().pixelColor(70, 70).red(), 150) << "the picture, not the grey placeholder";
}

TEST_F(ResponsivenessTest, TheWindowAnswersButTakesNoCommandWhileABuildRuns) {
  Import(SomePictures(3));
  PaintStrip();
  dialogs.SavePath = QString::fromStdString((pictures.Path() / "movie.swf").string());
  bool returned = false;
  bool answered = false;
  bool commandsOff = false;
  dialogs.AfterSave = [&] {
    QTimer::singleShot(0, &form, [&] {
      answered = !returned;
      commandsOff = !form.menuBar()->isEnabled() && !form.ToolBar1->isEnabled();
      form.PaintBox1MouseDown(70);  // would select the first picture
    });
  };
  form.Build1->trigger();
  returned = true;
  EXPECT_TRUE(answered);
  EXPECT_TRUE(commandsOff);
  EXPECT_EQ(form.PictureList.SelectedIndex(), -1);
  EXPECT_TRUE(form.menuBar()->isEnabled() && form.ToolBar1->isEnabled());
  EXPECT_EQ(form.StaticText1->text(), "Translating is OK!!");
  EXPECT_FALSE(form.PanelBuilding->isVisible());
}

}  // namespace
