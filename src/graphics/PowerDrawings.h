#pragma once
#include "interpretation/Powers.h"

namespace athanor {

class PageCanvas;

// The ten bars of the planetary powers from the view's anchor (X0, Y0): bar i at
// X0 + 0.7 - 5 + 6i, five units wide, standing on Y0 + 30; its glyph and score text
// under it.
void drawPowerBars(PageCanvas& canvas, const Powers& powers, double x0, double y0);

// Left edge of bar i (1..10).
inline double powerBarLeft(double x0, int bar) { return x0 + 0.7 - 5 + 6.0 * bar; }

}  // namespace athanor
