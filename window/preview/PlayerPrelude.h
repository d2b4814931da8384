#pragma once
// The script that runs in every preview page just before the SWF player
// (publish/page/preview-prelude.js): it lets the player read the files the
// preview scheme serves, fits the movie into the view, hands the player
// every mouse move, picks the player's renderer, and reports to the window
// through console messages that start with kPageReportTag.

#include <QJsonValue>
#include <QString>

// A report is the tag, a kind, a space and a JSON object:
//   progress {loaded, total}  bytes of the movie read so far; total -1 if unknown
//   fit {scale, rect}         the movie's scale and its place in the view
//   shown {}                  the first picture is on the screen
//   failed {reason}           "unreadable" (the file) or "refused" (the player)
inline constexpr const char* kPageReportTag = "orbilux-preview:";

// The script, for the player whose folder has the address publicPath.
QString PlayerPrelude(const QString& publicPath);

// A JavaScript literal of value, safe inside a page's script element.
QString ScriptLiteral(const QJsonValue& value);

// A JavaScript string literal of text.
QString JsString(const QString& text);
