#pragma once
#include "foundations/ChartState.h"
#include "interpretation/Aspects.h"

#include <optional>
#include <string>
#include <vector>

namespace athanor {

// The three aspect views over the eleven chart bodies, every pair (i < j) once, i in the
// outer loop.

// The memo lines: "ASPECTOS PLANETARIOS", one line per major aspect ("2.50   Sol
// Cuadradura Marte"), a line of three blanks and the two closing lines. Exact
// oppositions (within 0.00001°) are left out, so the nodes never appear.
std::vector<std::string> aspectListLines(const ChartState& chart, const OrbSettings& orbs);

struct EclipticCell {
    int first = 0, second = 0;  // column i, row j
    long double separation = 0;
    std::optional<int> kind;  // orb index; empty cell when none
    int glyphCode = 0;
    std::string deviation;  // |round(s − angle)|, two digits, halves to even
};

// Every pair, classified with all the kinds of the classification order.
std::vector<EclipticCell> eclipticGrid(const ChartState& chart, const OrbSettings& orbs);

enum class DistanceClass { None, Hard, Soft, Conjunction };

struct SphericalCell {
    int first = 0, second = 0;
    long double distance = 0;  // degrees on the sphere, [0, 180]
    std::string text;          // five characters, "93.00"
    DistanceClass cls = DistanceClass::None;
};

// Great-circle distance from the colatitudes and the ecliptic separation.
long double sphericalDistance(long double lat1, long double lat2, long double separation);
DistanceClass classifyDistance(long double distance, const OrbSettings& orbs);
std::vector<SphericalCell> sphericalGrid(const ChartState& chart, const OrbSettings& orbs);

// Logical pen of the line under a coloured cell: 74 hard, 75 soft, 76 conjunction; 0 none.
int distancePen(DistanceClass cls);

}  // namespace athanor
