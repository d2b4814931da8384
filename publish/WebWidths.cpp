#include "publish/WebWidths.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kMostPixelRatio = 2;
constexpr double kPhoneWidth = 390, kPhoneRatio = 3;
constexpr double kDesktopWidth = 1366, kDesktopHeight = 768;
constexpr std::int32_t kMiddle = 960;
}  // namespace

std::vector<std::int32_t> WebWidths(std::span<const std::int32_t> asked, std::int32_t originalWidth) {
  std::vector<std::int32_t> widths;
  for (const std::int32_t w : asked) widths.push_back(std::min(w, originalWidth));
  std::sort(widths.begin(), widths.end());
  widths.erase(std::unique(widths.begin(), widths.end()), widths.end());
  return widths;
}

std::int32_t WidthFor(std::span<const std::int32_t> widths, double cssWidth, double pixelRatio) {
  const double needed = std::ceil(cssWidth * std::min(pixelRatio, kMostPixelRatio));
  for (const std::int32_t w : widths) {
    if (w >= needed) return w;
  }
  return widths.back();
}

std::int32_t MiddleWidth(std::span<const std::int32_t> widths) { return WidthFor(widths, kMiddle, 1); }

std::int32_t PhoneWidth(std::span<const std::int32_t> widths) { return WidthFor(widths, kPhoneWidth, kPhoneRatio); }

std::int32_t DesktopWidth(std::span<const std::int32_t> widths, std::int32_t width, std::int32_t height) {
  const double fitted = std::min(kDesktopWidth, kDesktopHeight * width / height);
  return WidthFor(widths, fitted, 1);
}
