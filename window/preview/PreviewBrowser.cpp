#include "window/preview/PreviewBrowser.h"

#include <QChildEvent>
#include <QDesktopServices>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

#include "window/preview/PlayerPrelude.h"
#include "window/preview/PlayerScripts.h"
#include "window/preview/PreviewScheme.h"

namespace {

// The page a movie asks for when it opens an address in a new window. It is
// never shown: its first address goes to the link handler, then it goes.
class NewWindowPage : public QWebEnginePage {
 public:
  NewWindowPage(QWebEngineProfile* profile, const PreviewBrowser* browser)
      : QWebEnginePage(profile), browser_(browser) {}

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
    if (browser_ && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")))
      browser_->OpenLink(url);
    deleteLater();
    return false;
  }

 private:
  QPointer<const PreviewBrowser> browser_;
};

class PreviewWebPage : public QWebEnginePage {
 public:
  PreviewWebPage(QWebEngineProfile* profile, PreviewBrowser* browser)
      : QWebEnginePage(profile, browser), browser_(browser) {}

 protected:
  // The view shows the preview page or nothing: a movie that sends the page
  // elsewhere stays where it is.
  bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
    return url.scheme() == QLatin1String(kPreviewScheme) || url == QUrl(QStringLiteral("about:blank"));
  }
  QWebEnginePage* createWindow(WebWindowType) override { return new NewWindowPage(profile(), browser_); }

  // The page's script reports through the console; the rest of the console
  // (the player's own log lines) is left alone.
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int, const QString&) override {
    const QLatin1String tag(kPageReportTag);
    if (message.startsWith(tag)) browser_->TakePageReport(message.mid(tag.size()));
  }

 private:
  PreviewBrowser* browser_;
};

}  // namespace

PreviewBrowser::PreviewBrowser(QWidget* parent, const QString& playerFolder)
    : QWebEngineView(parent),
      profile_(new QWebEngineProfile(this)),
      linkHandler_([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
  const QString folder = playerFolder.isEmpty() ? DefaultPlayerFolder() : playerFolder;
  playerFound_ = PlayerFolderIsComplete(folder);

  QWebEngineSettings* settings = profile_->settings();
  // The page has no charset of its own; paths in it are UTF-8.
  settings->setDefaultTextEncoding(QStringLiteral("UTF-8"));
  // The page reaches files only through the preview scheme's handler, and
  // opens a window only in answer to a click of the user's.
  settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
  settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
  settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
  settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, true);
  profile_->scripts()->insert(PlayerScripts(folder));
  scheme_ = new PreviewSchemeHandler(playerFound_ ? folder : QString(), this);
  profile_->installUrlSchemeHandler(kPreviewScheme, scheme_);

  setPage(new PreviewWebPage(profile_, this));
  // Files dropped on the preview are for the main window to import, not for
  // the page to open.
  setAcceptDrops(false);
}

void PreviewBrowser::childEvent(QChildEvent* event) {
  QWebEngineView::childEvent(event);
  // The view draws through a child widget made when it is first shown,
  // which takes drops of its own unless told otherwise.
  if (event->polished()) {
    if (auto* widget = qobject_cast<QWidget*>(event->child())) widget->setAcceptDrops(false);
  }
}

PreviewBrowser::~PreviewBrowser() {
  // The page must go before the profile it was made with.
  delete page();
}

void PreviewBrowser::ShowPage(const QString& pagePath, const QString& moviePath) {
  // The page is reloaded from the file also when its address is the same.
  movieScale_ = 1;
  movieRect_ = QRectF();
  scheme_->Serve(pagePath, moviePath);
  load(PreviewAddress(pagePath));
}

void PreviewBrowser::Clear() { load(QUrl(QStringLiteral("about:blank"))); }

void PreviewBrowser::TakePageReport(const QString& report) {
  const qsizetype space = report.indexOf(QLatin1Char(' '));
  const QString kind = report.left(space);
  const QJsonObject detail = QJsonDocument::fromJson(report.mid(space + 1).toUtf8()).object();
  if (kind == QLatin1String("progress")) {
    emit MovieProgress(static_cast<qint64>(detail[QLatin1String("loaded")].toDouble()),
                       static_cast<qint64>(detail[QLatin1String("total")].toDouble()));
  } else if (kind == QLatin1String("fit")) {
    const QJsonArray rect = detail[QLatin1String("rect")].toArray();
    movieScale_ = detail[QLatin1String("scale")].toDouble(1);
    movieRect_ = QRectF(rect[0].toDouble(), rect[1].toDouble(), rect[2].toDouble(), rect[3].toDouble());
  } else if (kind == QLatin1String("shown")) {
    emit MovieShown();
  } else if (kind == QLatin1String("failed")) {
    emit MovieFailed(detail[QLatin1String("reason")].toString() == QLatin1String("unreadable"));
  }
}

void PreviewBrowser::OpenLink(const QUrl& url) const {
  if (linkHandler_) linkHandler_(url);
}
