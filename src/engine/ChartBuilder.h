#pragma once
#include "engine/CorrectionFiles.h"
#include "engine/Houses.h"
#include "foundations/ChartState.h"

#include <array>
#include <string>

namespace athanor {

enum class ChartVariant {
    MainWindow,  // equal houses only
    Analysis,    // Placidus first, then equal houses (the same result, as the analysis runs it)
};

// The house computation of the chart's instant at its place, as every chart of a subject
// runs it: mode 1, letter "N", the local clock time, offsets 0 and TimeCorrection, and
// ChartJulianDay. The sunrise search changes the instant of a copy.
HouseInput houseInputFor(const ChartState& chart);

// Computes the chart whose date, place, correction and Universal-time Julian day
// (ChartJulianDay) are already in the state, in chart order: equal houses from the
// ascendant, every body with its retrograde mark, the asteroids cleared outside
// 1850-2080, nodes and angles at indices 8 to 11, and the derived tables. Throws
// FileError when a correction file fails.
void computeChart(ChartState& chart, const CorrectionFiles& files, ChartVariant variant = ChartVariant::MainWindow);

// The Julian day at which the Sun's ecliptic degree rises at the place of the current
// chart on its birth date, stepping from 0 h local time. The chart state is left as it
// was, apart from LocalSiderealTime.
long double sunriseSearch(ChartState& chart, const CorrectionFiles& files);

// The 26 Placidus semi-arc points of the planetary hours (entries 0..25): entries 1 to 7
// the points of 1, 5/6 .. 1/6, 0 of the diurnal semi-arc, 20 to 24 the nocturnal points
// plus 180, 8 to 12 and 13 to 19 their opposites, 25 = entry 1 and 0 = entry 24. The
// local sidereal time of the input is stored in LocalSiderealTime.
std::array<long double, 26> semiArcHourPoints(ChartState& chart, const HouseInput& input);

}  // namespace athanor
