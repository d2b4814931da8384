#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>

#include "movie/PreviewPage.h"
#include "tests/support/TempDir.h"
#include "tests/support/TinySwf.h"
#include "tests/window/PreviewSupport.h"
#include "window/preview/PlayerScripts.h"
#include "window/preview/PreviewBrowser.h"

namespace {

// Every point of a 5 x 5 grid over rect shows colour: no pop-up of the player
// covers the movie.
void ExpectUniform(PreviewBrowser& view, QRect rect, QColor colour, const std::string& where) {
  const QImage image = Grab(view);
  for (int i = 0; i < 5; ++i) {
    for (int j = 0; j < 5; ++j) {
      const QPoint p(rect.left() + 2 + (rect.width() - 5) * i / 4, rect.top() + 2 + (rect.height() - 5) * j / 4);
      EXPECT_TRUE(Near(image.pixelColor(p), colour))
          << where << ": " << image.pixelColor(p).name().toStdString() << " at " << p.x() << "," << p.y();
    }
  }
}

TEST(PreviewBrowser, PlaysTheMovieAtTheMovieSizeWhateverItsPath) {
  SKIP_WITHOUT_PLAYER();
  const struct {
    const char* folder;
    int width, height;
    QColor colour;
  } rows[] = {
      {"plain", 300, 200, QColor(220, 30, 30)},
      {"with spaces and-dots.v1", 240, 320, QColor(30, 200, 40)},
      {"quote\" <angle> & amp", 200, 150, QColor(40, 60, 220)},
      {"hash# question? 100%25 %", 320, 100, QColor(230, 200, 20)},
      {"Фото 展示 jörg", 160, 160, QColor(200, 40, 200)},
  };
  TempDir dir;
  PreviewBrowser view;
  ASSERT_TRUE(view.PlayerFound()) << "no player in " << DefaultPlayerFolder().toStdString();
  view.resize(800, 600);
  view.show();
  for (const auto& r : rows) {
    const auto c = r.colour;
    const std::string movie = dir.Write(std::string(r.folder) + "/movie.swf",
                                        TinySwf(r.width, r.height, static_cast<std::uint8_t>(c.red()),
                                                static_cast<std::uint8_t>(c.green()), static_cast<std::uint8_t>(c.blue())));
    const std::string page = (dir.Path() / r.folder / "test.html").string();
    SavePreviewPage(page, PreviewPageText(movie, r.width, r.height));
    QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
    view.ShowPage(QString::fromStdString(page));
    ASSERT_TRUE(loaded.wait(kPlayerTimeoutMs)) << r.folder;
    EXPECT_TRUE(loaded.first().first().toBool()) << r.folder;

    QRect player;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(player = PlayerRect(view)).isEmpty(); }, kPlayerTimeoutMs)) << r.folder;
    EXPECT_EQ(player.size(), QSize(r.width, r.height)) << r.folder;
    ASSERT_TRUE(WaitForColour(view, player.center(), c)) << r.folder;
    ExpectUniform(view, player, c, r.folder);
    // The pointer over the movie raises nothing either.
    QMouseEvent hover(QEvent::MouseMove, QPointF(player.center()), view.mapToGlobal(QPointF(player.center())),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(InputWidget(view), &hover);
    QTest::qWait(300);
    ExpectUniform(view, player, c, std::string(r.folder) + " after hover");
  }
}

