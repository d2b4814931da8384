#pragma once
// The only way the preview page reaches files: an address scheme of its own
// that answers exactly the page, the movie being previewed and the files of
// the SWF player, and refuses every other address. The web view has no
// access to local files otherwise, so a movie that asks for another file
// (or for its folder's neighbours) gets nothing.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>
#include <string>

// The scheme's name, as it starts the addresses the page sees.
inline constexpr const char* kPreviewScheme = "orbilux-preview";

// Tells the web engine about the scheme; before the application object is
// made, as the engine requires.
void RegisterPreviewScheme();

// The scheme's address of a local path (text as PathText makes it).
QUrl PreviewAddress(const QString& path);

class PreviewSchemeHandler : public QWebEngineUrlSchemeHandler {
 public:
  // Answers the files directly in playerFolder (none when it is empty).
  PreviewSchemeHandler(const QString& playerFolder, QObject* parent);

  // From now on answers the page at pagePath and the movie at moviePath
  // (an empty one for none), and no earlier page or movie.
  void Serve(const QString& pagePath, const QString& moviePath);

  void requestStarted(QWebEngineUrlRequestJob* job) override;

 private:
  std::string pagePath_;
  std::string moviePath_;
  std::string playerFolder_;
  QStringList playerFiles_;
};
