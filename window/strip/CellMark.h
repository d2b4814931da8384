#pragma once
// The badge in a strip cell's top right corner that makes a picture with a
// problem easy to find: a red disc for one the movie cannot be made of, an
// amber triangle for one that builds but will show wrong.

#include <QPainter>

enum class CellMark { None, Warning, Refused };

// Draws the mark over the picture of the cell starting at x0; nothing for None.
void DrawCellMark(QPainter& painter, int x0, CellMark mark);
