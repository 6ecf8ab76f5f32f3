#include "engine/ChartBuilder.h"

#include "engine/Orbit.h"
#include "engine/Positions.h"
#include "engine/Time.h"
#include "foundations/Format.h"

#include <cmath>

namespace athanor {

HouseInput houseInputFor(const ChartState& chart) {
    HouseInput in;
    in.mode = 1;
    in.longitudeDegrees = chart.LongitudeDegrees;
    in.longitudeMinutes = chart.LongitudeMinutes;
    in.longitudeSide = chart.LongitudeSide;
    in.latitudeDegrees = chart.LatitudeDegrees;
    in.latitudeMinutes = chart.LatitudeMinutes;
    in.latitudeHemisphere = chart.LatitudeHemisphere;
    in.modeLetter = 'N';
    in.hour = chart.Hour;
    in.minute = chart.Minute;
    in.offset1 = 0;
    in.offset2 = chart.TimeCorrection;
    in.jd = chart.ChartJulianDay;
    return in;
}

void computeChart(ChartState& chart, const CorrectionFiles& files, ChartVariant variant) {
    chart.HouseMode = 1;
    const HouseInput in = houseInputFor(chart);
    if (variant == ChartVariant::Analysis) {
        chart.HouseSystem = "PLACIDO";
        computeHouses(chart, in);
    }
    chart.HouseSystem = "CASE_MEDIE";
    computeHouses(chart, in);

    positionsWithRetrograde(chart, files, kSelectAll, chart.ChartJulianDay);
    const bool nodeRetrograde = chart.BodyLongitude[body::Node] < 0;

    for (int i = 1; i < kDerivedSlots; ++i) {
        chart.RetroMark[i] = (chart.BodyLongitude[i] < 0 && i <= 7) ? 'r' : ' ';
        chart.BodyLongitude[i] = std::fabs(chart.BodyLongitude[i]);
    }

    if (chart.ChartJulianDay < kAsteroidsFirstJd || chart.ChartJulianDay > kAsteroidsLastJd) {
        chart.AsteroidsValid = false;
        for (int i = kFirstAsteroid; i <= kLastAsteroid; ++i) {
            chart.BodyLongitude[i] = 0;
            chart.RetroMark[i] = ' ';
        }
    }

    chart.JdText = "JD=" + fixedDecimal(chart.ChartJulianDay, 12);

    const long double node = chart.BodyLongitude[body::Node];
    chart.BodyLongitude[body::NorthNode] = node;
    chart.BodyLongitude[body::SouthNode] = normalize360(node + 180.0L);
    chart.BodyLongitude[body::Ascendant] = chart.HouseCusp[0];
    chart.BodyLongitude[body::Midheaven] = chart.MidheavenRadians * orbit::kRadToDegLong;
    for (int i = body::NorthNode; i <= body::Midheaven; ++i) chart.BodyLatitude[i] = 0;
    const char nodeMark = nodeRetrograde ? 'r' : ' ';
    chart.RetroMark[body::NorthNode] = nodeMark;
    chart.RetroMark[body::SouthNode] = nodeMark;

    // Every longitude leaves the engine on the circle, whatever a correction file held: later
    // code divides them into signs, houses and parts of houses.
    for (std::size_t i = 1; i < chart.BodyLongitude.size(); ++i)
        if (std::isfinite(chart.BodyLongitude[i])) chart.BodyLongitude[i] = normalize360(chart.BodyLongitude[i]);
    for (long double& cusp : chart.HouseCusp)
        if (std::isfinite(cusp)) cusp = normalize360(cusp);

    // Signs and houses from the final longitudes, so that entries 8 to 11 describe the
    // nodes and angles they hold.
    deriveTables(chart);
}

long double sunriseSearch(ChartState& chart, const CorrectionFiles& files) {
    // Everything the search overwrites comes back, not only longitudes, cusps and MC.
    const ChartState saved = chart;

    long double b = (chart.LongitudeDegrees + chart.LongitudeMinutes / 60.0L) * 4.0L / 60.0L;
    if (chart.LongitudeSide == 'E') b = -b;

    const CivilJulianDay midnight = julianDayFromCivil(chart.CalendarFlag, 0, 0, chart.Year, chart.Month, chart.Day);
    const long double J = universalJulianDay(midnight.jd, chart.TimeCorrection);

    positionsWithRetrograde(chart, files, body::Sun, J);
    HouseInput in = houseInputFor(chart);
    in.mode = chart.HouseMode;
    in.hour = 0;
    in.minute = 0;
    in.offset1 = 0;
    in.offset2 = b;
    in.jd = J;
    computeHouses(chart, in);

    long double result = J;
    for (int round = 0; round < 2001; ++round) {
        long double d = chart.BodyLongitude[body::Sun] - chart.HouseCusp[0];
        if (d < 0) d += 360.0L;
        const long double half = d / 2.0L;
        result += half * 0.0008L;
        positionsWithRetrograde(chart, files, body::Sun, result);
        // The houses of the very instant whose Sun was just computed: result is universal
        // time, so its clock time needs no correction (adding TimeCorrection once more
        // would put the horizon an hour or two away from the Sun's instant).
        const std::string text = dateTextCalendar(result, chart.CalendarFlag);
        HouseInput step = houseInputFor(chart);
        step.mode = 1;
        step.hour = intFromSubstring(text, 12, 2);
        step.minute = intFromSubstring(text, 15, 2);
        step.offset1 = timeOfDayRemainder(result);
        step.offset2 = 0;
        step.jd = result;
        computeHouses(chart, step);
        if (half <= 0.2L) break;
    }

    if (result - J >= 1.0L) result -= Int(result - J);

    const long double lst = chart.LocalSiderealTime;
    chart = saved;
    chart.LocalSiderealTime = lst;
    return result;
}

std::array<long double, 26> semiArcHourPoints(ChartState& chart, const HouseInput& input) {
    HouseInput in = input;
    in.mode = 1;
    chart.LocalSiderealTime = localSiderealTime(in);
    const long double ramc = 15.0L * chart.LocalSiderealTime;
    const long double eps = obliquityDegrees(centuriesSince1900(in.jd));
    long double lat = in.latitudeDegrees + in.latitudeMinutes / 60.0L;
    if (in.latitudeHemisphere == 'S') lat = 360.0L - lat;
    const long double K = -std::tan(lat * orbit::kDegToRadLong) * std::tan(eps * orbit::kDegToRadLong);
    auto P = [&](long double f) { return placidusPoint(ramc, K, eps, f); };

    std::array<long double, 26> e{};
    for (int k = 0; k <= 6; ++k) e[1 + k] = normalize360(P((6 - k) / 6.0L));
    for (int k = 1; k <= 5; ++k) e[19 + k] = normalize360(P(-k / 6.0L) + 180.0L);
    for (int k = 8; k <= 12; ++k) e[k] = normalize360(e[k + 12] + 180.0L);
    for (int k = 13; k <= 19; ++k) e[k] = normalize360(e[k - 12] + 180.0L);
    e[25] = e[1];
    e[0] = e[24];
    return e;
}

}  // namespace athanor
