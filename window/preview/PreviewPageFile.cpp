#include "window/preview/PreviewPageFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "movie/PreviewPage.h"
#include "window/main/PathText.h"

QString PreviewPagePath() {
#ifdef Q_OS_WIN
  return QStringLiteral("C:\\test.html");
#else
  return PreviewPagePathIn(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation),
                           QStandardPaths::writableLocation(QStandardPaths::CacheLocation));
#endif
}

QString PreviewPagePathIn(const QString& runtimeFolder, const QString& cacheFolder) {
  // Qt hands out the runtime folder only when it is the user's own with
  // owner-only rights, and empty otherwise.
  const QString folder = runtimeFolder.isEmpty() ? cacheFolder : runtimeFolder;
  if (!QFileInfo::exists(folder)) {
    QDir().mkpath(QFileInfo(folder).absolutePath());
    QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  return QDir(folder).filePath(QStringLiteral("test.html"));
}

QString WritePreviewPage(const QString& moviePath, std::int32_t width, std::int32_t height) {
  const QString path = PreviewPagePath();
  SavePreviewPage(PathFromText(path), PreviewPageText(PathFromText(moviePath), width, height));
  return path;
}
