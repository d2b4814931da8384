#include "window/preview/PlayerScripts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonValue>
#include <QJsonArray>
#include <QUrl>

#include "generated/BuildInfo.h"
#include "publish/PlayerFolder.h"

namespace {

// Runs once the page is parsed, just before the player. The player fetches
// its code chunks, its WebAssembly and the movie with fetch(), which the
// engine refuses for file: addresses; for those this fetch reads through
// XMLHttpRequest, which a local page may use on local files. The player
// takes the place of the embed tag inside the object tag, as a browser
// without the player control would show it, and sizes itself from that tag,
// which has no size of its own: it gets the object tag's. The configuration
// keeps the player's own pop-ups away (splash screen, unmute overlay, the
// hardware-acceleration notice that only its GPU renderer raises) and lets
// the movie fill the tag.
constexpr const char* kPrelude = R"JS(
(() => {
  const pageFetch = window.fetch.bind(window);
  const types = { wasm: "application/wasm", js: "text/javascript", swf: "application/x-shockwave-flash" };
  window.fetch = (input, init) => {
    const address = new URL(input instanceof Request ? input.url : String(input), document.baseURI);
    if (address.protocol !== "file:") return pageFetch(input, init);
    return new Promise((resolve, reject) => {
      const request = new XMLHttpRequest();
      request.open("GET", address.href);
      request.responseType = "arraybuffer";
      request.onload = () => {
        const extension = address.pathname.split(".").pop().toLowerCase();
        const response = new Response(request.response, {
          status: 200,
          headers: {
            "Content-Type": types[extension] || "application/octet-stream",
            "Content-Length": String(request.response.byteLength),
          },
        });
        Object.defineProperty(response, "url", { value: address.href });
        resolve(response);
      };
      request.onerror = () => reject(new TypeError("Failed to fetch " + address.href));
      request.send();
    });
  };
  for (const embed of document.querySelectorAll("object embed")) {
    const object = embed.closest("object");
    for (const name of ["width", "height"]) {
      if (!embed.hasAttribute(name) && object.hasAttribute(name)) embed.setAttribute(name, object.getAttribute(name).trim());
    }
  }
  window.RufflePlayer = window.RufflePlayer || {};
  window.RufflePlayer.config = {
    publicPath: %1,
    preferredRenderer: "canvas",
    splashScreen: false,
    unmuteOverlay: "hidden",
    autoplay: "on",
    letterbox: "off",
    warnOnUnsupportedContent: false,
    showSwfDownload: false,
    logLevel: "error",
  };
})();
)JS";

constexpr const char* kNotice = R"JS(
(() => {
  const line = document.createElement("p");
  line.textContent = %1;
  document.body.insertBefore(line, document.body.firstChild);
})();
)JS";

// A JavaScript string literal of text.
QString JsString(const QString& text) {
  const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
  return QString::fromUtf8(array.mid(1, array.size() - 2));
}

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
  const QString publicPath = QUrl::fromLocalFile(QDir(folder).absolutePath() + QLatin1Char('/')).toString();
  return {Script(QStringLiteral("player-prelude"), QString::fromLatin1(kPrelude).arg(JsString(publicPath)),
                 QWebEngineScript::DocumentReady),
          Script(QStringLiteral("player"), QString::fromUtf8(start.readAll()), QWebEngineScript::DocumentReady)};
}
