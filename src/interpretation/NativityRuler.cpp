#include "interpretation/NativityRuler.h"

#include "foundations/Format.h"

#include <cmath>
#include <stdexcept>

namespace athanor {

namespace {

// Rows: sign 1..12; columns: bodies 1..10.
constexpr int kSignTable[12][10] = {
    {8, 0, 2, -2, 11, 5, -2, 3, 0, -1}, {0, 9, 3, 10, -3, 2, 6, -2, 3, 2}, {1, 0, 8, 2, 3, 1, 5, 5, 5, -1},
    {0, 9, 3, 6, 1, 8, -3, 6, 5, 1},    {8, 0, 2, 2, 3, 6, 0, -5, 10, 5},  {1, 3, 13, 2, 2, -3, 5, 8, -5, 1},
    {-4, 1, 5, 8, -3, 6, 10, 6, 3, 8},  {1, -1, 2, 1, 10, 2, 2, 9, 6, 1},  {3, 1, -1, 2, 5, 10, 3, 3, 6, 8},
    {1, -2, 2, 5, 7, 1, 10, 6, 3, 1},   {-5, 1, 6, 3, 2, 5, 10, 9, -2, 3}, {0, 3, -3, 9, 6, 9, 2, 6, 8, 1},
};

// The traditional zones of bodies 1..7 within a quadrant, as stored (with their small
// gaps): Sun, Moon, Mercury, Venus, Mars, Jupiter, Saturn.
constexpr long double kZones[8][2] = {
    {0, 0},
    {0.0L, 12.8572L},
    {12.8572L, 25.7144L},
    {38.5717L, 51.4289L},
    {64.2864L, 77.1433L},
    {25.7147L, 38.5717L},
    {51.4292L, 64.2861L},
    {77.1436L, 90.0L},
};

// The house subdivision values as one stored list, and where each house's parts begin.
constexpr int kHouseParts[52] = {11, 10, 9,  8,  7, 6, 4, 2, 2, 2, 2, 2, 4, 6, 8,  10, 9, 8, 7, 6, 4, 3, 2, 2, 2, 2,
                                 4,  7,  10, 10, 9, 8, 7, 6, 4, 2, 4, 5, 6, 8, 10, 9,  8, 8, 7, 6, 4, 3, 2, 4, 6, 8};
constexpr int kHouseOffset[13] = {0, 0, 2, 9, 15, 18, 23, 28, 32, 37, 40, 43, 46};
constexpr int kHousePartCount[13] = {0, 4, 5, 6, 3, 5, 5, 4, 5, 3, 3, 3, 6};

// Rows: bodies 1..10; columns: houses 1..12.
constexpr int kBodyInHouse[10][12] = {
    {4, 0, 0, 0, 4, 0, -3, 0, 0, 0, -2, 0},  {0, 4, 0, 4, 0, 0, 0, -1, 0, -3, 0, 0},
    {0, 0, 2, 0, 0, 3, 0, 0, -1, 0, 0, -2},  {-1, 3, 0, 0, 0, -1, 2, -1, 0, 0, 0, 2},
    {4, -1, 0, -1, 1, 0, -1, 2, 0, 3, 0, 0}, {0, 0, -1, 2, 0, -1, 0, 0, 2, 0, 0, 2},
    {-1, 0, 0, -2, -1, 0, 1, 0, 0, 3, 2, 0}, {0, -1, 0, 0, -2, 1, 0, 2, 0, 0, 2, 0},
    {0, 0, 0, 0, 2, -1, 0, 0, 0, 0, -1, 2},  {-1, 1, -1, 0, 0, 0, 2, 0, 2, 0, 0, 0},
};

// Degrees per day: direct low, direct high, retrograde low, retrograde high.
constexpr long double kSpeeds[11][4] = {
    {0, 0, 0, 0},
    {0.966L, 1.0L, 0, 0},
    {12.5L, 14.0L, 0, 0},
    {0.8333L, 1.6667L, 0.4167L, 0.8334L},
    {0.6L, 1.0L, 0.3L, 0.5L},
    {0.3333L, 0.6167L, 0.1667L, 0.3084L},
    {0.0833L, 0.1667L, 0.0417L, 0.0834L},
    {0.05L, 0.0917L, 0.025L, 0.0419L},
    {0.025L, 0.05L, 0.0125L, 0.025L},
    {0.0139L, 0.0278L, 0.007L, 0.0139L},
    {0.0083L, 0.0194L, 0.0042L, 0.0097L},
};

long double mod360(long double x) { return x < 0 ? x + 360.0L : x; }

int sexValue(int body, int sign) {
    const bool odd = sign % 2 == 1;
    switch (body) {
    case 1:
    case 5:
    case 6:
    case 8:
    case 10:
        return odd ? 3 : -3;
    case 2:
    case 4:
    case 9:
        return odd ? -3 : 3;
    case 7:
        return sign == 10 || sign == 11 ? 3 : 0;
    default:
        return 0;
    }
}

bool inZone(int body, long double lon) {
    if (body < 1) return false;
    if (body > 7) return false;
    for (int q = 0; q < 4; ++q)
        if (kZones[body][0] + 90.0L * q < lon && lon < kZones[body][1] + 90.0L * q) return true;
    return false;
}

int speedValue(int body, long double speed) {
    if (body < 1 || body > kScoredBodies) throw std::out_of_range("speed table");
    const auto& b = kSpeeds[body];
    if (speed >= 0) return speed < b[0] ? 1 : speed > b[1] ? 5 : 3;
    const long double s = -speed;
    return s < b[2] ? -1 : s > b[3] ? -5 : -3;
}

// Value of the part of house h that holds a body at `longitude`.
int housePartValue(int h, long double longitude, const CuspArray& cusps) {
    const long double from = cusps[h - 1];
    const long double to = cusps[h == 12 ? 0 : h];
    const long double part = mod360(to - from) / kHousePartCount[h];
    long double d = std::nearbyint(longitude - from);
    if (d < 0) d += 360.0L;
    // Damaged data can hand on a longitude off the circle; the count below must stay short.
    if (!(d >= 0 && d <= 360.0L)) d = std::isfinite(d) ? mod360(std::fmod(d, 360.0L)) : 0;
    long long k = 1;
    // A house narrower than this is a degenerate cusp pair: the body stands on the cusp.
    if (part > 1e-9L) {
        // Start just below the answer; the loop then decides exactly as stepping from 1.
        const long double estimate = std::ceil(d / part) - 2;
        if (estimate > 1) k = static_cast<long long>(estimate);
        while (d > k * part) ++k;
    }
    // A part beyond the house's own reads on into the following entries; past the last
    // house it reads on from the first, where the circle continues.
    return kHouseParts[(kHouseOffset[h] + k - 1) % 52];
}

}  // namespace

int rulerZoneValue(int body, long double longitude) { return inZone(body, longitude) ? 5 : 0; }

int rulerSpeedValue(int body, long double speed) { return speedValue(body, speed); }

int rulerSignValue(int sign, int body) {
    if (sign < 1 || sign > 12 || body < 1 || body > kScoredBodies) throw std::out_of_range("sign table");
    return kSignTable[sign - 1][body - 1];
}

int rulerHouseOf(long double longitude, const CuspArray& cusps) {
    for (int h = 1; h <= 12; ++h) {
        const long double from = cusps[h - 1];
        const long double to = cusps[h == 12 ? 0 : h];
        if (mod360(longitude - from) <= mod360(to - from)) return h;
    }
    return 12;  // the arcs cover the circle; only unusable cusps get here
}

std::array<int, 4> elementValues(const std::array<int, 13>& signs, const std::array<int, 13>& totals) {
    std::array<long double, 13> n{};
    for (int b = 1; b <= 12; ++b)
        if (signs[b] >= 1 && signs[b] <= 12) n[signs[b]] += totals[b];
    long double q = 0;
    for (int s = 1; s <= 12; ++s)
        if (n[s] > q) q = n[s];
    for (int s = 1; s <= 12; ++s) {
        // With no positive sum there is nothing to scale by: every sign then counts as
        // one of the not-positive signs, 1.
        if (q > 0) n[s] = n[s] / q * 50.0L;
        if (!(n[s] > 0)) n[s] = 1;
    }
    auto element = [&](int a, int b, int c) { return static_cast<int>(std::nearbyint(n[a] + n[b] + n[c])); };
    return {element(1, 5, 9), element(2, 6, 10), element(3, 7, 11), element(4, 8, 12)};
}

NativityScores scoreNativity(const NativityPositions& p) {
    NativityScores s;
    for (int b = 1; b <= 12; ++b) s.sign[b] = signOf(p.longitude[b]);
    for (int b = 1; b <= kScoredBodies; ++b) {
        long double v = p.later[b] - p.longitude[b];
        if (std::fabs(v) > 180.0L) v += v > 0 ? -360.0L : 360.0L;
        s.speed[b] = v * 12.0L;
        s.house[b] = rulerHouseOf(p.longitude[b], p.cusps);
    }

    // 1: the ascendant's sign, and the next sign when it is less than 3° from its end.
    const int ascSign = s.sign[11];
    const bool nearEnd = 30.0L - reduce30(p.longitude[11]) < 3.0L;
    for (int b = 1; b <= kScoredBodies; ++b) {
        s.rows[0][b] = rulerSignValue(ascSign, b);
        if (nearEnd) s.rows[0][b] += rulerSignValue(ascSign % 12 + 1, b);
    }
    for (int b = 1; b <= kScoredBodies; ++b) {
        s.rows[1][b] = rulerSignValue(s.sign[b], b);
        s.rows[2][b] = inZone(b, p.longitude[b]) ? 5 : 0;
        s.rows[4][b] = kBodyInHouse[b - 1][s.house[b] - 1];
        s.rows[5][b] = sexValue(b, s.sign[b]);
        s.rows[6][b] = speedValue(b, s.speed[b]);
    }
    for (int h = 1; h <= 12; ++h)
        for (int b = 1; b <= kScoredBodies; ++b)
            if (s.house[b] == h) {
                s.rows[3][b] = housePartValue(h, p.longitude[b], p.cusps);
                s.houseRowInHouseOrder.push_back(s.rows[3][b]);
            }
    for (const auto& row : s.rows)
        for (int b = 1; b <= kScoredBodies; ++b) s.totals[b] += row[b];

    std::array<int, 13> totals{};
    for (int b = 1; b <= kScoredBodies; ++b) totals[b] = s.totals[b];
    s.elements = elementValues(s.sign, totals);
    for (int b = 8; b <= 12; ++b) totals[b] = 0;
    s.elementsTraditional = elementValues(s.sign, totals);
    return s;
}

std::string nativityDescription(const ChartHandOff& h) {
    auto part = [&](std::size_t from, std::size_t n) {
        return from < h.birthStamp.size() ? h.birthStamp.substr(from, n) : std::string();
    };
    std::string locality = h.placeText.size() > 12 ? h.placeText.substr(12, 27) : std::string();
    trimTrailingBlanks(locality);
    return "Nascita a " + locality + " il " + part(6, 2) + "/" + part(4, 2) + "/" + part(0, 4) + " " + part(8, 2) +
           ":" + part(10, 2) + "  GMT" + part(12, 6);
}

std::vector<std::string> nativityReportLines(const std::string& name, const std::string& description,
                                             const NativityScores& s) {
    static constexpr const char* titles[7] = {"AFFINITA' CON SEGNO ASCEND ", "VALORE PIANETI NEI SEGNI",
                                              "MAGGIORAZ PIAN TRADIZION ",   "VALORE PIANETI NELLE CASE",
                                              "AFFINITA' PIANETA CON CASA",  "AFFIN SESSO PIANETA/SEGNO",
                                              "VALORE PER VELOC PIANETA"};
    std::vector<std::string> out{"*MaitreTarquell*" + name, name, description,
                                 "SOL  LUN  MER  VEN  MAR  GIO  SAT  URA  NET  PLU"};
    for (int r = 0; r < 7; ++r) {
        out.push_back(titles[r]);
        if (r == 3) {
            for (int v : s.houseRowInHouseOrder) out.push_back(std::to_string(v));
        } else {
            for (int b = 1; b <= kScoredBodies; ++b) out.push_back(std::to_string(s.rows[r][b]));
        }
    }
    out.push_back("TOTALE");
    for (int b = 1; b <= kScoredBodies; ++b) out.push_back(std::to_string(s.totals[b]));
    for (int v : s.elements) out.push_back(zeroPadded(v, 3));
    return out;
}

std::vector<std::string> nativityResultLines(const NativityScores& s) {
    std::vector<std::string> out;
    for (int b = 1; b <= kScoredBodies; ++b) out.push_back(std::to_string(s.totals[b]));
    for (int v : s.elements) out.push_back(zeroPadded(v, 3));
    for (int v : s.elementsTraditional) out.push_back(zeroPadded(v, 3));
    return out;
}

}  // namespace athanor
