#pragma once
// The window's pictures: the desktop theme's icons where it has them, else
// our own, drawn in code so that nothing depends on installed themes.

#include <QIcon>
#include <QPixmap>

QIcon ApplicationIcon();
QIcon BuildIcon();
QIcon DeleteIcon();
QIcon PreviousIcon();
QIcon NextIcon();
QIcon PreviewIcon();

// The logo of the about dialog: photos set in a ring with an arrow turning
// them, size x size pixels.
QPixmap LogoPixmap(int size);
