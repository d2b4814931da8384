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

#include "tests/support/ManyScanJpeg.h"
#include "tests/window/MainWindowFixture.h"

namespace {

// How long the event loop takes to deliver a call posted now.
qint64 RoundTripMs(QObject& receiver) {
  QElapsedTimer clock;
  clock.start();
  bool delivered = false;
  QMetaObject::invokeMethod(
      &receiver, [&] { delivered = true; }, Qt::QueuedConnection);
  while (!delivered) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  return clock.elapsed();
}

using ResponsivenessTest = MainWindowTest;

TEST_F(ResponsivenessTest, TheWindowAnswersWhileTheStripDecodesASlowPicture) {
  const QString slow = QString::fromStdString(pictures.Write("slow.jpg", MakeManyScanJpeg(2048, 2048, 10000)));
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
