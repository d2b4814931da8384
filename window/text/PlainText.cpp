#include "window/text/PlainText.h"

#include <QLabel>
#include <QMessageBox>

void ShowPlainText(QLabel& label) { label.setTextFormat(Qt::PlainText); }

void ShowPlainText(QMessageBox& box) { box.setTextFormat(Qt::PlainText); }

QString RichTextShowing(const QString& plain) {
  // The paragraph tag makes Qt take it as rich text even when the plain text
  // has no markup, so an escaped "&lt;" is never shown as it is written.
  return QStringLiteral("<p style=\"white-space:pre-wrap\">") + plain.toHtmlEscaped() + QStringLiteral("</p>");
}
