#include "subjects/SubjectSummaries.h"

#include "engine/ChartBuilder.h"
#include "engine/Positions.h"
#include "foundations/AspectKinds.h"
#include "foundations/Format.h"
#include "subjects/SubjectChart.h"

#include <cmath>

namespace athanor {

namespace {

std::string twoDigits(long v) { return zeroPadded(static_cast<std::int64_t>(v), 2); }

char signLetter(int sign) { return (sign >= 1 && sign <= 12) ? kSignGlyphLetters[sign] : '?'; }

// Whole degrees of a longitude; a value that is no longitude at all counts as 0.
long wholeDegrees(long double L) {
    if (!std::isfinite(L) || L < 0 || L >= 360) return 0;
    return static_cast<long>(std::trunc(L));
}

// The summary's orbs: 9 for the opposition and the conjunction, 8 trine, 6 square, 4
// sextile.
constexpr AspectOrbs kSummaryOrbs = [] {
    AspectOrbs orbs{};
    orbs[aspect::Conjunction] = 9;
    orbs[aspect::Sextile] = 4;
    orbs[aspect::Square] = 6;
    orbs[aspect::Trine] = 8;
    orbs[aspect::Opposition] = 9;
    return orbs;
}();

char summaryLetter(int orbIndex) {
    switch (orbIndex) {
    case aspect::Opposition:
        return 'O';
    case aspect::Trine:
        return 'Z';
    case aspect::Square:
        return 'W';
    case aspect::Sextile:
        return 'J';
    default:
        return 'K';
    }
}

}  // namespace

std::string planetSummary(const BodyArray& longitude, const CuspArray& placidus) {
    std::string out;
    for (int b = 1; b <= 12; ++b) {
        const long double L = longitude[b];
        const long whole = wholeDegrees(L);
        out += twoDigits(houseOf(L, placidus));
        out += kBodyGlyphLetters[b];
        out += signLetter(static_cast<int>(whole / 30 + 1));
        out += twoDigits(whole % 30);
    }
    return out;
}

std::string cuspSummary(const CuspArray& placidus) {
    std::string out;
    for (int k = 1; k <= 12; ++k) {
        const long double L = placidus[k - 1];
        out += twoDigits(k);
        out += signLetter(static_cast<int>(wholeDegrees(L) / 30 + 1));
        out += positionShort(L).substr(0, 2);
    }
    return out;
}

std::string aspectSummary(const BodyArray& longitude, const CuspArray& placidus) {
    std::array<long double, 15> L{};
    for (int b = 1; b <= 12; ++b) L[b] = longitude[b];
    L[13] = placidus[0];
    L[14] = placidus[9];

    std::string out;
    for (int i = 1; i <= 10; ++i) {
        for (int j = i + 1; j <= 14; ++j) {
            if (j == 11 || j == 12) continue;
            const long double d = eclipticSeparation(L[i], L[j]);
            const auto kind = majorAspect(d, kSummaryOrbs);
            if (!kind) continue;
            const long double orb = std::fabs(d - aspectKind(*kind).angle);
            const std::string orbText = std::to_string(static_cast<int>(std::nearbyint(orb)));
            out += kBodyGlyphLetters[i];
            out += summaryLetter(*kind);
            out += kBodyGlyphLetters[j];
            out += orbText.front();
        }
    }
    return out.substr(0, 124);
}

Summaries computeSummaries(const ChartState& settings, const CorrectionFiles& files, const BirthMoment& moment,
                           const Coordinates& place) {
    ChartState scratch = settings;
    setBirthMoment(scratch, moment);
    setPlace(scratch, place);
    runDriver(scratch, files, kSelectAll, false, moment.julianDay());
    for (int b = 1; b <= 19; ++b) scratch.BodyLongitude[b] = std::fabs(scratch.BodyLongitude[b]);

    scratch.HouseSystem = "PLACIDO";
    computeHouses(scratch, houseInputFor(scratch));

    return {planetSummary(scratch.BodyLongitude, scratch.HouseCusp), cuspSummary(scratch.HouseCusp),
            aspectSummary(scratch.BodyLongitude, scratch.HouseCusp)};
}

}  // namespace athanor
