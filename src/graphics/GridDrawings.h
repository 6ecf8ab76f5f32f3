#pragma once
#include "foundations/ChartState.h"
#include "interpretation/Aspects.h"

namespace athanor {

class PageCanvas;

// The triangular aspect grids over the eleven chart bodies: a column per first body
// (1..10), a row per second body (2..11), cells 8 units wide and 5 high. The body glyphs
// stand on the diagonal, body n at the top of column n and at the end of row n, so the
// staircase names both. (Y, X) is the top-left corner of the first glyph; the titles
// stand in the empty corner at the top right.
inline constexpr double kGridCellWidth = 8;
inline constexpr double kGridCellHeight = 5;

// Top-left corner of the cell of the pair (first, second).
inline double gridCellLeft(double x, int first) { return x + kGridCellWidth * (first - 1); }
inline double gridCellTop(double y, int second) { return y + kGridCellHeight * (second - 1); }

// Aspect glyphs and their deviations along the ecliptic.
void drawEclipticGrid(PageCanvas& canvas, const ChartState& chart, const OrbSettings& orbs, double y, double x,
                      bool titles);
// Angular distances on the sphere, coloured by the kind they come near.
void drawSphericalGrid(PageCanvas& canvas, const ChartState& chart, const OrbSettings& orbs, double y, double x);

}  // namespace athanor
