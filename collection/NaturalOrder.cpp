#include "collection/NaturalOrder.h"

#include <cstddef>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Compares the digit runs that start at a[i] and b[j] by value and moves both
// positions past them; -1, 0 or 1.
int CompareNumbers(std::string_view a, std::size_t& i, std::string_view b, std::size_t& j) {
  while (i < a.size() && a[i] == '0') ++i;
  while (j < b.size() && b[j] == '0') ++j;
  const std::size_t startA = i;
  const std::size_t startB = j;
  while (i < a.size() && IsDigit(a[i])) ++i;
  while (j < b.size() && IsDigit(b[j])) ++j;
  const std::string_view digitsA = a.substr(startA, i - startA);
  const std::string_view digitsB = b.substr(startB, j - startB);
  if (digitsA.size() != digitsB.size()) return digitsA.size() < digitsB.size() ? -1 : 1;
  const int order = digitsA.compare(digitsB);
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

}  // namespace

bool NaturalLess(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      const int order = CompareNumbers(a, i, b, j);
      if (order != 0) return order < 0;
      continue;
    }
    const auto ca = static_cast<unsigned char>(Lower(a[i]));
    const auto cb = static_cast<unsigned char>(Lower(b[j]));
    if (ca != cb) return ca < cb;
    ++i;
    ++j;
  }
  const bool restA = i < a.size();
  const bool restB = j < b.size();
  if (restA != restB) return restB;
  return a < b;
}
