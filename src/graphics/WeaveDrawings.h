#pragma once
#include "interpretation/Weaves.h"

namespace athanor {

class PageCanvas;

// Screen: the analysis window's look, titles at the top left of the drawing area and the
// tag above the chart centre. Print: the pages' look, titles over the table itself.
enum class WeaveLook { Screen, Print };

// Each table is placed by the centre (Y, X) of its grid.
void drawElementalWeave(PageCanvas& canvas, const WeaveCounts& counts, double y, double x, WeaveLook look);
void drawSeasonalWeave(PageCanvas& canvas, const WeaveCounts& counts, double y, double x, WeaveLook look);
void drawHumoralTable(PageCanvas& canvas, const Humors& humors, bool seasonal, double y, double x, WeaveLook look);

// The anchors of the analysis window (chart centre 100, 100).
inline constexpr double kElementalWeaveY = 104, kElementalWeaveX = 102;
inline constexpr double kWeaveY = 100, kWeaveX = 104;

}  // namespace athanor
