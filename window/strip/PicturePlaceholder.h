#pragma once
// The picture every strip cell shows under its thumbnail, and alone in the
// empty cell: a light-grey and white checkerboard, generated rather than
// shipped as a resource.

#include <QImage>

#include "collection/JpegHeader.h"

inline constexpr int kPlaceholderWidth = 140;
inline constexpr int kPlaceholderHeight = 129;

// 140 x 129 pixels of alternating white and light-grey squares, 4 and 5
// pixels wide in turn.
QImage PicturePlaceholder();

// The placeholder with a picture's size written over it, for a picture too
// large to decode: "8200 x 8200" above "too large to show".
QImage TooLargePlaceholder(JpegSize size);
