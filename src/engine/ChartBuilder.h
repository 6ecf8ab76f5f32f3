#pragma once
#include "engine/CorrectionFiles.h"
#include "engine/Houses.h"
#include "foundations/ChartState.h"

#include <array>
#include <string>

namespace athanor {

// What the chart computation reads of a subject.
struct ChartSubject {
    std::string birthStamp;    // "YYYYMMDDhhmm" + correction
    std::string coordText;     // first 12 characters of the place text
    std::string calendarCode;  // "GR" Gregorian, anything else Julian
};

enum class ChartVariant {
    MainWindow,  // equal houses only
    Analysis,    // Placidus first, then equal houses (the same result, as the analysis runs it)
};

// Turns the subject into the chart state in chart order: the date, place and correction
// decoded into the state, the Julian day in Universal Time, equal houses from the
// ascendant, every body with its retrograde mark, the asteroids cleared outside
// 1850-2080, nodes and angles at indices 8 to 11, and the derived tables. Throws
// FileError when a correction file fails.
void buildChart(ChartState& chart, const CorrectionFiles& files, const ChartSubject& subject,
                ChartVariant variant = ChartVariant::MainWindow);

// The same for the current subject (record 0 of TMPR).
void buildCurrentChart(ChartState& chart, const CorrectionFiles& files, ChartVariant variant = ChartVariant::MainWindow);

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
