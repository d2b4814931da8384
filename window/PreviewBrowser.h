#pragma once
// The web view that shows the preview page with the movie playing in it.
// It has its own off-the-record profile, so previews leave nothing on disk,
// and every page it shows gets the bundled SWF player.

#include <QString>
#include <QWebEngineView>

class QWebEngineProfile;

class PreviewBrowser : public QWebEngineView {
  Q_OBJECT

 public:
  explicit PreviewBrowser(QWidget* parent = nullptr, const QString& playerFolder = QString());
  ~PreviewBrowser() override;

  // Shows the page file at pagePath; it loads on its own after this returns.
  void ShowPage(const QString& pagePath);

  bool PlayerFound() const { return playerFound_; }

 private:
  QWebEngineProfile* profile_;
  bool playerFound_;
};
