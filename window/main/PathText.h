#pragma once
// The one place where a path, which is bytes on the file system, becomes
// text for the window and back. Bytes that are valid UTF-8 read as their
// characters; every other byte becomes a lone surrogate U+DC80 to U+DCFF
// (as Python's "surrogateescape" does), so any name survives the round trip
// exactly, where QFile::decodeName would turn it into U+FFFD for good.

#include <QString>
#include <string>

// The path's bytes as text; PathFromText gives back exactly these bytes.
QString PathToText(const std::string& path);

// The text's path: UTF-8, with U+DC80 to U+DCFF standing for single bytes.
std::string PathFromText(const QString& text);
