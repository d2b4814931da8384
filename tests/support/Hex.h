#pragma once
// Bytes from a text of space-separated hexadecimal pairs ("96 02 00 08 05").

#include <cstdint>
#include <string>

#include "movie/JZZH.h"

inline myByteArray Hex(const std::string& text) {
  myByteArray bytes;
  for (std::size_t i = 0; i + 1 < text.size(); i += 3) {
    bytes.push_back(static_cast<std::uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}
