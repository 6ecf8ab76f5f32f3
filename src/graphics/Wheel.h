#pragma once
#include "foundations/ChartState.h"
#include "interpretation/Aspects.h"

#include <QPoint>

#include <optional>
#include <utility>
#include <vector>

namespace athanor {

class PageCanvas;
struct DrawingState;

// Radii and centre of the wheel in page units.
struct WheelGeometry {
    double cx = 100, cy = 100;
    double r1 = 78;  // zodiac ring inner circle; outer circle r1 + 5
    double r2 = 65;  // sign band inner circle
    double r3 = 65;  // planet band outer circle
    double r4 = 50;  // planet band inner circle
    double r5 = 47;  // house ring outer circle
    double r6 = 39;  // house ring inner circle; aspect lines end here
};

// Analysis: the analysis window's wheel (11 bodies, click markers, hit table).
// Print: the natal pages' wheel (9 bodies, degree texts outside, no node aspects).
enum class WheelStyle { Analysis, Print };

struct WheelOptions {
    WheelStyle style = WheelStyle::Analysis;
    bool aspectLines = true;
    bool lineVariant = false;   // aspects as dashed and plain lines instead of spindles
    bool powersBodies = false;  // aspect lines over bodies 1 to 14
    // The analysis window's second style: cusp axes through the centre, labelled
    // "I", "2", "3", "IV", ...
    bool houseAxesThroughCentre = false;
};

// Where a glyph of the wheel was drawn, for the mouse.
struct WheelHit {
    enum class Kind { Sign, Body };
    Kind kind;
    int number;   // sign 1..12 or body 1..11
    double y, x;  // glyph centre, page units
};
using WheelHitTable = std::vector<WheelHit>;

// One aspect line of the wheel.
struct WheelAspect {
    int a, b;       // bodies, a < b
    int orbIndex;   // aspect::Opposition, Trine, Square or Sextile
    int deviation;  // whole degrees from exact, halves to even
};

// Screen angle of a longitude: the Ascendant on the left, longitudes counter-clockwise.
double screenAngle(double longitude, double ascendant);
// Page position (Y, X) of radius r at screen angle theta; k stretches the vertical.
std::pair<double, double> wheelPoint(const WheelGeometry& g, double k, double r, double theta);

// The planets crowding rule: angles (degrees, any order) spread to at least 8 degrees
// apart, returned in input order.
std::vector<double> spreadAngles(const std::vector<double>& trueAngles);

// The whole number nearest to x, halves to even.
int roundHalfEven(double x);

// Major aspects between bodies 1..lastBody (opposition, trine, square, sextile with the
// strict test; conjunctions and oppositions within half a degree left out).
std::vector<WheelAspect> wheelAspects(const ChartState& chart, const OrbSettings& orbs, int lastBody, bool skipNodes);

// Draws the wheel and returns the glyph positions.
WheelHitTable drawWheel(PageCanvas& canvas, const ChartState& chart, const OrbSettings& orbs,
                        const WheelGeometry& geometry = {}, const WheelOptions& options = {});

// The glyph a click hits: within 15 pixels (divided by the correction of the axis) of its
// centre, the click taken without the pan offsets.
std::optional<WheelHit> findHit(const WheelHitTable& table, const DrawingState& state, QPoint click);

}  // namespace athanor
