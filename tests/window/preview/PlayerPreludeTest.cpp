#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>

#include "window/preview/PlayerPrelude.h"

namespace {

// A path or a message put into a page's script reads back as it is, and
// nothing in it ends the script element or, in older engines, the string.
TEST(PlayerPrelude, AScriptLiteralHoldsAnyText) {
  const QString rows[] = {
      QStringLiteral("a \"quoted\" name"),
      QStringLiteral("C:\\folder\\"),
      QStringLiteral("</script><script>alert(1)</script>"),
      QString(QChar(0x2028)) + QStringLiteral("line separator"),
      QString(QChar(0x2029)) + QStringLiteral("paragraph separator"),
  };
  for (const QString& text : rows) {
    const QString literal = JsString(text);
    const QJsonArray read = QJsonDocument::fromJson((QLatin1Char('[') + literal + QLatin1Char(']')).toUtf8()).array();
    EXPECT_EQ(read.at(0).toString(), text) << literal.toStdString();
    EXPECT_FALSE(literal.contains(QLatin1String("</"), Qt::CaseInsensitive)) << literal.toStdString();
    EXPECT_FALSE(literal.contains(QChar(0x2028)) || literal.contains(QChar(0x2029))) << literal.toStdString();
  }
}

}  // namespace
