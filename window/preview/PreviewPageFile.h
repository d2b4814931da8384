#pragma once
// Where the preview page is written, and its writing.

#include <QString>
#include <cstdint>

// The fixed page file: C:\test.html on Windows; elsewhere test.html in the
// user's own runtime folder (or, without one, the program's cache folder),
// never a shared folder where another user could put a link in its place.
// A missing cache folder is made, readable and writable by its owner only;
// one that is there must belong to the user and be closed to others, or
// nothing is written there (an AppError says so).
QString PreviewPagePath();

// The choice PreviewPagePath makes off Windows, given the two folders (an
// empty one stands for none). Throws AppError when the cache folder is
// someone else's or open to others.
QString PreviewPagePathIn(const QString& runtimeFolder, const QString& cacheFolder);

// Writes the page for the movie at moviePath, width x height pixels, to
// PreviewPagePath() and returns that path. Throws FileCreateError when the
// file cannot be created.
QString WritePreviewPage(const QString& moviePath, std::int32_t width, std::int32_t height);
