// Paths are bytes from the file system to the movie and its preview: names
// that are not UTF-8, or that hold characters an address treats specially,
// are imported, built and previewed as they are.

#include <QHelpEvent>
#include <QLabel>
#include <QSignalSpy>
#include <QTextDocument>
#include <QToolTip>
#include <memory>

#include "tests/window/MainWindowFixture.h"
#include "tests/window/PreviewSupport.h"
#include "window/preview/PreviewBrowser.h"
#include "window/text/PathText.h"

namespace fs = std::filesystem;

namespace {

// A Latin-1 name in a folder import comes into the list as it is, is
// measured and built into a movie with such a name.
TEST_F(MainWindowTest, ImportsAndBuildsNamesThatAreNotUtf8) {
  const std::string folder = (pictures.Path() / "shots").string();
  pictures.Write("shots/caf\xE9.jpg", MakeJpeg(64, 48));
  pictures.Write(
      "shots/d\xFC"
      "ne.jpg",
      MakeJpeg(64, 48));
  dialogs.FolderChooser = [&] { form.ImportFolder = PathToText(folder); };
  form.FullFolder1->trigger();
  Settle();
  ASSERT_EQ(form.PictureList.Count(), 2);
  EXPECT_EQ(form.PictureList.At(0).Path, folder + "/caf\xE9.jpg");
  EXPECT_EQ(form.PictureList.At(1).Path, folder +
                                             "/d\xFC"
                                             "ne.jpg");
  PaintStrip();
  ASSERT_TRUE(form.Build1->isEnabled());

  const std::string movie = (pictures.Path() / "caf\xE9.swf").string();
  dialogs.SavePath = PathToText(movie);
  form.Build1->trigger();
  EXPECT_TRUE(dialogs.Messages.empty());
  EXPECT_EQ(fs::file_size(movie), form.MovieStream.Size());
}

// The preview's player finds the movie whatever its path holds: a line
// break, a backslash and a byte that is not UTF-8 in a folder's name, or a
// leading "//".
TEST_F(MainWindowTest, ThePreviewPlaysMoviesWhosePathsAddressesTreatSpecially) {
  TempDir pages;
  const RuntimeFolder runtime(pages.Path());
  const QColor red(220, 30, 30);
  const std::string picture = pictures.Write("view.jpg", MakeJpeg(96, 64, {220, 30, 30}));
  Import({PathToText(picture), PathToText(picture)});
  PaintStrip();
  const std::string movie = (pictures.Path() / "back\\slash\nline caf\xE9" / "movie.swf").string();
  fs::create_directories(fs::path(movie).parent_path());
  for (const std::string& path : {movie, "/" + movie}) {
    SCOPED_TRACE(path);
    dialogs.SavePath = PathToText(path);
    form.Build1->trigger();
    ASSERT_TRUE(dialogs.Messages.empty());
    std::unique_ptr<QSignalSpy> loaded;
    if (auto* shown = form.findChild<PreviewBrowser*>()) {
      loaded = std::make_unique<QSignalSpy>(shown, &QWebEngineView::loadFinished);
    }
    form.ToolButton6->trigger();
    auto* view = form.findChild<PreviewBrowser*>();
    ASSERT_NE(view, nullptr);
    if (!loaded) loaded = std::make_unique<QSignalSpy>(view, &QWebEngineView::loadFinished);
    ASSERT_TRUE(loaded->count() > 0 || loaded->wait(kPlayerTimeoutMs));
    QRect player;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(player = PlayerRect(*view)).isEmpty(); }, kPlayerTimeoutMs));
    EXPECT_TRUE(WaitForColour(*view, player.topLeft() + QPoint(10, 10), red));
  }
}

// What Qt shows of text given in format: markup is read as Qt reads it.
QString Shown(const QString& text, Qt::TextFormat format) {
  if (format == Qt::PlainText || (format == Qt::AutoText && !Qt::mightBeRichText(text))) return text;
  QTextDocument document;
  document.setHtml(text);
  return document.toPlainText();
}

// Markup in a name is shown as it is written, never read: an image tag in
// a tool tip would have Qt load the file it names.
TEST_F(MainWindowTest, NamesFullOfMarkupShowAsTheyAreWritten) {
  const QString cmyk = QString::fromStdString(
      pictures.Write("<img src=\"&#47;dev&#47;zero\">.jpg", MakeDetailedJpeg(64, 48, TJPF_CMYK)));
  Import({cmyk});
  PaintStrip();
  const int onCell = ThumbnailStrip::kCellWidth / 2;
  ASSERT_TRUE(QTest::qWaitFor([&] { return form.PaintBox1ToolTip(onCell).startsWith(cmyk + ": "); }, 10000));
  QHelpEvent hover(QEvent::ToolTip, QPoint(onCell, 20), form.PaintBox1->mapToGlobal(QPoint(onCell, 20)));
  QCoreApplication::sendEvent(form.PaintBox1, &hover);
  EXPECT_EQ(Shown(QToolTip::text(), Qt::AutoText), form.PaintBox1ToolTip(onCell));

  const QString folder = QString::fromStdString((pictures.Path() / "e" / "<u>u").string());
  std::filesystem::create_directories(folder.toStdString());
  dialogs.FolderChooser = [&] { form.ImportFolder = folder; };
  form.FullFolder1->trigger();
  // The folder's middle may give way to an ellipsis; its end shows as it is.
  const QString status = form.StaticText1->text();
  EXPECT_TRUE(status.endsWith("/e/<u>u\"")) << status.toStdString();
  EXPECT_EQ(Shown(status, form.StaticText1->textFormat()), status);
}

}  // namespace
