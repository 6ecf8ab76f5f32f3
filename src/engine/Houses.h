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
    long double offset1 = 0;  // the chart builder passes 0
    long double offset2 = 0;  // ... and TimeCorrection
    char modeLetter = 'N';    // mode 2: 'L' or 'S'
    long double jd = 0;       // Julian day of the instant, universal time
};

// Sidereal time, MC, ascendant and the twelve cusps in chart.HouseSystem; writes
// HouseCusp[0..11], LocalSiderealTime, MidheavenRadians, AscendantRadians.
// "ALCABIZIO" and unknown names set only cusps 1 and 10 and keep the others.
void computeHouses(ChartState& chart, const HouseInput& input);

// Local sidereal time in hours [0, 24) of modes 1 and 2 (the clock time, the offsets
// and the east longitude added to the sidereal theta of input.jd).
long double localSiderealTime(const HouseInput& input);

// Ecliptic longitude (degrees) of the point of the ecliptic with right ascension ra
// (degrees, [0, 360)): the midheaven formula.
long double longitudeFromRightAscension(long double ra, long double epsDegrees);

// Placidus point of fraction f of the semi-arc: the ecliptic longitude whose right
// ascension is ramc + f H, H solved from K sin(ramc + f H) = cos H by five secant steps
// (K = -tan lat tan eps). Degrees.
long double placidusPoint(long double ramc, long double K, long double epsDegrees, long double f);

}  // namespace athanor
