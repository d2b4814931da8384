#pragma once
// The web view that shows the preview page with the movie playing in it.
// It has its own off-the-record profile, so previews leave nothing on disk,
// and every page it shows gets the bundled SWF player.

#include <QString>
#include <QUrl>
#include <QWebEngineView>
#include <functional>

class QWebEngineProfile;

class PreviewBrowser : public QWebEngineView {
  Q_OBJECT

 public:
  explicit PreviewBrowser(QWidget* parent = nullptr, const QString& playerFolder = QString());
  ~PreviewBrowser() override;

  // Shows the page file at pagePath; it loads on its own after this returns.
  void ShowPage(const QString& pagePath);

  bool PlayerFound() const { return playerFound_; }

  // What happens to a web address that the movie opens in a new window: by
  // default it goes to the user's own web browser.
  using LinkHandler = std::function<void(const QUrl&)>;
  void SetLinkHandler(LinkHandler handler) { linkHandler_ = std::move(handler); }
  void OpenLink(const QUrl& url) const;

 protected:
  void childEvent(QChildEvent* event) override;

 private:
  QWebEngineProfile* profile_;
  bool playerFound_;
  LinkHandler linkHandler_;
};
