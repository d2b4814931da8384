#pragma once
// The web view that shows the preview page with the movie playing in it.
// It has its own off-the-record profile, so previews leave nothing on disk,
// and every page it shows gets the bundled SWF player, which fits the movie
// into the view and reports how its loading goes.

#include <QRectF>
#include <QString>
#include <QUrl>
#include <QWebEngineView>
#include <functional>

class PreviewSchemeHandler;
class QWebEngineProfile;

class PreviewBrowser : public QWebEngineView {
  Q_OBJECT

 public:
  explicit PreviewBrowser(QWidget* parent = nullptr, const QString& playerFolder = QString());
  ~PreviewBrowser() override;

  // Shows the page file at pagePath, which embeds the movie at moviePath;
  // it loads on its own after this returns. The page reads these two files
  // and the player's, and nothing else.
  void ShowPage(const QString& pagePath, const QString& moviePath);
  // Shows an empty page, so that no movie plays.
  void Clear();

  bool PlayerFound() const { return playerFound_; }

  // The scale at which the movie is shown (1 at its own size, less when it
  // is shrunk to fit the view) and its place in the view, as the page last
  // reported them; 1 and an empty rectangle until it has.
  double MovieScale() const { return movieScale_; }
  QRectF MovieRect() const { return movieRect_; }

  // Takes one report of the page (what follows the report tag).
  void TakePageReport(const QString& report);

  // What happens to a web address that the movie opens in a new window, which
  // the engine allows only in answer to a click in the view: by default it
  // goes to the user's own web browser.
  using LinkHandler = std::function<void(const QUrl&)>;
  void SetLinkHandler(LinkHandler handler) { linkHandler_ = std::move(handler); }
  void OpenLink(const QUrl& url) const;

 signals:
  // Bytes of the movie read so far; total is -1 when not known.
  void MovieProgress(qint64 loaded, qint64 total);
  void MovieShown();
  // The movie could not be read, or the player refused it.
  void MovieFailed(bool unreadable);

 protected:
  void childEvent(QChildEvent* event) override;

 private:
  QWebEngineProfile* profile_;
  PreviewSchemeHandler* scheme_;
  bool playerFound_;
  LinkHandler linkHandler_;
  double movieScale_ = 1;
  QRectF movieRect_;
};
