#pragma once
// The widths a web folder holds its pictures in, and which of them a
// visitor's browser fetches: the smallest that covers the stage's width in
// device pixels, the pixel ratio counted at most 2 (a sharper picture is not
// seen on a phone, only paid for), else the largest. The page's script picks
// with the same rule.

#include <cstdint>
#include <span>
#include <vector>

// The widths --web-widths gives when not named.
inline constexpr std::int32_t kDefaultWebWidths[] = {480, 960, 1440, 1920};

// The widths asked for, each no wider than the original (a wider one becomes
// the original's width), without duplicates, ascending.
std::vector<std::int32_t> WebWidths(std::span<const std::int32_t> asked, std::int32_t originalWidth);

// The width fetched for a stage shown cssWidth CSS pixels wide at pixelRatio.
std::int32_t WidthFor(std::span<const std::int32_t> widths, double cssWidth, double pixelRatio);

// The width the page names as its first picture before any script runs: a
// middle one, the smallest of at least 960, else the largest.
std::int32_t MiddleWidth(std::span<const std::int32_t> widths);

// The width a phone fetches: 390 CSS pixels wide at a pixel ratio of 3.
std::int32_t PhoneWidth(std::span<const std::int32_t> widths);

// The width a desktop fetches: the stage of width x height fitted into a
// 1366 x 768 window at a pixel ratio of 1.
std::int32_t DesktopWidth(std::span<const std::int32_t> widths, std::int32_t width, std::int32_t height);
