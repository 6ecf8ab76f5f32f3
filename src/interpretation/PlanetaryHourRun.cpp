#include "engine/ChartBuilder.h"
#include "engine/Positions.h"
#include "foundations/Calendar.h"
#include "interpretation/PlanetaryHour.h"

#include <cmath>

namespace athanor {

PlanetaryHour computePlanetaryHour(ChartState& chart, const CorrectionFiles& files) {
    const long double sunrise = sunriseSearch(chart, files);
    const auto points = semiArcHourPoints(chart, houseInputFor(chart));
    // The search and the chart give universal time; the planetary day runs on the clock
    // of the birth place.
    const long double toLocal = chart.TimeCorrection / 24.0L;
    return planetaryHour(sunrise - toLocal, chart.ChartJulianDay - toLocal, chart.CalendarFlag,
                         chart.BodyLongitude[body::Sun], points);
}

YearMasters computeYearMasters(const DataRoot& root, const ChartState& chart, const CorrectionFiles& files) {
    const int birthYear = static_cast<int>(chart.Year);
    ChartState scratch = chart;
    const long double yearEnd = julianDayFromCivil(chart.CalendarFlag, 59, 23, birthYear, 12, 31).jd;
    positionsWithRetrograde(scratch, files, body::Sun, yearEnd);
    const long double sunAtYearEnd = std::fabs(scratch.BodyLongitude[body::Sun]);
    const int year = astrologicalYear(birthYear, chart.BodyLongitude[body::Sun], sunAtYearEnd);
    return readYearMasters(root, masterTableYear(year));
}

}  // namespace athanor
