#include "engine/Houses.h"
#include "engine/Positions.h"
#include "foundations/Calendar.h"
#include "foundations/TextFile.h"
#include "interpretation/NativityRuler.h"
#include "subjects/BirthStamp.h"
#include "subjects/CoordText.h"

#include <cmath>

namespace athanor {

NativityScores runNativityRuler(const DataRoot& root, ChartState& chart, const CorrectionFiles& files) {
    const ChartHandOff h = readChartHandOff(root);
    const StampDate date = stampDate(h.birthStamp);
    const long double correction = correctionValue(h.birthStamp.size() > 12 ? h.birthStamp.substr(12, 6) : "");
    const Coordinates place = decodeCoordText(h.placeText.substr(0, 12));
    const int gregorian = h.birthStamp.substr(0, 8) >= "15821015" ? 1 : 0;
    const long double jd = universalJulianDay(
        julianDay(chart, gregorian, date.minute, date.hour, date.year, date.month, date.day), correction);

    NativityPositions p;
    runDriver(chart, files, kSelectAll, false, jd);
    for (int b = 1; b <= 12; ++b) p.longitude[b] = std::fabs(chart.BodyLongitude[b]);

    HouseInput in;
    in.mode = 1;
    in.longitudeDegrees = place.longitudeDegrees;
    in.longitudeMinutes = place.longitudeMinutes;
    in.longitudeSide = place.longitudeLetter;
    in.latitudeDegrees = place.latitudeDegrees;
    in.latitudeMinutes = place.latitudeMinutes;
    in.latitudeHemisphere = place.latitudeLetter;
    in.hour = date.hour;
    in.minute = date.minute;
    in.offset1 = 0;
    in.offset2 = correction;
    in.modeLetter = 'N';
    in.jd = jd;
    computeHouses(chart, in);
    p.longitude[11] = chart.HouseCusp[0];
    p.longitude[12] = chart.HouseCusp[9];
    p.cusps = chart.HouseCusp;

    runDriver(chart, files, kSelectAll, false, jd + 0.08333333L);
    for (int b = 1; b <= kScoredBodies; ++b) p.later[b] = std::fabs(chart.BodyLongitude[b]);

    const NativityScores scores = scoreNativity(p);
    writeLines(root.resolveForWriting(kRulerReportFile), nativityReportLines(h.name, nativityDescription(h), scores));
    writeLines(root.resolveForWriting(kRulerResultFile), nativityResultLines(scores));
    return scores;
}

}  // namespace athanor
