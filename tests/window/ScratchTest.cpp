#include <gtest/gtest.h>
#include <QSignalSpy>
#include "movie/PreviewPage.h"
#include "tests/support/TempDir.h"
#include "tests/support/TinySwf.h"
#include "tests/window/PreviewSupport.h"
#include "window/PreviewBrowser.h"
TEST(Scratch, Mouse) {
  TempDir dir;
  const std::string movie = dir.Write("movie.swf", TinySwf(300, 200, 220, 30, 30));
  const std::string page = (dir.Path() / "test.html").string();
  SavePreviewPage(page, PreviewPageText(movie, 300, 200));
  PreviewBrowser view;
  view.resize(800, 600);
  view.show();
  QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
  view.ShowPage(QString::fromStdString(page));
  ASSERT_TRUE(loaded.wait(20000));
  QRect player;
  ASSERT_TRUE(QTest::qWaitFor([&] { return !(player = PlayerRect(view)).isEmpty(); }, kPlayerTimeoutMs));
  RunJs(view, "window.log=[]; for (const t of ['pointerdown','pointermove','pointerup']) document.addEventListener(t, e => log.push(t+' '+e.clientX+','+e.clientY+' b'+e.buttons), true); 1");
  qDebug() << InputWidget(view)->metaObject()->className();
  Drag(view, player.center(), player.center() + QPoint(100, 0), 5);
  qDebug() << RunJs(view, "JSON.stringify(log)");
  qDebug() << RunJs(view, "document.querySelector('ruffle-embed').shadowRoot.innerHTML.length");
  qDebug() << RunJs(view, "[...document.querySelector('ruffle-embed').shadowRoot.querySelectorAll('[id]')].map(e=>e.id+':'+e.className+':'+getComputedStyle(e).display).join(' | ')");
}
