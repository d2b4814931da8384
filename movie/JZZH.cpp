#include "movie/JZZH.h"

#include <cctype>
#include <cmath>
#include <cstdint>

#include "common/Errors.h"

namespace orbilux {

std::int64_t Round(double value) {
  // nearbyint follows the default rounding mode: to nearest, ties to even.
  return static_cast<std::int64_t>(std::nearbyint(value));
}

std::int64_t Trunc(double value) { return static_cast<std::int64_t>(std::trunc(value)); }

std::string PadLeft(const std::string& text, std::size_t n, char fill) {
  if (text.size() >= n) return text;
  return std::string(n - text.size(), fill) + text;
}

std::int32_t StrToInt(const std::string& text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i < text.size() && text[i] == '$') {
    // Hexadecimal: up to 32 bits, read as the bit pattern of a signed value.
    ++i;
    if (i == text.size() || text.size() - i > 8) throw ConvertError(text);
    std::uint32_t value = 0;
    for (; i < text.size(); ++i) {
      if (!std::isxdigit(static_cast<unsigned char>(text[i]))) throw ConvertError(text);
      int digit = std::isdigit(static_cast<unsigned char>(text[i]))
                      ? text[i] - '0'
                      : std::toupper(static_cast<unsigned char>(text[i])) - 'A' + 10;
      value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    std::int32_t result = static_cast<std::int32_t>(value);
    return negative ? static_cast<std::int32_t>(0u - value) : result;
  }
  if (i == text.size()) throw ConvertError(text);
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) throw ConvertError(text);
    value = value * 10 + (text[i] - '0');
    if (value > 2147483648LL) throw ConvertError(text);
  }
  if (negative) value = -value;
  if (value > INT32_MAX || value < INT32_MIN) throw ConvertError(text);
  return static_cast<std::int32_t>(value);
}

}  // namespace orbilux

using orbilux::StrToInt;
using orbilux::Trunc;

std::string TConversion::DecToBin(const std::string& decimal) const {
  std::int32_t v = StrToInt(decimal);
  std::string result;
  while (v != 0) {
    result = std::to_string(v % 2) + result;
    v /= 2;
  }
  return result;
}

std::int32_t TConversion::BinToInt(const std::string& binary) const {
  std::uint32_t sum = 0;
  const std::size_t length = binary.size();
  for (std::size_t i = length; i >= 1; --i) {
    if (binary[i - 1] == '1') sum += std::uint32_t{1} << ((length - i) % 32);
  }
  return static_cast<std::int32_t>(sum);
}

std::string TConversion::NegToBin(std::int32_t n) const {
  const std::int64_t a = n < 0 ? -static_cast<std::int64_t>(n) : n;
  const std::size_t length = DecToBin(std::to_string(a)).size();
  const std::int64_t mask = static_cast<std::uint32_t>(BinToInt(std::string(length + 1, '1')));
  const std::int64_t r = (a ^ mask) + 1;
  return DecToBin(std::to_string(r));
}

std::string TConversion::RealToFixedBin(double x) const {
  const std::int64_t t = Trunc(x);
  std::string digits = DecToBin(std::to_string(t));
  double f = x - static_cast<double>(t);
  for (int k = 0; k < 16; ++k) {
    f *= 2;
    if (Trunc(f) != 0) {
      digits += '1';
      f -= 1;
    } else {
      digits += '0';
    }
  }
  return digits;
}

std::string TConversion::BinToHex(const std::string& binary) const {
  static const char kDigits[] = "0123456789ABCDEF";
  const std::size_t n = binary.size();
  std::string hex(n / 4 + (n % 4 > 0 ? 1 : 0), '0');
  std::size_t out = hex.size();
  int j = 0;
  int sum = 0;
  for (std::size_t i = n; i >= 1; --i) {
    if (binary[i - 1] == '1') sum += 1 << j;
    if (++j == 4) {
      hex[--out] = kDigits[sum];
      j = 0;
      sum = 0;
    }
  }
  if (j > 0) hex[--out] = kDigits[sum];
  return hex;
}

std::string TConversion::HexToDec(const std::string& hex) const { return std::to_string(StrToInt("$" + hex)); }

myByteArray TConversion::BinToBytes(const std::string& binary) const {
  std::string padded = binary;
  if (padded.size() % 8 != 0) padded.append(8 - padded.size() % 8, '0');
  const std::string hex = BinToHex(padded);
  myByteArray bytes(hex.size() / 2);
  for (std::size_t k = 0; k < bytes.size(); ++k) {
    bytes[k] = static_cast<std::uint8_t>(StrToInt(HexToDec(hex.substr(2 * k, 2))));
  }
  return bytes;
}