// The movie lies wholly in the view, at its own size when it fits and never
// larger; a larger one is shrunk just enough for it and the line under it,
// keeping its proportions, and follows the view when it is resized.
TEST(PreviewBrowser, ShrinksAMovieLargerThanTheViewToFitAndFollowsItsSize) {
  const struct {
    const char* name;
    QSize movie, view;
    bool shrunk;
  } rows[] = {
      {"smaller", {300, 200}, {800, 600}, false},
      {"just fits", {784, 300}, {800, 600}, false},
      {"too wide", {1600, 300}, {800, 600}, true},
      {"too tall", {400, 1200}, {800, 600}, true},
      {"both", {2560, 1600}, {1000, 700}, true},
      {"the same movie in a view grown for it", {2560, 1600}, {2700, 1800}, false},
      {"the same movie in a view shrunk again", {2560, 1600}, {900, 500}, true},
  };
  TempDir dir;
  PreviewBrowser view;
  view.show();
  QSize loaded;
  for (const auto& r : rows) {
    view.resize(r.view);
    if (loaded != r.movie) {
      const std::string movie = dir.Write("movie.swf", TinySwf(r.movie.width(), r.movie.height(), 200, 40, 40));
      const std::string page = (dir.Path() / "test.html").string();
      SavePreviewPage(page, PreviewPageText(movie, r.movie.width(), r.movie.height()));
      view.ShowPage(QString::fromStdString(page));
      loaded = r.movie;
    }
    // The view's idea of the movie's place is the page's.
    QRect player;
    ASSERT_TRUE(QTest::qWaitFor([&] {
      player = PlayerRect(view);
      const QRectF reported = view.MovieRect();
      return !player.isEmpty() && qAbs(reported.x() - player.x()) <= 1 && qAbs(reported.width() - player.width()) <= 1 &&
             qAbs(view.MovieScale() * r.movie.width() - player.width()) <= 1;
    }, kPlayerTimeoutMs)) << r.name;
    EXPECT_TRUE(QRect(QPoint(0, 0), r.view).contains(player)) << r.name << ": " << player.x() << "," << player.y();
    EXPECT_EQ(view.MovieScale() < 1, r.shrunk) << r.name << ": scale " << view.MovieScale();
    EXPECT_NEAR(double(player.width()) / player.height(), double(r.movie.width()) / r.movie.height(), 0.02) << r.name;
    // Nothing to scroll, and no room to show it larger.
    const QVariantList page = RunJs(view, "[document.scrollingElement.scrollWidth, document.scrollingElement.scrollHeight]").toList();
    EXPECT_LE(page[0].toInt(), r.view.width()) << r.name;
    EXPECT_LE(page[1].toInt(), r.view.height()) << r.name;
    if (r.shrunk) {
      const bool fillsWidth = player.width() >= r.view.width() - 16 - 1;
      const bool fillsHeight = RunJs(view, "(() => { const r = document.createRange(); r.selectNodeContents(document.body);"
                                           " return r.getBoundingClientRect().bottom; })()").toDouble() >= r.view.height() - 8 - 1;
      EXPECT_TRUE(fillsWidth || fillsHeight) << r.name << ": " << player.width() << " x " << player.height();
    }
  }
}

TEST(PreviewBrowser, WithoutThePlayerThePageSaysWhereItWasLookedFor) {
  TempDir dir;
  const std::string movie = dir.Write("movie.swf", TinySwf(100, 100, 0, 0, 0));
  const std::string page = (dir.Path() / "test.html").string();
  SavePreviewPage(page, PreviewPageText(movie, 100, 100));
  const QString folder = QDir(QString::fromStdString(dir.Path().string())).filePath("no-player");

  PreviewBrowser view(nullptr, folder);
  EXPECT_FALSE(view.PlayerFound());
  QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
  view.ShowPage(QString::fromStdString(page));
  ASSERT_TRUE(loaded.wait(kPlayerTimeoutMs));
  QString first;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return (first = RunJs(view, "document.body.firstElementChild.textContent").toString()).startsWith("The SWF"); },
      10000));
  EXPECT_EQ(first, "The SWF player is missing: it was looked for in \"" + folder + "\".");
  // The page itself is shown under the notice.
  EXPECT_TRUE(RunJs(view, "document.body.textContent").toString().contains("File location->"));
}

TEST(PreviewBrowser, ABuildWithoutThePlayerSaysThereIsNone) {
  const QList<QWebEngineScript> scripts = PlayerScripts(QString());
  ASSERT_EQ(scripts.size(), 1);
  EXPECT_TRUE(scripts[0].sourceCode().contains(
      "There is no preview player: this build of the program was made without the SWF player."));
}

TEST(PreviewBrowser, AnAddressOpenedInANewWindowGoesToTheLinkHandler) {
  TempDir dir;
  const std::string page = dir.Write("test.html", "<p>page</p>");
  PreviewBrowser view;
  QList<QUrl> opened;
  view.SetLinkHandler([&opened](const QUrl& url) { opened.append(url); });
  QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
  view.ShowPage(QString::fromStdString(page));
  ASSERT_TRUE(loaded.wait(kPlayerTimeoutMs));

  RunJs(view, "window.open('file:///etc/passwd', '_blank'); window.open('https://example.com/a?b=1', '_blank'); 1");
  EXPECT_TRUE(QTest::qWaitFor([&] { return !opened.isEmpty(); }, 10000));
  QTest::qWait(200);
  EXPECT_EQ(opened, QList<QUrl>{QUrl("https://example.com/a?b=1")});
  EXPECT_EQ(view.url(), QUrl::fromLocalFile(QString::fromStdString(page)));
}

}  // namespace
