// Draws the movie's hint "Use the mouse drag screen to view" and writes its
// pixels, compressed once with zlib, as the C++ source of
// hint_bitmap::CompressedPixels(). Run by hand when the picture changes; the
// build only compiles the file this writes.
//
// Usage: make-hint-bitmap OUTPUT.cpp [PREVIEW.png]
//
// The picture is 218 x 32 pixels: a dark grey panel at alpha 157 with
// smoothed round corners and a one-pixel transparent border, and one line of
// near-white smoothed lettering. Pixels are stored alpha, red, green, blue,
// colours premultiplied by alpha, rows top to bottom. The optional preview
// shows the picture four times enlarged over a light background.

#include <zlib.h>

#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRect>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "movie/HintBitmap.h"

namespace {

using hint_bitmap::kHeight;
using hint_bitmap::kWidth;

const char* const kText = "Use the mouse drag screen to view";

constexpr int kPanelAlpha = 157;
constexpr int kPanelGrey = 0x2A;
constexpr int kInkGrey = 252;
const QRectF kPanel(1, 1, kWidth - 2, kHeight - 2);
constexpr double kCornerRadius = 3.0;

// Where the lettering goes: its ink lies within columns 20 to 199, ascenders
// start on row 11, lower-case letters on row 14, the baseline is the bottom of
// row 20 and descenders end on row 22. The font's hinting puts the x-height and
// the ascenders on those rows at this size; its descenders are one row deeper
// than the picture allows and are folded up into the last row.
constexpr int kPixelSize = 13;
constexpr int kBaseline = 21;
constexpr int kLastInkRow = 22;
constexpr double kInkCentre = 110.0;
const QRect kInkLimits(QPoint(20, 11), QPoint(199, kLastInkRow));

// DejaVu Sans Condensed, narrowed a little further so the line fits 180
// pixels, hinted so the strokes sit on whole pixels.
QFont LetteringFont() {
  QFont font("DejaVu Sans");
  font.setStretch(QFont::Condensed);
  font.setPixelSize(kPixelSize);
  font.setHintingPreference(QFont::PreferFullHinting);
  font.setStyleStrategy(
      QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias | QFont::NoFontMerging));
  const QFontInfo info(font);
  if (info.family() != "DejaVu Sans" || info.styleName() != "Condensed") {
    throw std::runtime_error("The font DejaVu Sans Condensed is not installed (found " + info.family().toStdString() +
                             " " + info.styleName().toStdString() + ").");
  }
  return font;
}

// Smoothed coverage (0 to 255) of the line of text, one byte per pixel.
QImage LetteringCoverage() {
  const QFont font = LetteringFont();
  const double advance = QFontMetricsF(font).horizontalAdvance(kText);
  QImage canvas(kWidth, kHeight, QImage::Format_RGB32);
  canvas.fill(Qt::black);
  QPainter painter(&canvas);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QPointF(std::round(kInkCentre - advance / 2), kBaseline), kText);
  painter.end();

  QImage cover = canvas.convertToFormat(QImage::Format_Grayscale8);
  uchar* last = cover.scanLine(kLastInkRow);
  for (int y = kLastInkRow + 1; y < kHeight; ++y) {
    uchar* row = cover.scanLine(y);
    for (int x = 0; x < kWidth; ++x) last[x] = std::max(last[x], std::exchange(row[x], uchar{0}));
  }
  return cover;
}

// Smoothed coverage (0 to 255) of the rounded panel, one byte per pixel.
QImage PanelCoverage() {
  QPainterPath panel;
  panel.addRoundedRect(kPanel, kCornerRadius, kCornerRadius);
  QImage mask(kWidth, kHeight, QImage::Format_Alpha8);
  mask.fill(Qt::transparent);
  QPainter painter(&mask);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillPath(panel, Qt::black);
  return mask;
}

int Div255(int value) { return (value + 127) / 255; }

