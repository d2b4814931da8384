#include "window/preview/PreviewMessages.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <cerrno>

#include "common/Errors.h"
#include "window/text/PathText.h"

namespace {

QString Quoted(const QString& moviePath) { return "\"" + QDir::toNativeSeparators(moviePath) + "\""; }

}  // namespace

std::optional<QString> MovieFileProblem(const QString& moviePath) {
  const std::string path = PathFromText(moviePath);
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return QString("The movie %1 does not exist.").arg(Quoted(moviePath));
    return QString("The movie %1 cannot be read: %2.")
        .arg(Quoted(moviePath), QString::fromStdString(SystemReason(errno)));
  }
  if (S_ISDIR(info.st_mode)) return QString("The movie %1 is a folder, not a movie file.").arg(Quoted(moviePath));
  if (!S_ISREG(info.st_mode)) return QString("The movie %1 is not a file.").arg(Quoted(moviePath));
  // Opening does not wait on anything: the file was regular a moment ago, but
  // could have been swapped for a pipe since.
  const int file = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (file < 0) {
    return QString("The movie %1 cannot be read: %2.")
        .arg(Quoted(moviePath), QString::fromStdString(SystemReason(errno)));
  }
  ::close(file);
  return std::nullopt;
}

QString MovieUnreadableText(const QString& moviePath) {
  return QString("The movie %1 could not be read.").arg(Quoted(moviePath));
}

QString MovieRefusedText(const QString& moviePath) {
  return QString("The movie %1 could not be played: the player does not accept it.").arg(Quoted(moviePath));
}
