#pragma once
#include "foundations/Vocabulary.h"

#include <array>
#include <cmath>
#include <string>
#include <string_view>

namespace athanor {

// Body indices. The engine fills 1..19 in its own order; the chart builder then rewrites
// 8..11 so that readers see the traditional chart order.
namespace body {
inline constexpr int Sun = 1;
inline constexpr int Moon = 2;
inline constexpr int Mercury = 3;
inline constexpr int Venus = 4;
inline constexpr int Mars = 5;
inline constexpr int Jupiter = 6;
inline constexpr int Saturn = 7;
// engine order
inline constexpr int Uranus = 8;
inline constexpr int Neptune = 9;
inline constexpr int Pluto = 10;
inline constexpr int Node = 11;
inline constexpr int BlackMoon = 12;
inline constexpr int EngineAscendant = 13;
inline constexpr int Entry14 = 14;
inline constexpr int Ceres = 15;
inline constexpr int Pallas = 16;
inline constexpr int Juno = 17;
inline constexpr int Vesta = 18;
inline constexpr int Chiron = 19;
// chart order (after the chart builder)
inline constexpr int NorthNode = 8;
inline constexpr int SouthNode = 9;
inline constexpr int Ascendant = 10;
inline constexpr int Midheaven = 11;
}  // namespace body

inline constexpr int kBodySlots = 25;     // indices 0..24, 0 unused
inline constexpr int kCuspSlots = 15;     // entries 0..14; 0..11 are houses 1..12
inline constexpr int kDerivedSlots = 23;  // derived tables, indices 1..22
inline constexpr int kFirstAsteroid = 15;
inline constexpr int kLastAsteroid = 19;

// Julian days of 1 January 1850 0:00 and 31 December 2080 0:00: the asteroid range.
inline constexpr long double kAsteroidsFirstJd = 2396758.5L;
inline constexpr long double kAsteroidsLastJd = 2481129.5L;

using BodyArray = std::array<long double, kBodySlots>;
using CuspArray = std::array<long double, kCuspSlots>;

// The one chart state. Zero at start; each chart computation overwrites it in place.
struct ChartState {
    BodyArray BodyLongitude{};
    BodyArray BodyLatitude{};
    BodyArray BodyRightAscension{};
    BodyArray BodyDeclination{};
    BodyArray HelioLongitude{};
    BodyArray HelioLatitude{};

    CuspArray HouseCusp{};

    long double ChartJulianDay = 0;
    long double AscendantRadians = 0;
    long double MidheavenRadians = 0;
    long double LocalSiderealTime = 0;
    long double GivenRamc = 0;
    long double GivenSiderealTime = 0;
    long double EquationOfTime = 0;
    bool AsteroidsValid = false;

    // Date and place of the chart, decoded from the subject.
    long double Day = 0, Month = 0, Year = 0, Hour = 0, Minute = 0;
    long double TimeCorrection = 0;  // hours: UT = local civil time + TimeCorrection
    long double LatitudeDegrees = 0, LatitudeMinutes = 0;
    char LatitudeHemisphere = 'N';  // 'N' or 'S'
    long double LongitudeDegrees = 0, LongitudeMinutes = 0;
    char LongitudeSide = 'E';  // 'E' or 'W'
    int CalendarFlag = 1;      // 1 Gregorian, 0 Julian

    // Engine settings.
    std::string NodeKind = "VERO";
    std::string BlackMoonKind = "VERA";
    std::string HouseSystem = "PLACIDO";
    int HouseMode = 1;

    // Derived tables, indices 1..22 (cusps 1..12).
    std::array<char, kDerivedSlots> RetroMark{};
    std::array<int, kDerivedSlots> BodySign{};
    std::array<int, kDerivedSlots> BodyHouse{};
    std::array<int, 13> CuspSign{};
    std::string JdText;

    // Name of the last weekday computed, kept for the planetary-hour display.
    std::string WeekdayName;
};

// What a computation at another instant saves and restores (sunrise search).
struct SavedPositions {
    BodyArray longitude{};
    CuspArray cusps{};
    long double midheavenRadians = 0;
};

inline SavedPositions savePositions(const ChartState& s) {
    return SavedPositions{s.BodyLongitude, s.HouseCusp, s.MidheavenRadians};
}

inline void restorePositions(ChartState& s, const SavedPositions& saved) {
    s.BodyLongitude = saved.longitude;
    s.HouseCusp = saved.cusps;
    s.MidheavenRadians = saved.midheavenRadians;
}

// Truncation towards zero, exactly std::trunc. On x87 long double the library's truncation
// reloads the FPU control word twice a call, which made date conversions the larger part
// of an atlas look-up; adding and removing 2^63 rounds to an integer without it.
inline long double truncExact(long double x) {
    constexpr long double kBig = 9223372036854775808.0L;  // 2^63: from here on the ulp is 1 or more
    if (!(x < kBig && x > -kBig)) return x;               // already whole, infinite or NaN
    long double r;
    if (x >= 0) {
        r = (x + kBig) - kBig;
        if (r > x) r -= 1;
    } else {
        r = (x - kBig) + kBig;
        if (r < x) r += 1;
    }
    return r == 0 ? std::copysign(0.0L, x) : r;
}

// Int of the engine: truncation towards zero.
inline long double Int(long double x) { return truncExact(x); }
inline long double Frac(long double x) { return x - truncExact(x); }

// x − 360·Int(x/360), plus 360 when negative.
inline long double normalize360(long double x) {
    long double r = x - 360.0L * std::trunc(x / 360.0L);
    if (r < 0) r += 360.0L;
    return r;
}

// x − 30·Int(x/30), plus 30 when negative.
inline long double reduce30(long double x) {
    long double r = x - 30.0L * std::trunc(x / 30.0L);
    if (r < 0) r += 30.0L;
    return r;
}

// Sign 1..12 of a non-negative longitude.
inline int signOf(long double longitude) {
    const long double q = std::trunc(longitude / 30.0L);
    if (!(q >= -1000.0L && q <= 1000.0L)) return 1;  // NaN or absurd: no undefined conversion
    // Off the circle (a damaged correction, a rounding up to 360) the sign still names one of
    // the twelve, so that every table indexed by it holds.
    const int sign = static_cast<int>(q) + 1;
    if (sign >= 1 && sign <= 12) return sign;
    return static_cast<int>(std::trunc(normalize360(longitude) / 30.0L)) % 12 + 1;
}

// House 1..12 of a longitude for cusps[0..11]: the largest i whose arc holds it, so a
// longitude exactly on a cusp belongs to the house that begins there.
int houseOf(long double longitude, const CuspArray& cusps);

// Mean houses ("CASE_MEDIE") have their computed cusp in the middle of the house: a body
// belongs to a house from 15 degrees before its cusp, as the wheel marks it and as the
// interpretation texts read it.
int meanHouseOf(long double longitude, const CuspArray& cusps);

// The house of a body in the chart's own system: mean houses by the rule above, every
// other system from its cusp (houseOf).
int bodyHouse(long double longitude, const CuspArray& cusps, std::string_view houseSystem);

// Fills BodySign, BodyHouse and CuspSign from the non-negative longitudes.
void deriveTables(ChartState& s);

}  // namespace athanor
