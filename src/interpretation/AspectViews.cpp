#include "interpretation/AspectViews.h"

#include "foundations/Format.h"
#include "interpretation/Sectors.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace athanor {

namespace {

const char* listName(int orbIndex) {
    switch (orbIndex) {
    case aspect::Conjunction:
        return " Conjunci\xF3n ";
    case aspect::Sextile:
        return " Sextil ";
    case aspect::Square:
        return " Cuadradura ";
    case aspect::Trine:
        return " Trigono ";
    default:
        return " oposici\xF3n ";
    }
}

constexpr long double kRad = std::numbers::pi_v<long double> / 180.0L;

}  // namespace

std::vector<std::string> aspectListLines(const ChartState& chart, const OrbSettings& orbs) {
    std::vector<std::string> lines{"ASPECTOS PLANETARIOS"};
    const auto& lon = chart.BodyLongitude;
    for (int i = 1; i <= kChartBodies; ++i) {
        for (int j = i + 1; j <= kChartBodies; ++j) {
            const long double s = eclipticSeparation(lon[i], lon[j]);
            const auto k = majorAspect(s, orbs);
            if (!k) continue;
            const long double deviation = std::fabs(s - aspectKind(*k).angle);
            if (*k == aspect::Opposition && deviation < 0.00001L) continue;
            lines.push_back(fixedDecimal(deviation, 4) + "   " + kChartBodyNames[i] + listName(*k) +
                            kChartBodyNames[j]);
        }
    }
    lines.push_back("   ");
    lines.push_back("M\xE1s el n\xFAmero es peque\xF1o,");
    lines.push_back("m\xE1s preciso est\xE1 l'Aspecto");
    return lines;
}

std::vector<EclipticCell> eclipticGrid(const ChartState& chart, const OrbSettings& orbs) {
    std::vector<EclipticCell> cells;
    const auto& lon = chart.BodyLongitude;
    for (int i = 1; i <= kChartBodies; ++i) {
        for (int j = i + 1; j <= kChartBodies; ++j) {
            EclipticCell c;
            c.first = i;
            c.second = j;
            c.separation = eclipticSeparation(lon[i], lon[j]);
            c.kind = classifyAspect(c.separation, orbs);
            if (c.kind) {
                const AspectKind& k = aspectKind(*c.kind);
                c.glyphCode = k.glyphCode;
                // nearbyint rounds halves to even in the default rounding mode.
                const long double d = std::fabs(std::nearbyint(c.separation - k.angle));
                c.deviation = zeroPadded(static_cast<std::int64_t>(d), 2);
            }
            cells.push_back(std::move(c));
        }
    }
    return cells;
}

long double sphericalDistance(long double lat1, long double lat2, long double separation) {
    const long double ci = (90.0L - lat1) * kRad;
    const long double cj = (90.0L - lat2) * kRad;
    long double k = std::cos(ci) * std::cos(cj) + std::sin(ci) * std::sin(cj) * std::cos(separation * kRad);
    // Rounding can push the cosine a hair outside [-1, 1].
    k = std::clamp(k, -1.0L, 1.0L);
    // Snapped to 1e-12 degree so that a geometrically exact distance (5° straight north)
    // meets the strict orb bounds as the exact value does.
    return std::nearbyint(std::acos(k) / kRad * 1e12L) / 1e12L;
}

DistanceClass classifyDistance(long double d, const OrbSettings& orbs) {
    if (aspectTest(d, aspect::Opposition, orbs) || aspectTest(d, aspect::Square, orbs)) return DistanceClass::Hard;
    if (aspectTest(d, aspect::Trine, orbs) || aspectTest(d, aspect::Sextile, orbs)) return DistanceClass::Soft;
    if (aspectTest(d, aspect::Conjunction, orbs)) return DistanceClass::Conjunction;
    return DistanceClass::None;
}

std::vector<SphericalCell> sphericalGrid(const ChartState& chart, const OrbSettings& orbs) {
    std::vector<SphericalCell> cells;
    const auto& lon = chart.BodyLongitude;
    const auto& lat = chart.BodyLatitude;
    for (int i = 1; i <= kChartBodies; ++i) {
        for (int j = i + 1; j <= kChartBodies; ++j) {
            SphericalCell c;
            c.first = i;
            c.second = j;
            c.distance = sphericalDistance(lat[i], lat[j], eclipticSeparation(lon[i], lon[j]));
            c.text = fixedDecimal(c.distance, 5);
            c.cls = classifyDistance(c.distance, orbs);
            cells.push_back(std::move(c));
        }
    }
    return cells;
}

int distancePen(DistanceClass cls) {
    switch (cls) {
    case DistanceClass::Hard:
        return 74;
    case DistanceClass::Soft:
        return 75;
    case DistanceClass::Conjunction:
        return 76;
    default:
        return 0;
    }
}

}  // namespace athanor
