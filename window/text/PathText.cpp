#include "window/text/PathText.h"

#include <cstddef>

namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // U+DC80 to U+DCFF stand for the bytes 80 to FF

// The code point of the valid UTF-8 sequence at the start of bytes and its
// length, or a length of 0. Valid means shortest form, no surrogates, at
// most U+10FFFF.
std::size_t DecodeOne(const unsigned char* bytes, std::size_t left, char32_t& codePoint) {
  const unsigned char lead = bytes[0];
  std::size_t length = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, minimum = 0x80, codePoint = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, minimum = 0x800, codePoint = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, minimum = 0x10000, codePoint = lead & 0x07;
  } else {
    return 0;
  }
  if (length > left) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((bytes[k] & 0xC0) != 0x80) return 0;
    codePoint = codePoint << 6 | (bytes[k] & 0x3F);
  }
  const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
  return codePoint < minimum || surrogate || codePoint > 0x10FFFF ? 0 : length;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

QString PathToText(const std::string& path) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(path.data());
  QString text;
  text.reserve(static_cast<qsizetype>(path.size()));
  for (std::size_t at = 0; at < path.size();) {
    char32_t codePoint = 0;
    const std::size_t length = DecodeOne(bytes + at, path.size() - at, codePoint);
    if (length == 0) {
      text += QChar(static_cast<char16_t>(kEscapeBase + bytes[at]));
      ++at;
    } else {
      text += QString::fromUcs4(&codePoint, 1);
      at += length;
    }
  }
  return text;
}

std::string PathFromText(const QString& text) {
  std::string path;
  path.reserve(static_cast<std::size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i].unicode();
    if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      AppendUtf8(path, QChar::surrogateToUcs4(unit, text[++i].unicode()));
    } else if (unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF) {
      path += static_cast<char>(unit - kEscapeBase);
    } else if (QChar::isSurrogate(unit)) {
      AppendUtf8(path, 0xFFFD);  // a lone surrogate that stands for no byte
    } else {
      AppendUtf8(path, unit);
    }
  }
  return path;
}

std::string PathFromUrl(const QUrl& url) {
  return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}
