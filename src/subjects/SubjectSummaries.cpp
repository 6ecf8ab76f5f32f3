#include "subjects/SubjectSummaries.h"

#include "engine/Houses.h"
#include "engine/Positions.h"
#include "foundations/Format.h"
#include "subjects/BirthStamp.h"
#include "subjects/CoordText.h"

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
            long double d = L[j] - L[i];
            if (d < 0) d += 360.0L;
            if (d > 180.0L) d = 360.0L - d;
            char aspect = 0;
            long double orb = 0;
            if (d > 171) {
                aspect = 'O', orb = 180 - d;
            } else if (d > 112 && d < 128) {
                aspect = 'Z', orb = std::fabs(d - 120);
            } else if (d > 84 && d < 96) {
                aspect = 'W', orb = std::fabs(d - 90);
            } else if (d > 56 && d < 64) {
                aspect = 'J', orb = std::fabs(d - 60);
            } else if (d < 9) {
                aspect = 'K', orb = d;
            }
            if (!aspect) continue;
            const std::string orbText = std::to_string(static_cast<int>(std::nearbyint(orb)));
            out += kBodyGlyphLetters[i];
            out += aspect;
            out += kBodyGlyphLetters[j];
            out += orbText.front();
        }
    }
    return out.substr(0, 124);
}

Summaries computeSummaries(const ChartState& settings, const CorrectionFiles& files, std::string_view birthStamp,
                           std::string_view coordText, long double jd) {
    ChartState scratch = settings;
    runDriver(scratch, files, kSelectAll, false, jd);
    for (int b = 1; b <= 19; ++b) scratch.BodyLongitude[b] = std::fabs(scratch.BodyLongitude[b]);

    const StampDate date = stampDate(birthStamp);
    const Coordinates place = decodeCoordText(coordText);
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
    in.offset2 = stampCorrection(birthStamp);
    in.modeLetter = 'N';
    in.jd = jd;
    scratch.HouseSystem = "PLACIDO";
    computeHouses(scratch, in);

    return {planetSummary(scratch.BodyLongitude, scratch.HouseCusp), cuspSummary(scratch.HouseCusp),
            aspectSummary(scratch.BodyLongitude, scratch.HouseCusp)};
}

}  // namespace athanor
