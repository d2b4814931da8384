#include "window/preview/PreviewMessages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString Quoted(const QString& moviePath) { return "\"" + QDir::toNativeSeparators(moviePath) + "\""; }

}  // namespace

std::optional<QString> MovieFileProblem(const QString& moviePath) {
  const QFileInfo info(moviePath);
  if (!info.exists()) return QString("The movie %1 does not exist.").arg(Quoted(moviePath));
  if (info.isDir()) return QString("The movie %1 is a folder, not a movie file.").arg(Quoted(moviePath));
  QFile file(moviePath);
  if (!file.open(QIODevice::ReadOnly))
    return QString("The movie %1 cannot be read: %2.").arg(Quoted(moviePath), file.errorString());
  return std::nullopt;
}

QString MovieUnreadableText(const QString& moviePath) {
  return QString("The movie %1 could not be read.").arg(Quoted(moviePath));
}

QString MovieRefusedText(const QString& moviePath) {
  return QString("The movie %1 could not be played: the player does not accept it.").arg(Quoted(moviePath));
}
