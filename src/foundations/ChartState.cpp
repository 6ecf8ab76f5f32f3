#include "foundations/ChartState.h"

namespace athanor {

namespace {
long double mod360(long double d) { return d < 0 ? d + 360.0L : d; }
}  // namespace

int houseOf(long double longitude, const CuspArray& cusps) {
    int house = 0;
    for (int i = 1; i <= 12; ++i) {
        const long double from = cusps[i - 1];
        const long double to = cusps[i == 12 ? 0 : i];
        const long double w = mod360(to - from);
        const long double d = mod360(longitude - from);
        // House 12's arc ends on cusp 1, which begins house 1.
        if (i == 12 && d == w && w > 0) continue;
        if (d <= w) house = i;
    }
    // Degenerate cusps (all equal, NaN) can leave no arc holding the body.
    return house == 0 ? 1 : house;
}

int meanHouseOf(long double longitude, const CuspArray& cusps) {
    return houseOf(normalize360(longitude + 15.0L), cusps);
}

int bodyHouse(long double longitude, const CuspArray& cusps, std::string_view houseSystem) {
    return houseSystem == "CASE_MEDIE" ? meanHouseOf(longitude, cusps) : houseOf(longitude, cusps);
}

void deriveTables(ChartState& s) {
    for (int i = 1; i < kDerivedSlots; ++i) {
        const long double L = s.BodyLongitude[i];
        int sign = signOf(L);
        if (sign < 1 || sign > 12) sign = 1;
        s.BodySign[i] = sign;
        s.BodyHouse[i] = bodyHouse(L, s.HouseCusp, s.HouseSystem);
    }
    for (int c = 1; c <= 12; ++c) {
        int sign = signOf(s.HouseCusp[c - 1]);
        if (sign < 1 || sign > 12) sign = 1;
        s.CuspSign[c] = sign;
    }
}

}  // namespace athanor
