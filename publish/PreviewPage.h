#pragma once
// The preview page: seven lines of HTML that embed the movie in the SWF player
// at the movie size, under a line that says where the movie file lies.

#include <cstdint>
#include <string>

// The page's text for the movie at moviePath, width x height pixels. Every line
// ends in "\r\n", the last one too. The path stands in the page as it is, except
// that '"', '<', '>' and '&' become character references (so no path can break
// the markup). In the two attributes that the player reads as addresses,
// '#', '?', '%', '\', control characters and every byte outside ASCII are
// percent-encoded and a leading run of slashes is one slash, so that the
// address names the file whatever its name's bytes; the visible line keeps
// the path as it is.
std::string PreviewPageText(const std::string& moviePath, std::int32_t width, std::int32_t height);

// Writes text to path, replacing any file of that name at once. A file that
// cannot be created raises FileCreateError; a write that fails part-way,
// StreamWriteError; either way a page already there stays as it was.
void SavePreviewPage(const std::string& path, const std::string& text);
