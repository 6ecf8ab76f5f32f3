#include "engine/ChartBuilder.h"
#include "engine/Positions.h"
#include "foundations/TextFile.h"
#include "interpretation/NativityRuler.h"

#include <cmath>

namespace athanor {

NativityScores runNativityRuler(const DataRoot& root, ChartState& chart, const CorrectionFiles& files) {
    const ChartHandOff h = readChartHandOff(root);
    // The instant of the chart that was handed over, in the subject's calendar: a date rule
    // (Gregorian from 15 October 1582) would score a Julian-calendar birth after the reform
    // twelve or thirteen days away from its chart.
    setHandOffInstant(chart, h);
    const long double jd = chart.ChartJulianDay;

    NativityPositions p;
    runDriver(chart, files, kSelectAll, false, jd);
    for (int b = 1; b <= 12; ++b) p.longitude[b] = std::fabs(chart.BodyLongitude[b]);

    computeHouses(chart, houseInputFor(chart));
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
