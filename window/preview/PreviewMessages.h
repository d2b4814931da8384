#pragma once
// What the preview says about a movie it cannot show.

#include <QString>
#include <optional>

// A plain message with the movie's path when the file at moviePath (text as
// PathText makes it) does not exist, is a folder or no file at all, or cannot
// be read; nothing when it can be read.
std::optional<QString> MovieFileProblem(const QString& moviePath);

// The messages when the page's player could not read the movie, or refused it.
QString MovieUnreadableText(const QString& moviePath);
QString MovieRefusedText(const QString& moviePath);
