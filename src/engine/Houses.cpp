#include "engine/Houses.h"

#include "engine/Orbit.h"
#include "engine/Time.h"
#include "engine/Trig.h"

#include <cmath>

namespace athanor {

namespace {

// The houses compute in long double: the Placidus secant steps stop after five, wherever
// they are, so their result follows the rounding of every step.
constexpr long double kPi = orbit::kPiLong;
constexpr long double kDegToRad = orbit::kDegToRadLong;
constexpr long double kRadToDeg = orbit::kRadToDegLong;

// The house formulas keep the library's sine, cosine, tangent and arctangent, unlike the
// positions: several turn last-place differences into larger ones (the Placidus secant
// steps once converged, the ascendant and the cusps near the polar circles). Degree
// arguments first lose their nearest multiple of 90 degrees, exactly (x - 90 n needs no
// rounding for any n but 0, where it is x), so the library sees radians within pi/4 and
// skips its multi-precision reduction, which cost a quarter of a chart. An exact multiple of
// 90 degrees keeps the library's rounded radians: their cosine or tangent is tiny or huge
// rather than 0 or infinite, and the ascendant's formulas divide by them.
struct Quarter {
    long double radians;  // within pi/4
    int n;                // quarter turns taken off, modulo 4
};
Quarter quarterOf(long double degrees) {
    if (!(std::fabs(degrees) < 1.0e15L)) return {degrees * kDegToRad, 0};  // non-finite, enormous: as given
    // The nearest quarter from a double quotient; the long double one, much slower, decides
    // only within a hair of a half quarter, the one place where the two may round apart.
    long double n = std::nearbyint(static_cast<double>(degrees) * (1.0 / 90.0));
    long double rest = degrees - 90.0L * n;
    if (!(std::fabs(rest) < 44.99L)) {
        n = std::rint(degrees / 90.0L);
        rest = degrees - 90.0L * n;
    }
    if (rest == 0) return {degrees * kDegToRad, 0};
    return {rest * kDegToRad, static_cast<int>(trig::wholeNumber(n) & 3)};
}
long double sinD(long double x) {
    const Quarter q = quarterOf(x);
    switch (q.n) {
    case 0:
        return std::sin(q.radians);
    case 1:
        return std::cos(q.radians);
    case 2:
        return -std::sin(q.radians);
    default:
        return -std::cos(q.radians);
    }
}
long double cosD(long double x) {
    const Quarter q = quarterOf(x);
    switch (q.n) {
    case 0:
        return std::cos(q.radians);
    case 1:
        return -std::sin(q.radians);
    case 2:
        return -std::cos(q.radians);
    default:
        return std::sin(q.radians);
    }
}
long double tanD(long double x) {
    const Quarter q = quarterOf(x);
    const long double t = std::tan(q.radians);
    return q.n % 2 == 0 ? t : -1.0L / t;
}

// (x / 24 - Int(x / 24)) * 24
long double reduce24(long double x) { return (x / 24.0L - trig::truncate(x / 24.0L)) * 24.0L; }

// Two-argument arctangent of numerator n and denominator m, radians in [0, 2 pi).
long double quadrant(long double n, long double m) {
    long double a = std::atan(n / m);
    if (m < 0) a += kPi;
    if (m > 0 && n < 0) a += 2.0L * kPi;
    return a;
}

// atan(n / m), plus pi when negative, plus pi when n < 0: the arctangent used by the
// Campanus and Morinus cusps, radians.
long double halfTurnRule(long double n, long double m) {
    long double a = std::atan(n / m);
    if (a < 0) a += kPi;
    if (n < 0) a += kPi;
    return a;
}

struct Frame {
    long double ramc = 0;  // degrees
    long double lat = 0;   // degrees; 360 - lat in the south
    long double eps = 0;   // degrees
    long double mc = 0;    // degrees
    long double asc = 0;   // degrees
};

void opposite(CuspArray& cusp, int to, int from) { cusp[to - 1] = trig::normalizeDegrees(cusp[from - 1] + 180.0L); }

// Cusps 4 to 9 opposite 10 to 3.
void oppositeCusps(CuspArray& cusp) {
    opposite(cusp, 4, 10);
    opposite(cusp, 5, 11);
    opposite(cusp, 6, 12);
    opposite(cusp, 7, 1);
    opposite(cusp, 8, 2);
    opposite(cusp, 9, 3);
}

// The library's cosine at the two starting points of the secant steps, the same for every
// point and chart; taken at run time, as g takes it (the compiler would fold a constant
// with other roundings).
long double startCosine(long double H) {
    volatile long double degrees = H;
    return cosD(degrees);
}

// Sine and cosine of degrees for the Placidus secant steps, forty of them a chart, where the
// library's took a third of a chart: a table of sin(k 360/256 degrees) from the functions
// above and a short series in the exact remainder, within an ulp or two of them. Over 10,000
// charts of latitudes up to 66 degrees no cusp moved by more than 6e-11 degrees for it.
struct DegreeSteps {
    long double sine[320];
    DegreeSteps() {
        for (int k = 0; k < 320; ++k) sine[k] = sinD(k * 1.40625L);
    }
};
void stepSinCosD(long double x, long double& s, long double& c) {
    static const DegreeSteps steps;
    if (!(std::fabs(x) < 1.0e15L)) {
        s = sinD(x);
        c = cosD(x);
        return;
    }
    const long double n = std::nearbyint(static_cast<double>(x) * (256.0 / 360.0));
    const long double r = (x - n * 1.40625L) * kDegToRad;
    const long long k = static_cast<long long>(static_cast<double>(n)) & 255;
    trig::sinCosBeyond(steps.sine[k], steps.sine[k + 64], r, s, c);
}
long double stepSinD(long double x) {
    long double s, c;
    stepSinCosD(x, s, c);
    return s;
}
long double stepCosD(long double x) {
    long double s, c;
    stepSinCosD(x, s, c);
    return c;
}

// Placidus points of N fractions, the secant steps of each side by side.
template <int N>
void placidusPoints(long double ramc, long double K, long double epsDegrees, const long double (&f)[N],
                    long double (&point)[N]) {
    // The secant steps, once converged, turn last-place differences of g into visible ones.
    auto sinePart = [&](long double fraction, long double H) { return K * stepSinD(ramc + fraction * H); };
    static const long double cosFirst = startCosine(1E-9L), cosSecond = startCosine(180.0001L);
    long double previous[N], H[N], gPrevious[N];
    for (int n = 0; n < N; ++n) {
        previous[n] = 1E-9L;
        H[n] = 180.0001L;
        gPrevious[n] = sinePart(f[n], previous[n]) - cosFirst;
    }
    for (int step = 0; step < 5; ++step) {
        for (int n = 0; n < N; ++n) {
            // Each step needs g at the last two points; the older one was the newer one last step.
            const long double cosH = step == 0 ? cosSecond : stepCosD(H[n]);
            const long double gH = sinePart(f[n], H[n]) - cosH;
            long double denominator = gH - gPrevious[n];
            if (denominator == 0) denominator = 0.000001L;
            const long double next = H[n] - (H[n] - previous[n]) / denominator * gH;
            previous[n] = H[n];
            gPrevious[n] = gH;
            H[n] = next;
        }
    }
    for (int n = 0; n < N; ++n)
        point[n] = longitudeFromRightAscension(trig::normalizeDegrees(ramc + f[n] * H[n]), epsDegrees);
}

void placidus(CuspArray& cusp, const Frame& f) {
    const long double K = -tanD(f.lat) * tanD(f.eps);
    const long double fraction[4] = {1.0L / 3.0L, 2.0L / 3.0L, -2.0L / 3.0L, -1.0L / 3.0L};
    long double point[4];
    placidusPoints(f.ramc, K, f.eps, fraction, point);
    cusp[10] = point[0];
    cusp[11] = point[1];
    cusp[1] = trig::normalizeDegrees(point[2] + 180.0L);
    cusp[2] = trig::normalizeDegrees(point[3] + 180.0L);
    oppositeCusps(cusp);
}

void koch(CuspArray& cusp, const Frame& f) {
    const long double lat = f.lat * kDegToRad, eps = f.eps * kDegToRad;
    const long double ramc = f.ramc * kDegToRad, mc = f.mc * kDegToRad;
    const long double s = std::sin(eps) * std::sin(mc);
    const long double c = std::sqrt(1.0L - s * s);
    const long double d = std::atan(s / c);
    const long double q = std::tan(d) * std::tan(lat);
    long double m = 1.0L - q * q;
    if (m <= 0) m = 0.0001L;  // inside the polar circles the semi-arc does not exist
    const long double AD = std::atan(q / std::sqrt(m));
    const long double OA = ramc - AD;
    long double Z = (ramc + kPi / 2.0L - OA) / 3.0L;
    if (Z < 0) Z += 2.0L * kPi;

    auto wrap = [](long double o) { return o > 2.0L * kPi ? o - 2.0L * kPi : o; };
    auto cuspOf = [&](long double o) {
        return quadrant(std::cos(o), -(std::tan(lat) * std::sin(eps) + std::cos(eps) * std::sin(o))) * kRadToDeg;
    };
    const long double o11 = wrap(OA + Z - kPi / 2.0L);
    const long double o12 = wrap(o11 + Z);
    const long double o1 = wrap(o12 + Z);
    const long double o2 = wrap(o1 + Z);
    const long double o3 = wrap(o2 + Z);
    cusp[10] = cuspOf(o11);
    cusp[11] = cuspOf(o12);
    cusp[0] = cuspOf(o1);
    cusp[1] = cuspOf(o2);
    cusp[2] = cuspOf(o3);
    cusp[9] = f.mc;
    oppositeCusps(cusp);
}

void regiomontanus(CuspArray& cusp, const Frame& f) {
    const long double lat = f.lat * kDegToRad, eps = f.eps * kDegToRad, ramc = f.ramc * kDegToRad;
    struct Division {
        long double x;
        int cusp;
    };
    const Division divisions[] = {{30, 11}, {60, 12}, {120, 2}, {150, 3}};
    for (const Division& dv : divisions) {
        const long double x = dv.x * kDegToRad;
        const long double pole = std::atan(std::tan(lat) * std::sin(x));
        const long double F = quadrant(std::tan(pole), std::cos(x + ramc));
        cusp[dv.cusp - 1] = quadrant(std::tan(x + ramc) * std::cos(F), std::cos(F + eps)) * kRadToDeg;
    }
    cusp[9] = f.mc;
    cusp[0] = f.asc;
    oppositeCusps(cusp);
}

void porphyry(CuspArray& cusp, const Frame& f) {
    long double W = f.asc - f.mc;
    if (W < 0) W += 360.0L;
    const long double X = 180.0L - W;
    cusp[10] = f.mc + W / 3.0L;
    cusp[11] = cusp[10] + W / 3.0L;
    cusp[1] = f.asc + X / 3.0L;
    cusp[2] = cusp[1] + X / 3.0L;
    oppositeCusps(cusp);
    for (int k = 0; k < 12; ++k) {
        // a cusp of exactly 360 stays as it is
        if (cusp[k] > 360.0L) cusp[k] -= 360.0L;
        // beyond the polar circles the ascendant can trail the MC by more than 180
        // degrees and the quadrant turns negative
        if (cusp[k] < 0) cusp[k] += 360.0L;
    }
}

void campanus(CuspArray& cusp, const Frame& f) {
    const long double lat = f.lat * kDegToRad, eps = f.eps * kDegToRad, ramc = f.ramc * kDegToRad;
    for (int k = 1; k <= 12; ++k) {
        const long double b = (30.0L * k + 60.000001L) * kDegToRad;
        long double Z = std::atan(std::cos(lat) * std::tan(b));
        if (Z < 0) Z += kPi;
        if (std::sin(b) < 0) Z += kPi;
        const long double n = std::sin(ramc + Z);
        const long double m = std::cos(eps) * std::cos(ramc + Z) - std::sin(eps) * std::sin(Z) * std::tan(lat);
        cusp[k - 1] = trig::normalizeDegrees(halfTurnRule(n, m) * kRadToDeg);
    }
}

void equalFromAscendant(CuspArray& cusp, const Frame& f) {
    for (int k = 1; k <= 12; ++k) cusp[k - 1] = trig::normalizeDegrees(f.asc + 30.0L * (k - 1));
}

void morinus(CuspArray& cusp, const Frame& f) {
    const long double eps = f.eps * kDegToRad, ramc = f.ramc * kDegToRad;
    for (int k = 1; k <= 12; ++k) {
        const long double y = (30.0L * k + 60.000001L) * kDegToRad;
        const long double n = std::cos(eps) * std::sin(ramc + y);
        cusp[k - 1] = trig::normalizeDegrees(halfTurnRule(n, std::cos(ramc + y)) * kRadToDeg);
    }
}

}  // namespace

long double localSiderealTime(const HouseInput& in) {
    long double lon = in.longitudeDegrees + in.longitudeMinutes / 60.0L;
    if (in.longitudeSide == 'O' || in.longitudeSide == 'W') lon = 360.0L - lon;
    const long double theta0 = greenwichSiderealTheta(in.jd);
    long double t = in.hour + in.minute / 60.0L;
    if (!(in.mode == 2 && (in.modeLetter == 'L' || in.modeLetter == 'S'))) t = t + in.offset1 + in.offset2;
    const long double h = ((t + 12.0L) / 24.0L - trig::truncate((t + 12.0L) / 24.0L)) * 24.0L;
    long double lst = reduce24(theta0 + h + lon / 15.0L);
    // A universal clock time more than twelve hours before midnight would leave a
    // negative remainder here.
    if (lst < 0) lst += 24.0L;
    return lst;
}

long double longitudeFromRightAscension(long double ra, long double epsDegrees) {
    long double l = std::atan(tanD(ra) / cosD(epsDegrees)) * kRadToDeg;
    if (l < 0) l += 180.0L;
    if (ra > 180.0L) l += 180.0L;
    return l;
}

long double placidusPoint(long double ramc, long double K, long double epsDegrees, long double f) {
    const long double fraction[1] = {f};
    long double point[1];
    placidusPoints(ramc, K, epsDegrees, fraction, point);
    return point[0];
}

void computeHouses(ChartState& chart, const HouseInput& in) {
    Frame f;
    f.lat = in.latitudeDegrees + in.latitudeMinutes / 60.0L;
    if (in.latitudeHemisphere == 'S') f.lat = 360.0L - f.lat;
    f.eps = obliquityDegrees(centuriesSince1900(in.jd));

    if (in.mode == 3) {
        f.ramc = chart.GivenRamc;
        chart.LocalSiderealTime = chart.GivenSiderealTime;
    } else {
        chart.LocalSiderealTime = localSiderealTime(in);
        f.ramc = 15.0L * chart.LocalSiderealTime;
    }

    f.mc = longitudeFromRightAscension(f.ramc, f.eps);
    chart.MidheavenRadians = f.mc * kDegToRad;

    const long double R = trig::normalizeDegrees(f.ramc + 90.0L);
    const long double A = std::atan(tanD(f.lat) / cosD(R)) * kRadToDeg;
    f.asc = std::atan(tanD(R) * cosD(A) / cosD(A + f.eps)) * kRadToDeg;
    if (f.asc < 0) f.asc += 180.0L;
    if (sinD(R) < 0) f.asc += 180.0L;
    chart.AscendantRadians = f.asc * kDegToRad;

    CuspArray& cusp = chart.HouseCusp;
    cusp[0] = f.asc;
    cusp[9] = f.mc;

    const std::string& system = chart.HouseSystem;
    if (system == "PLACIDO") placidus(cusp, f);
    else if (system == "KOCH") koch(cusp, f);
    else if (system == "REGIOMONT") regiomontanus(cusp, f);
    else if (system == "PORFIRIO") porphyry(cusp, f);
    else if (system == "CAMPANO") campanus(cusp, f);
    else if (system == "CASE_UGUALI" || system == "CASE_MEDIE") equalFromAscendant(cusp, f);
    else if (system == "MORINO") morinus(cusp, f);
    // "ALCABIZIO" and any other name: the angles only.
}

}  // namespace athanor
