#pragma once
// The picture every strip cell shows under its thumbnail, and alone in the
// empty cell: a light-grey and white checkerboard, generated rather than
// shipped as a resource.

#include <QImage>

inline constexpr int kPlaceholderWidth = 140;
inline constexpr int kPlaceholderHeight = 129;

// 140 x 129 pixels of alternating white and light-grey squares, 4 and 5
// pixels wide in turn.
QImage PicturePlaceholder();
