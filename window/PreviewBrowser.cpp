#include "window/PreviewBrowser.h"

#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

#include "window/PlayerScripts.h"

PreviewBrowser::PreviewBrowser(QWidget* parent, const QString& playerFolder)
    : QWebEngineView(parent), profile_(new QWebEngineProfile(this)) {
  const QString folder = playerFolder.isEmpty() ? DefaultPlayerFolder() : playerFolder;
  playerFound_ = PlayerFolderIsComplete(folder);

  QWebEngineSettings* settings = profile_->settings();
  // The page has no charset of its own; paths in it are UTF-8.
  settings->setDefaultTextEncoding(QStringLiteral("UTF-8"));
  settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
  settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
  settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, true);
  profile_->scripts()->insert(PlayerScripts(folder));

  setPage(new QWebEnginePage(profile_, this));
}

PreviewBrowser::~PreviewBrowser() {
  // The page must go before the profile it was made with.
  delete page();
}

void PreviewBrowser::ShowPage(const QString& pagePath) {
  // The page is reloaded from the file also when its address is the same.
  load(QUrl::fromLocalFile(pagePath));
}
