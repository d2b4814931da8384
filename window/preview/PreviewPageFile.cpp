#include "window/preview/PreviewPageFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "common/Errors.h"
#include "publish/PreviewPage.h"
#include "window/text/PathText.h"

namespace {

// The page is read back by the web view after it is written: a folder that
// another user owns or may enter could change it in between, or read it.
void CheckFolderIsPrivate(const QString& folder) {
  struct stat info {};
  const bool privateFolder = ::lstat(PathFromText(folder).c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
                             info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
  if (!privateFolder) {
    throw PreviewFolderError(PathFromText(folder));
  }
}

}  // namespace

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
  if (!runtimeFolder.isEmpty()) return QDir(runtimeFolder).filePath(QStringLiteral("test.html"));
  if (!cacheFolder.isEmpty() && !QFileInfo::exists(cacheFolder)) {
    QDir().mkpath(QFileInfo(cacheFolder).absolutePath());
    QDir().mkdir(cacheFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  CheckFolderIsPrivate(cacheFolder);
  return QDir(cacheFolder).filePath(QStringLiteral("test.html"));
}

QString WritePreviewPage(const QString& moviePath, std::int32_t width, std::int32_t height) {
  const QString path = PreviewPagePath();
  SavePreviewPage(PathFromText(path), PreviewPageText(PathFromText(moviePath), width, height));
  return path;
}
