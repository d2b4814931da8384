#pragma once
// A folder's whole content, to compare folders and to see that one is
// untouched: every file's path relative to the folder, with its bytes
// (folders end with "/" and have no bytes).

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

using FolderTree = std::map<std::string, std::string>;

inline FolderTree ReadTree(const std::filesystem::path& folder) {
  FolderTree tree;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const std::string name = std::filesystem::relative(entry.path(), folder).string();
    if (entry.is_directory()) {
      tree[name + "/"] = "";
      continue;
    }
    std::ifstream in(entry.path(), std::ios::binary);
    tree[name] = {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  return tree;
}
