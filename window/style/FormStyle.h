#pragma once
// What the three windows share: their font and, for the two dialogs, a fixed
// frame with a close box but no minimise or maximise box.

#include <QFont>
#include <Qt>

// "MS Sans Serif", 11 pixels high; where it is not installed Qt falls back to
// the system's sans-serif face.
inline QFont FormFont() {
  QFont font("MS Sans Serif");
  font.setPixelSize(11);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

inline constexpr Qt::WindowFlags kFixedDialogFlags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                     Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
