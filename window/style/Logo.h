#pragma once
// The program's own picture: a photo inside a circular arrow, the object
// turned by dragging. The about dialog, the window icon and the installed
// desktop icons (rendered by tools/make-icons) all draw it here.

#include <QPainter>

// Draws the logo into the square (0, 0, size, size) of painter, on a
// transparent ground.
void PaintLogo(QPainter& painter, double size);
