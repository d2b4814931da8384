#pragma once
// The files of the web folder's pages, kept in publish/page/ and built into
// the program, so that an installed builder alone can write a web folder.

#include <span>
#include <string_view>

struct EmbeddedFile {
  std::string_view Name;  // the file's name in publish/page/
  std::string_view Bytes;
};

// Every page file, in a fixed order.
std::span<const EmbeddedFile> PageFiles();

// The bytes of the page file with this name; std::out_of_range for a name
// that is not one.
std::string_view PageFile(std::string_view name);
