// The Preview command: the page it writes, the web view it makes on first
// use, and the built movie playing and turning in it.

#include <QFileInfo>
#include <QLocale>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <fstream>
#include <functional>
#include <iterator>

#include "publish/PreviewPage.h"
#include "tests/window/MainWindowFixture.h"
#include "tests/window/PreviewSupport.h"
#include "window/preview/PreviewBrowser.h"
#include "window/preview/PreviewMessages.h"
#include "window/preview/PreviewStatus.h"

namespace fs = std::filesystem;

namespace {

class PreviewTest : public MainWindowTest {
 protected:
  PreviewTest() : runtime_(pages_.Path()) {}

  PreviewBrowser* View() const { return form.findChild<PreviewBrowser*>(); }
  fs::path PageFile() const { return pages_.Path() / "test.html"; }
  std::string PageText() const {
    std::ifstream in(PageFile(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Builds a movie of the pictures into target and returns its path.
  QString BuildMovie(const QStringList& paths, const std::string& target = "movie.swf") {
    Import(paths);
    PaintStrip();
    dialogs.SavePath = QString::fromStdString((pictures.Path() / target).string());
    form.Build1->trigger();
    EXPECT_TRUE(dialogs.Messages.empty());
    return *dialogs.SavePath;
  }

  // Clicks Preview and waits until the view has loaded the page.
  void PreviewAndWait() {
    const bool existed = View() != nullptr;
    std::unique_ptr<QSignalSpy> loaded;
    if (existed) loaded = std::make_unique<QSignalSpy>(View(), &QWebEngineView::loadFinished);
    form.ToolButton6->trigger();
    ASSERT_NE(View(), nullptr);
    if (!existed) loaded = std::make_unique<QSignalSpy>(View(), &QWebEngineView::loadFinished);
    ASSERT_TRUE(loaded->count() > 0 || loaded->wait(kPlayerTimeoutMs));
  }

  TempDir pages_;

 private:
  RuntimeFolder runtime_;
};

TEST_F(PreviewTest, TheWebViewIsMadeOnTheFirstPreviewInTheAreaAboveThePanelAndGoesWithNew) {
  EXPECT_EQ(form.findChild<QWebEngineView*>(), nullptr);
  BuildMovie(SomePictures(2));
  EXPECT_EQ(form.findChild<QWebEngineView*>(), nullptr) << "a build makes no web view";
  PreviewAndWait();
  PreviewBrowser* view = View();
  EXPECT_EQ(view->parentWidget(), form.PreviewArea);
  EXPECT_EQ(view->geometry(), form.PreviewArea->rect());
  EXPECT_EQ(view->objectName(), "WebBrowser1");
  // Files dropped on the preview go through to the window's import.
  EXPECT_FALSE(view->acceptDrops());
  for (const QWidget* part : view->findChildren<QWidget*>()) EXPECT_FALSE(part->acceptDrops());
  // New gives the page's memory back; the next Preview makes a new view.
  const QPointer<PreviewBrowser> old(view);
  form.New1->trigger();
  EXPECT_TRUE(old.isNull());
  EXPECT_FALSE(form.PreviewStatus1->isVisible());
  PreviewAndWait();
}

TEST_F(PreviewTest, PlaysTheBuiltMovieAndADragTurnsToTheNextPicture) {
  SKIP_WITHOUT_PLAYER();
  const QColor colours[] = {QColor(220, 30, 30), QColor(30, 190, 40), QColor(40, 60, 220)};
  QStringList paths;
  for (int i = 0; i < 3; ++i) {
    const QColor c = colours[i];
    paths << QString::fromStdString(
        pictures.Write("view" + std::to_string(i + 1) + ".jpg",
                       MakeJpeg(320, 240,
                                {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                                 static_cast<std::uint8_t>(c.blue())})));
  }
  BuildMovie(paths);
  PreviewAndWait();
  PreviewBrowser& view = *View();
  QRect player;
  ASSERT_TRUE(QTest::qWaitFor([&] { return !(player = PlayerRect(view)).isEmpty(); }, kPlayerTimeoutMs));
  EXPECT_EQ(player.size(), QSize(320, 240));
  // A quarter down from the top, clear of the hint in the middle.
  const QPoint sample(player.center().x(), player.top() + player.height() / 4);
  ASSERT_TRUE(WaitForColour(view, sample, colours[0])) << Grab(view).pixelColor(sample).name().toStdString();
  Drag(view, sample, sample + QPoint(100, 0));
  EXPECT_TRUE(WaitForColour(view, sample, colours[1], 5000)) << Grab(view).pixelColor(sample).name().toStdString();
}

TEST_F(PreviewTest, AfterNewAndPicturesOfAnotherSizeThePageHasTheNewSizeAndTheOldPath) {
  SKIP_WITHOUT_PLAYER();
  const QString movie = BuildMovie(SomePictures(2, 64, 48));
  form.New1->trigger();
  Import({Picture("wide.jpg", 96, 30)});
  PaintStrip();
  ASSERT_EQ(form.MovieWidth, 96);
  PreviewAndWait();
  ASSERT_TRUE(dialogs.Messages.empty());
  EXPECT_EQ(PageText(), PreviewPageText(movie.toStdString(), 96, 30));
  // The old movie plays at the new size.
  QRect player;
  ASSERT_TRUE(QTest::qWaitFor([&] { return !(player = PlayerRect(*View())).isEmpty(); }, kPlayerTimeoutMs));
  EXPECT_EQ(player.size(), QSize(96, 30));
}

TEST_F(PreviewTest, TwiceWritesThePageTwiceAndNavigatesTwice) {
  const QString movie = BuildMovie(SomePictures(2));
  PreviewAndWait();
  const std::string first = PageText();
  fs::remove(PageFile());
  QSignalSpy started(View(), &QWebEngineView::loadStarted);
  PreviewAndWait();
  EXPECT_EQ(PageText(), first);
  EXPECT_EQ(first, PreviewPageText(movie.toStdString(), 64, 48));
  EXPECT_EQ(started.count(), 1);
}

TEST_F(PreviewTest, APageThatCannotBeWrittenIsReportedAndTheViewKeepsItsPage) {
  BuildMovie(SomePictures(2));
  PreviewAndWait();
  PreviewBrowser& view = *View();
  RunJs(view, "window.earlier = 'still here'");
  fs::remove(PageFile());
  fs::create_directory(PageFile());  // not a file that can be written, also not by root

  QSignalSpy started(&view, &QWebEngineView::loadStarted);
  form.ToolButton6->trigger();
  ASSERT_EQ(dialogs.Messages.size(), 1u);
  EXPECT_EQ(dialogs.Messages[0].Text,
            "Cannot create file \"" + QString::fromStdString(PageFile().string()) + "\". Is a directory");
  QTest::qWait(300);
  EXPECT_EQ(started.count(), 0);
  EXPECT_EQ(RunJs(view, "window.earlier").toString(), "still here");
}

TEST_F(PreviewTest, AFirstPreviewThatCannotWriteItsPageMakesNoWebView) {
  BuildMovie(SomePictures(1));
  fs::create_directory(PageFile());
  form.ToolButton6->trigger();
  ASSERT_EQ(dialogs.Messages.size(), 1u);
  EXPECT_EQ(form.findChild<QWebEngineView*>(), nullptr);
}

TEST_F(PreviewTest, SaysTheMovieIsLoadingWithWhatHasBeenReadUntilItsFirstPictureShows) {
  const QColor red(220, 30, 30);
  const QString movie =
      BuildMovie({QString::fromStdString(pictures.Write("red.jpg", MakeJpeg(320, 240, {220, 30, 30})))});
  form.ToolButton6->trigger();
  ASSERT_NE(form.PreviewStatus1, nullptr);
  PreviewStatus& status = *form.PreviewStatus1;
  ASSERT_TRUE(status.isVisible());
  EXPECT_EQ(status.geometry(), form.PreviewArea->rect());
  QStringList texts{status.Text()};
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        if (status.Text() != texts.back()) texts << status.Text();
        return !status.isVisible();
      },
      kPlayerTimeoutMs))
      << texts.join(" | ").toStdString();
  EXPECT_TRUE(texts.first().startsWith("Loading the movie \"movie.swf\"\n")) << texts.first().toStdString();
  const QString read = QLocale::c().formattedDataSize(QFileInfo(movie).size(), 1, QLocale::DataSizeSIFormat);
  EXPECT_TRUE(texts.filter(read + " read; the player is preparing 1 picture of 320 x 240 \u2026 ").size() > 0)
      << texts.join(" | ").toStdString();
  // Gone once the picture is there.
  const QRect player = PlayerRect(*View());
  ASSERT_FALSE(player.isEmpty());
  EXPECT_TRUE(Near(Grab(*View()).pixelColor(player.center().x(), player.top() + 10), red));
}

// A movie that cannot be shown is named in a plain message over the preview
// area, instead of anything the player says; the last movie stops.
TEST_F(PreviewTest, AMovieThatIsMissingOrNoMovieIsNamedInAPlainMessage) {
  const struct {
    const char* name;
    std::function<void(const fs::path&)> spoil;
    std::function<QString(const QString&)> message;
    bool seenBeforeLoading;
  } rows[] = {
      {"deleted", [](const fs::path& movie) { fs::remove(movie); },
       [](const QString& path) { return "The movie \"" + path + "\" does not exist."; }, true},
      {"a folder",
       [](const fs::path& movie) {
         fs::remove(movie);
         fs::create_directory(movie);
       },
       [](const QString& path) { return "The movie \"" + path + "\" is a folder, not a movie file."; }, true},
      {"not a movie", [](const fs::path& movie) { std::ofstream(movie, std::ios::binary) << "not a movie"; },
       [](const QString& path) { return MovieRefusedText(path); }, false},
  };
  for (const auto& r : rows) {
    const QString movie = BuildMovie(SomePictures(2), std::string(r.name) + ".swf");
    PreviewAndWait();
    r.spoil(movie.toStdString());
    form.ToolButton6->trigger();
    PreviewStatus& status = *form.PreviewStatus1;
    EXPECT_TRUE(QTest::qWaitFor([&] { return status.Text() == r.message(movie); }, kPlayerTimeoutMs))
        << r.name << ": " << status.Text().toStdString();
    EXPECT_TRUE(status.isVisible() && !status.Loading()) << r.name;
    EXPECT_TRUE(dialogs.Messages.empty()) << r.name;
    if (r.seenBeforeLoading) {
      EXPECT_TRUE(QTest::qWaitFor([&] { return View()->url() == QUrl("about:blank"); }, 10000)) << r.name;
    }
  }
}

}  // namespace
