#pragma once
#include "foundations/ChartState.h"

#include <string>

namespace athanor {

// Inputs of one house computation.
struct HouseInput {
    int mode = 1;  // 1 birth time with corrections, 2 local time given, 3 sidereal time given
    long double longitudeDegrees = 0, longitudeMinutes = 0;
    char longitudeSide = 'E';  // 'O' or 'W' west, anything else east
    long double latitudeDegrees = 0, latitudeMinutes = 0;
    char latitudeHemisphere = 'N';  // 'S' south
    long double hour = 0, minute = 0;
    long double offset1 = 0;        // the chart builder passes 0
    long double offset2 = 0;        // ... and TimeCorrection
    char modeLetter = 'N';          // mode 2: 'L' or 'S'
    long double jd = 0;             // Julian day of the instant, universal time
};

// Sidereal time, MC, ascendant and the twelve cusps in chart.HouseSystem; writes
// HouseCusp[0..11], LocalSiderealTime, MidheavenRadians, AscendantRadians.
void computeHouses(ChartState& chart, const HouseInput& input);

}  // namespace athanor
