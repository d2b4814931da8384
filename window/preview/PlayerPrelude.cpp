#include "window/preview/PlayerPrelude.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "window/preview/PreludeFiles.h"

namespace {

// The bytes of one of the files built in beside the prelude.
QByteArray PreludeFile(std::string_view name) {
  for (const EmbeddedFile& file : PreludeFiles()) {
    if (file.Name == name) return QByteArray(file.Bytes.data(), static_cast<qsizetype>(file.Bytes.size()));
  }
  return {};
}

}  // namespace

QString ScriptLiteral(const QJsonValue& value) {
  const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
  QString text = QString::fromUtf8(array.mid(1, array.size() - 2));
  // JSON leaves these as they are; "<" so that no "</script>" ends a page's
  // script, the line separators for engines that end a string at them.
  text.replace(QLatin1Char('<'), QLatin1String("\\u003c"));
  text.replace(QChar(0x2028), QLatin1String("\\u2028"));
  text.replace(QChar(0x2029), QLatin1String("\\u2029"));
  return text;
}

QString JsString(const QString& text) { return ScriptLiteral(QJsonValue(text)); }

QString PlayerPrelude(const QString& publicPath) {
  const QJsonObject settings{
      {QStringLiteral("publicPath"), publicPath},
      {QStringLiteral("reportTag"), QString::fromLatin1(kPageReportTag)},
      {QStringLiteral("player"), QJsonDocument::fromJson(PreludeFile("player-config.json")).object()},
  };
  // The file is a function of the settings; the page calls it with them.
  return QStringLiteral("(") + QString::fromUtf8(PreludeFile("preview-prelude.js")) + QStringLiteral(")(") +
         ScriptLiteral(settings) + QStringLiteral(");\n");
}
