#pragma once
#include "foundations/ChartState.h"
#include "foundations/DataRoot.h"

#include <string>
#include <string_view>

namespace athanor {

// FileTmp\DatiNasc.Tmp: the current subject and its computed chart, written by the
// analysis window for the ruler-of-the-nativity scoring, which reads the first five lines.

inline constexpr std::string_view kChartHandOffFile = "FileTmp\\DatiNasc.Tmp";

struct ChartHandOff {
    std::string name;  // at most 38 characters when written
    std::string birthStamp;
    std::string placeText;
    std::string houseSystem;
    long double julianDay = 0;  // birth moment, Universal Time
};

// Writes the file: the five lines of `subject`, the 22 longitudes, the 12 cusps,
// "LATITUDINI" and the latitudes of bodies 1-12, "RETROGRADI" and the 22 marks, then
// the latitudes of bodies 13-22. Numbers in the 23-character scientific form.
void writeChartHandOff(const DataRoot& root, const ChartHandOff& subject, const ChartState& chart);

// Reads lines 1 to 5 (each text cut to 80 characters; line 4 as it is). FileError when the
// file is missing, short, or its Julian day is not a number.
ChartHandOff readChartHandOff(const DataRoot& root);

// The place and the instant of the hand-off written into the chart state as the house
// computation reads them (houseInputFor): the coordinates of the place text, the clock
// time and the whole correction of the stamp, and line 5 as ChartJulianDay. Line 5 is the
// chart's own Julian day, computed in the subject's calendar, which the stamp does not
// carry.
void setHandOffInstant(ChartState& chart, const ChartHandOff& handOff);

}  // namespace athanor
