#include "publish/PlayerFolder.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::vector<std::string> PlayerFolderCandidates(const std::string& programFolder) {
  const fs::path bin(programFolder);
  return {(bin / "ruffle").string(),
          (bin.parent_path() / "share" / "orbilux-rezoziv" / "ruffle").lexically_normal().string()};
}

std::string FindPlayerFolder(const std::string& programFolder) {
  const std::vector<std::string> candidates = PlayerFolderCandidates(programFolder);
  for (const std::string& folder : candidates) {
    std::error_code error;
    if (fs::is_regular_file(fs::path(folder) / kPlayerStartScript, error)) return folder;
  }
  return candidates.back();
}

std::string RunningProgramFolder() {
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  return error ? std::string(".") : program.parent_path().string();
}
