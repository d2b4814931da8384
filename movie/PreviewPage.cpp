#include "movie/PreviewPage.h"

#include <algorithm>
#include <iterator>
#include <span>

#include "movie/FileReplace.h"

namespace {

// Where a browser without the player fetches its installer, and the page it
// sends the user to for the plug-in.
constexpr const char* kPlayerDownload =
    "http://download.macromedia.com/pub/shockwave/cabs/flash/swflash.cab#version=6,0,40,0";
constexpr const char* kPluginPage = "http://www.macromedia.com/go/getflashplayer";

struct Replacement {
  char from;
  const char* to;
};

// text with every character listed in replacements put in its stead.
template <std::size_t N>
std::string Replaced(const std::string& text, const Replacement (&replacements)[N]) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto* hit = std::find_if(std::begin(replacements), std::end(replacements),
                                   [c](const Replacement& r) { return r.from == c; });
    if (hit == std::end(replacements)) {
      out += c;
    } else {
      out += hit->to;
    }
  }
  return out;
}

constexpr Replacement kMarkup[] = {{'"', "&quot;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'&', "&amp;"}};
// The characters that would end or change the path part of an address.
constexpr Replacement kAddress[] = {{'%', "%25"}, {'#', "%23"}, {'?', "%3F"}};

std::string HtmlEscaped(const std::string& text) { return Replaced(text, kMarkup); }

std::string AddressEscaped(const std::string& path) { return HtmlEscaped(Replaced(path, kAddress)); }

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
  page += "<br><font size=2><font face=\"Tahoma\"><center>Now you can publish this exciting work above!! "
          "File location-&gt;<font color=\"FF0000\">" +
          HtmlEscaped(moviePath) + crlf;
  return page;
}

void SavePreviewPage(const std::string& path, const std::string& text) {
  // Replaced whole, so the view never reads half a page, and a link put in
  // the page's place is replaced rather than followed.
  ReplaceFileContent(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                     SystemFileSystem(), TargetLink::Replace);
}
