#include "window/preview/PlayerScripts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QUrl>

#include "generated/BuildInfo.h"
#include "publish/PlayerFolder.h"
#include "window/preview/PlayerPrelude.h"
#include "window/preview/PreviewScheme.h"

namespace {

constexpr const char* kNotice = R"JS(
(() => {
  const line = document.createElement("p");
  line.textContent = %1;
  document.body.insertBefore(line, document.body.firstChild);
})();
)JS";

QWebEngineScript Script(const QString& name, const QString& source, QWebEngineScript::InjectionPoint point) {
  QWebEngineScript script;
  script.setName(name);
  script.setSourceCode(source);
  script.setInjectionPoint(point);
  // The player defines custom elements, which exist only in the page's own world.
  script.setWorldId(QWebEngineScript::MainWorld);
  script.setRunsOnSubFrames(false);
  return script;
}

}  // namespace

QString DefaultPlayerFolder() {
  if (!kPlayerBundled) return {};
  return QString::fromStdString(FindPlayerFolder(QCoreApplication::applicationDirPath().toStdString()));
}

bool PlayerFolderIsComplete(const QString& folder) {
  return !folder.isEmpty() && QFile::exists(QDir(folder).filePath(QString::fromLatin1(kPlayerStartScript)));
}

QList<QWebEngineScript> PlayerScripts(const QString& folder) {
  QFile start(QDir(folder).filePath(QString::fromLatin1(kPlayerStartScript)));
  if (folder.isEmpty() || !start.open(QIODevice::ReadOnly)) {
    const QString notice =
        folder.isEmpty()
            ? QStringLiteral("There is no preview player: this build of the program was made without the SWF player.")
            : QStringLiteral("The SWF player is missing: it was looked for in \"%1\".")
                  .arg(QDir::toNativeSeparators(QDir(folder).absolutePath()));
    return {Script(QStringLiteral("player-missing"), QString::fromLatin1(kNotice).arg(JsString(notice)),
                   QWebEngineScript::DocumentReady)};
  }
  const QString publicPath =
      PreviewAddress(QDir(folder).absolutePath() + QLatin1Char('/')).toString(QUrl::FullyEncoded);
  return {Script(QStringLiteral("player-prelude"), PlayerPrelude(publicPath), QWebEngineScript::DocumentReady),
          Script(QStringLiteral("player"), QString::fromUtf8(start.readAll()), QWebEngineScript::DocumentReady)};
}
