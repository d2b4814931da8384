#include "publish/PageFiles.h"

#include <stdexcept>
#include <string>

std::string_view PageFile(std::string_view name) {
  for (const EmbeddedFile& file : PageFiles()) {
    if (file.Name == name) return file.Bytes;
  }
  throw std::out_of_range("no page file " + std::string(name));
}
