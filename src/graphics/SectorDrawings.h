#pragma once
#include "foundations/ChartState.h"
#include "graphics/Wheel.h"
#include "interpretation/Aspects.h"
#include "interpretation/SignFigures.h"

#include <span>
#include <utility>

namespace athanor {

class DataRoot;
class PageCanvas;

// Page position of the midpoint of sign 1..12 on the circle of radius r: the screen
// angle of the wheel taken from the midpoint's longitude and the Ascendant both rounded
// to whole degrees.
std::pair<double, double> signMidpoint(const WheelGeometry& g, double k, const ChartState& chart, int sign, double r);

// The circle of radius R6 with the twelve sign midpoints dotted just inside it.
void drawSignCircle(PageCanvas& canvas, const ChartState& chart, const WheelGeometry& g);
// Chords between sign midpoints, solid or dotted, in the pen each chord names.
void drawSignChords(PageCanvas& canvas, const ChartState& chart, const WheelGeometry& g,
                    std::span<const SignChord> chords, bool dotted);
void drawSignQuadrilaterals(PageCanvas& canvas, const ChartState& chart, const WheelGeometry& g,
                            std::span<const SignQuadrilateral> figures);

// The antiscia view 1..4 of the analysis window: the wheel, the sign circle and the
// chords (1 antiscia, 2 contrantiscia, 3 both, 4 the three quadrilaterals).
void drawAntisciaView(PageCanvas& canvas, const ChartState& chart, const OrbSettings& orbs, int view);
// The energetic affinities view 1..3: 1 magnetic, 2 soli-lunar, 3 both.
void drawAffinityView(PageCanvas& canvas, const ChartState& chart, const OrbSettings& orbs, int view);

// A body's or a sign's own mirror images on the wheel: chords from the point of
// `longitude` on R6 to its antiscion (cyan) and its contrantiscion (red), each end marked.
void drawPointAntiscia(PageCanvas& canvas, const ChartState& chart, const WheelGeometry& g, long double longitude);

// The dodecatemoria wheel: the natal wheel with its planet band narrowed from inside,
// the eleven dodecatemoria spread on an inner band, and their table at the right.
void drawDodecatemoriaView(PageCanvas& canvas, const DataRoot& data, const ChartState& chart, const OrbSettings& orbs);

}  // namespace athanor
