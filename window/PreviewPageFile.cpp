#include "window/PreviewPageFile.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "movie/PreviewPage.h"

QString PreviewPagePath() {
#ifdef Q_OS_WIN
  return QStringLiteral("C:\\test.html");
#else
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
  if (!QFileInfo::exists(folder)) {
    QDir().mkpath(QFileInfo(folder).absolutePath());
    QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  return QDir(folder).filePath(QStringLiteral("test.html"));
#endif
}

QString WritePreviewPage(const std::string& moviePath, std::int32_t width, std::int32_t height) {
  const QString path = PreviewPagePath();
  SavePreviewPage(QFile::encodeName(path).toStdString(), PreviewPageText(moviePath, width, height));
  return path;
}