// The picture's pixels: alpha, red, green, blue, premultiplied.
std::vector<std::uint8_t> HintPixels() {
  const QImage panelCover = PanelCoverage();
  const QImage inkCover = LetteringCoverage();

  std::vector<std::uint8_t> pixels;
  pixels.reserve(hint_bitmap::kPixelBytes);
  for (int y = 0; y < kHeight; ++y) {
    const uchar* panelRow = panelCover.constScanLine(y);
    const uchar* inkRow = inkCover.constScanLine(y);
    for (int x = 0; x < kWidth; ++x) {
      const int alpha = Div255(panelRow[x] * kPanelAlpha);
      const int grey = kPanelGrey + Div255(inkRow[x] * (kInkGrey - kPanelGrey));
      const auto colour = static_cast<std::uint8_t>(Div255(grey * alpha));
      pixels.insert(pixels.end(), {static_cast<std::uint8_t>(alpha), colour, colour, colour});
    }
  }
  return pixels;
}

std::vector<std::uint8_t> Compress(const std::vector<std::uint8_t>& data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::vector<std::uint8_t> out(size);
  if (compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), 9) != Z_OK) {
    throw std::runtime_error("zlib could not compress the pixels.");
  }
  out.resize(size);
  return out;
}

void WriteSource(const std::string& path, const std::vector<std::uint8_t>& stream) {
  std::ofstream out(path, std::ios::binary);
  out << "// The hint picture's pixels as one zlib stream. Written by\n"
         "// tools/make-hint-bitmap; edit that program and run it again instead.\n\n"
         "#include \"movie/HintBitmap.h\"\n\n"
         "namespace hint_bitmap {\n"
         "namespace {\n\n"
         "// clang-format off\n"
         "constexpr std::uint8_t kCompressed[] = {\n";
  char hex[8];
  for (std::size_t i = 0; i < stream.size(); ++i) {
    if (i % 12 == 0) out << "   ";
    std::snprintf(hex, sizeof hex, " 0x%02X,", stream[i]);
    out << hex;
    if (i % 12 == 11 || i + 1 == stream.size()) out << '\n';
  }
  out << "};\n"
         "// clang-format on\n\n"
         "}  // namespace\n\n"
         "std::span<const std::uint8_t> CompressedPixels() { return kCompressed; }\n\n"
         "}  // namespace hint_bitmap\n";
  out.close();
  if (!out) throw std::runtime_error("Cannot write " + path + ".");
}

// The picture over a light background, enlarged four times without smoothing.
void WritePreview(const std::string& path, const std::vector<std::uint8_t>& pixels) {
  constexpr int kZoom = 4;
  constexpr int kBackground = 0xE8;
  QImage preview(kWidth * kZoom, kHeight * kZoom, QImage::Format_RGB32);
  for (int y = 0; y < preview.height(); ++y) {
    for (int x = 0; x < preview.width(); ++x) {
      const std::uint8_t* p = &pixels[((y / kZoom) * kWidth + x / kZoom) * 4];
      const int v = p[1] + Div255(kBackground * (255 - p[0]));
      preview.setPixel(x, y, qRgb(v, v, v));
    }
  }
  if (!preview.save(QString::fromStdString(path))) throw std::runtime_error("Cannot write " + path + ".");
}

// The box the lettering's ink covers: pixels of the panel brighter than its grey.
QRect InkBox(const std::vector<std::uint8_t>& pixels) {
  QRect box;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const std::uint8_t* p = &pixels[(y * kWidth + x) * 4];
      if (p[0] == kPanelAlpha && p[1] > Div255(kPanelGrey * kPanelAlpha)) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s OUTPUT.cpp [PREVIEW.png]\n", argv[0]);
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  try {
    const std::vector<std::uint8_t> pixels = HintPixels();
    const QRect ink = InkBox(pixels);
    std::printf("ink: columns %d to %d, rows %d to %d\n", ink.left(), ink.right(), ink.top(), ink.bottom());
    if (argc == 3) WritePreview(argv[2], pixels);
    if (!kInkLimits.contains(ink)) throw std::runtime_error("The lettering does not fit its box.");
    const std::vector<std::uint8_t> stream = Compress(pixels);
    WriteSource(argv[1], stream);
    std::printf("pixels: %zu bytes, compressed: %zu bytes\n", pixels.size(), stream.size());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
