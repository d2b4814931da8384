#include "window/preview/PreviewScheme.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <filesystem>

#include "window/text/PathText.h"

namespace {

constexpr const char* kHost = "preview";

// A path as both sides name it: an address has its "." and ".." steps
// resolved and its runs of slashes kept, the page joins leading slashes.
std::string Normal(const std::string& path) {
  return path.empty() ? path : std::filesystem::path(path).lexically_normal().string();
}

QByteArray ContentType(const std::string& path) {
  const std::string extension = std::filesystem::path(path).extension().string();
  if (extension == ".html") return "text/html";
  if (extension == ".js") return "text/javascript";
  if (extension == ".wasm") return "application/wasm";
  if (extension == ".swf") return "application/x-shockwave-flash";
  return "application/octet-stream";
}

// The regular file at path, opened without waiting on anything (it could be
// a pipe by now); null when it cannot be read.
QFile* OpenRegularFile(const std::string& path) {
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) return nullptr;
  struct stat info {};
  if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(descriptor);
    return nullptr;
  }
  auto* file = new QFile;
  if (!file->open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(descriptor);
    delete file;
    return nullptr;
  }
  return file;
}

}  // namespace

void RegisterPreviewScheme() {
  QWebEngineUrlScheme scheme(kPreviewScheme);
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
  // Secure, so the player may use what only secure pages get; CORS, so the
  // page may read its own addresses with XMLHttpRequest. No local access.
  scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::CorsEnabled);
  QWebEngineUrlScheme::registerScheme(scheme);
}

QUrl PreviewAddress(const QString& path) {
  return QUrl::fromEncoded(QByteArray(kPreviewScheme) + "://" + kHost +
                           QByteArray::fromStdString(PathFromText(path)).toPercentEncoding("/"));
}

PreviewSchemeHandler::PreviewSchemeHandler(const QString& playerFolder, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent) {
  if (playerFolder.isEmpty()) return;
  playerFolder_ = Normal(PathFromText(QDir(playerFolder).absolutePath()));
  playerFiles_ = QDir(playerFolder).entryList(QDir::Files);
}

void PreviewSchemeHandler::Serve(const QString& pagePath, const QString& moviePath) {
  pagePath_ = Normal(PathFromText(pagePath));
  moviePath_ = Normal(PathFromText(moviePath));
}

void PreviewSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
  const QUrl url = job->requestUrl();
  const std::string asked = Normal(PathFromUrl(url));
  const std::filesystem::path askedPath(asked);
  const bool known = url.host() == QLatin1String(kHost) && !asked.empty() &&
                     (asked == pagePath_ || asked == moviePath_ ||
                      (!playerFolder_.empty() && askedPath.parent_path().string() == playerFolder_ &&
                       playerFiles_.contains(PathToText(askedPath.filename().string()))));
  QFile* file = known ? OpenRegularFile(asked) : nullptr;
  if (!file) {
    job->fail(known ? QWebEngineUrlRequestJob::RequestFailed : QWebEngineUrlRequestJob::UrlNotFound);
    return;
  }
  connect(job, &QObject::destroyed, file, &QObject::deleteLater);
  job->reply(ContentType(asked), file);
}
