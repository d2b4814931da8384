#pragma once
// Byte strings written as spaced hexadecimal ("7F 05 EA 03"), as golden
// tables in the tests give them.

#include <cstdint>
#include <string>
#include <vector>

inline std::vector<std::uint8_t> Hex(const std::string& text) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i + 1 < text.size(); i += 3) {
    bytes.push_back(static_cast<std::uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}
