#include "publish/PreviewPage.h"

#include <span>

#include "common/FileReplace.h"
#include "publish/HtmlText.h"

namespace {

// Where a browser without the player fetches its installer, and the page it
// sends the user to for the plug-in.
constexpr const char* kPlayerDownload =
    "http://download.macromedia.com/pub/shockwave/cabs/flash/swflash.cab#version=6,0,40,0";
constexpr const char* kPluginPage = "http://www.macromedia.com/go/getflashplayer";

#ifdef _WIN32
constexpr bool kBackslashSeparates = true;
#else
constexpr bool kBackslashSeparates = false;
#endif

// Bytes that would end or change the path part of an address: '#' and '?'
// start other parts, '%' starts an escape, a browser drops line breaks and
// tabs and reads '\' as '/', and bytes outside ASCII would be read in
// whatever encoding the browser guesses for the page. Each is written as
// its %XX escape, which names the same bytes of the file's name.
bool NeedsEscape(unsigned char c) {
  return c == '%' || c == '#' || c == '?' || (c == '\\' && !kBackslashSeparates) || c < 0x20 || c >= 0x7F;
}

std::string AddressEscaped(const std::string& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  // A leading "//" would make the rest a host name; several leading
  // slashes name the same folder as one.
  std::size_t start = 0;
  if (!kBackslashSeparates) {
    while (start + 1 < path.size() && path[start] == '/' && path[start + 1] == '/') ++start;
  }
  std::string address;
  for (const char c : path.substr(start)) {
    const auto byte = static_cast<unsigned char>(c);
    if (NeedsEscape(byte)) {
      address += '%';
      address += kHex[byte >> 4];
      address += kHex[byte & 0xF];
    } else {
      address += c;
    }
  }
  return orbilux::HtmlEscaped(address);
}

}  // namespace

std::string PreviewPageText(const std::string& moviePath, std::int32_t width, std::int32_t height) {
  const std::string address = AddressEscaped(moviePath);
  const std::string crlf = "\r\n";
  std::string page;
  page += "<p align=\"center\">" + crlf;
  page += "<object classid=\"clsid:D27CDB6E-AE6D-11CF-96B8-444553540000\" id=\"obj1\" codebase=\"" +
          std::string(kPlayerDownload) + "\" border=\"0\" width=\"" + crlf;
  page += std::to_string(width) + "\" height=\"" + std::to_string(height) + "\">" + crlf;
  page += "<param name=\"movie\" value=\"" + address + "\">" + crlf;
  page += "<param name=\"quality\" value=\"High\">" + crlf;
  page += "<embed src=\"" + address + "\" pluginspage=\"" + kPluginPage +
          "\" type=\"application/x-shockwave-flash\" name=\"obj1\"   quality=\"High\"></object></p>" + crlf;
  page +=
      "<br><font size=2><font face=\"Tahoma\"><center>Now you can publish this exciting work above!! "
      "File location-&gt;<font color=\"FF0000\">" +
      orbilux::HtmlEscaped(moviePath) + crlf;
  return page;
}

void SavePreviewPage(const std::string& path, const std::string& text) {
  // Replaced whole, so the view never reads half a page, and a link put in
  // the page's place is replaced rather than followed.
  ReplaceFileContent(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                     SystemFileSystem(), TargetLink::Replace);
}
