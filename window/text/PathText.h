#pragma once
// The one place where a path, which is bytes on the file system, becomes
// text for the window and back. Bytes that are valid UTF-8 read as their
// characters; every other byte becomes a lone surrogate U+DC80 to U+DCFF
// (as Python's "surrogateescape" does), so any name survives the round trip
// exactly, where QFile::decodeName would turn it into U+FFFD for good.

#include <QString>
#include <QUrl>
#include <string>

// The path's bytes as text; PathFromText gives back exactly these bytes.
QString PathToText(const std::string& path);

// The text's path: UTF-8, with U+DC80 to U+DCFF standing for single bytes.
std::string PathFromText(const QString& text);

// The path of a local file's address, as a file manager gives it when files
// are dragged: every byte of the name is percent-encoded there, so the bytes
// are taken from the encoded address, not from its text.
std::string PathFromUrl(const QUrl& url);
