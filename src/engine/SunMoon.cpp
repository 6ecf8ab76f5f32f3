#include "engine/Orbit.h"
#include "engine/Positions.h"
#include "engine/PrecisionSupplement.h"
#include "engine/Trig.h"

#include <array>
#include <cmath>
#include <iterator>
#include <stdexcept>

namespace athanor {

using orbit::kDegToRad;
using orbit::kRadToDeg;
using trig::sinDeg;

namespace {

const CorrectionFiles& filesOf(const EngineContext& ctx) {
    if (ctx.files == nullptr) throw std::invalid_argument("engine step without correction files");
    return *ctx.files;
}

// Planetary perturbations of the Sun: amplitude (arc-seconds) x cos(p x argument - q x g + phase).
enum Argument { Venus, Mars, Jupiter, Saturn };
struct SunTerm {
    Argument planet;
    double amplitude;
    int p, q;
    double phase;
};

constexpr SunTerm kSunTerms[] = {
    {Venus, 4.838, 1, 0, 90.0},      {Venus, 5.526, 2, 0, 90.12},      {Venus, 2.497, 2, 1, 257.75},
    {Venus, 1.559, 3, 1, 77.96},     {Venus, 1.024, 3, 2, 50.85},      {Venus, 0.666, 3, 0, 270.41},
    {Venus, 0.21, 4, 0, 89.8},       {Venus, 0.154, 5, 3, 34.1},       {Venus, 0.152, 4, 2, 227.4},
    {Venus, 0.144, 4, 1, 79.0},      {Mars, 2.043, 2, 0, 89.76},       {Mars, 1.77, 2, 1, 306.27},
    {Mars, 0.585, 4, 2, 185.82},     {Mars, 0.5, 4, 1, 317.7},         {Mars, 0.425, 3, 1, 317.7},
    {Mars, 0.204, 5, 2, 185.5},      {Jupiter, 7.208, 1, 0, 91.08999}, {Jupiter, 2.731, 2, 0, 270.25},
    {Jupiter, 2.6, 1, 1, 174.77},    {Jupiter, 1.61, 2, 1, 292.6},     {Jupiter, 0.556, 3, 1, 177.31},
    {Saturn, 0.419, 1, 0, 90.33999}, {Saturn, 0.32, 1, 1, 259.22},
};

// Moon's longitude series: coefficient (arc-seconds) x sin(i l + j l' + k F + m D).
struct MoonTerm {
    double coef;
    int i, j, k, m;
};

constexpr MoonTerm kMoonTerms[] = {
    {22639.55, 1, 0, 0, 0}, {-4586.47, 1, 0, 0, -2}, {2369.912, 0, 0, 0, 2}, {769.02, 2, 0, 0, 0},
    {-668.15, 0, 1, 0, 0},  {-411.61, 0, 0, 2, 0},   {-211.66, 2, 0, 0, -2}, {-205.96, 1, 1, 0, -2},
    {191.95, 1, 0, 0, 2},   {-165.15, 0, 1, 0, -2},  {147.69, 1, -1, 0, 0},  {-125.15, 0, 0, 0, 1},
    {-109.67, 1, 1, 0, 0},  {-55.17, 0, 0, 2, -2},   {-45.099, 1, 0, 2, 0},  {39.53, 1, 0, -2, 0},
    {-38.43, 1, 0, 0, -4},  {36.12, 3, 0, 0, 0},     {-30.77, 2, 0, 0, -4},  {28.48, 1, -1, 0, -2},
    {-24.42, 0, 1, 0, 2},   {18.61, 1, 0, 0, -1},    {18.02, 0, 1, 0, 1},    {14.58, 1, -1, 0, 2},
    {14.39, 2, 0, 0, 2},    {13.9, 0, 0, 0, 4},      {-13.19, 3, 0, 0, -2},  {9.7, 2, -1, 0, 0},
    {9.37, 1, 0, -2, -2},   {-8.63, 2, 1, 0, -2},    {-8.47, 1, 0, 0, 1},    {-8.096, 0, 2, 0, -2},
    {-7.65, 2, 1, 0, 0},

    {-7.49, 0, 2, 0, 0},    {-7.41, 1, 2, 0, -2},    {-6.38, 1, 0, -2, 2},   {-5.74, 0, 0, 2, 2},
    {-4.39, 1, 1, 0, -4},   {-3.99, 2, 0, 2, 0},     {3.22, 1, 0, 0, -3},    {-2.92, 1, 1, 0, 2},
    {-2.74, 2, 1, 0, -4},   {-2.49, 2, -1, 0, -2},   {2.58, 1, -2, 0, 0},    {2.53, 1, -2, 0, -2},
    {-2.15, 0, 1, 2, -2},   {1.98, 1, 0, 0, 4},      {1.94, 4, 0, 0, 0},     {-1.88, 0, 1, 0, -4},
    {1.75, 2, 0, 0, -1},    {-1.44, 0, 1, -2, 2},    {-1.298, 2, 0, -2, 0},  {1.27, 1, 1, 0, 1},
    {1.23, 2, 0, 0, -3},    {-1.19, 3, 0, 0, -4},    {1.18, 2, -1, 0, 2},    {-1.17, 1, 2, 0, 0},
    {-1.09, 1, -1, 0, -1},  {1.06, 3, 0, 0, 2},      {-0.59, 2, 0, 0, 1},    {-0.99, 1, 0, 2, 2},
    {-0.95, 4, 0, 0, -2},   {-0.59, 2, 0, 0, -6},    {0.64, 1, 0, 0, -4},    {0.56, 0, 1, 0, -1},
    {0.76, 1, -2, 0, 2},    {0.58, 0, 0, 2, -1},     {-0.55, 3, 1, 0, 0},    {0.68, 3, -1, 0, 0},
    {0.557, 2, 0, 2, -2},   {0.538, 2, 0, -2, -2},
};

// Range of the daily Moon corrections.
constexpr double kMoonFileFirst = 1721422.5;
constexpr double kMoonFileLast = 2499373.5;

}  // namespace

void sunStep(ChartState& chart, EngineContext& ctx) {
    const double T = ctx.T, T2 = ctx.T2;

    // The Earth's Kepler orbit: the vector the planets need.
    const double MsK = trig::normalizeDegrees(358.4758445 + 35999.04975 * T - 0.000150278 * T2);
    const double e = 0.01675104 - 0.0000418 * T - 0.000000126 * T2;
    const double a = 1.00000023;
    static const double aPower = [] {
        volatile double axis = 1.00000023;  // no compile-time folding, as for the planets
        return std::pow(axis, 1.5);
    }();
    // The Earth's orbit and the apparent longitude below each iterate Kepler's equation;
    // the two chains go side by side.
    const double MEarth = MsK * kDegToRad, MsRad = ctx.Ms * kDegToRad;
    double E1 = MEarth, E = MsRad;
    for (int n = 0; n < 5; ++n) {
        if (n < 3) E1 = orbit::keplerIteration(MEarth, e, E1);
        E = e * trig::sinRad(E) + MsRad;
    }
    const orbit::Kepler k = orbit::keplerState(E1, e, a, aPower);
    const double w = (101.2208333 + 1.719175 * T + 0.000452778 * T2) * kDegToRad;

    const orbit::Rotation rotation = orbit::prepareRotation(w, 0.0, 0.0);
    const orbit::Vec3 v = orbit::rotateToEcliptic(k.vx, k.vy, rotation);
    ctx.sunVX = -v.x;
    ctx.sunVY = -v.y;
    ctx.sunVZ = -v.z;

    const orbit::Vec3 pos = orbit::rotateToEcliptic(k.px, k.py, rotation);
    ctx.XE = pos.x;
    ctx.YE = pos.y;
    ctx.ZE = 0.0;
    const double XE = ctx.XE, YE = ctx.YE, ZE = ctx.ZE;

    const double rate = (XE * v.y - YE * v.x) / (XE * XE + YE * YE);
    const double direction = orbit::polarAngle(XE, YE) * kRadToDeg;
    chart.HelioLatitude[body::Sun] = direction;
    chart.HelioLongitude[body::Sun] = direction + ctx.dpsi;
    const double lightTerm = std::sqrt(XE * XE + YE * YE + ZE * ZE) * orbit::kLightTime * rate * kRadToDeg;
    if (ctx.rates) ctx.rates->perDay[body::Sun] = rate * kRadToDeg;

    if (lightTerm != 0) {
        // Apparent longitude from the mean elements, with long-period, planetary and lunar terms.
        const double Ms = ctx.Ms;
        const double trueAnomaly =
            2.0 * trig::arcTan(std::sqrt((1.0 + e) / (1.0 - e)) * trig::tanRad(E / 2.0)) * kRadToDeg;
        const double Lt = trig::normalizeDegrees(trueAnomaly - Ms + ctx.Ls);

        const double A = (6.4 * sinDeg(231.19 + 20.2 * T) + (1.882 - 0.016 * T) * sinDeg(57.24 + 150.27 * T) +
                          0.266 * sinDeg(31.8 + 119.0 * T) + 0.202 * sinDeg(315.6 + 893.3 * T)) /
                         3600.0;
        const double g = Ms + A;

        // As many multiples of each argument as the terms use.
        const trig::Multiples<5> venus(trig::normalizeDegrees(63.07037 + 22518.442986 * T));
        const trig::Multiples<5> mars(trig::normalizeDegrees(165.94905 + 16859.069667 * T));
        const trig::Multiples<3> jupiter(trig::normalizeDegrees(221.64742 + 32964.466939 * T));
        const trig::Multiples<1> saturn(trig::normalizeDegrees(193.1323 + 34777.259042 * T));
        auto multiple = [&](Argument planet, int k) -> const trig::Phasor& {
            switch (planet) {
            case Venus:
                return venus[k];
            case Mars:
                return mars[k];
            case Jupiter:
                return jupiter[k];
            default:
                return saturn[k];
            }
        };
        const trig::Multiples<3> anomaly(g);
        static const auto phases = [] {
            std::array<trig::Phasor, std::size(kSunTerms)> p;
            for (size_t k = 0; k < p.size(); ++k) p[k] = trig::phasorDeg(kSunTerms[k].phase);
            return p;
        }();
        double perturbations = 0;
        for (size_t k = 0; k < std::size(kSunTerms); ++k) {
            // cos(p x planet - q x g + phase)
            const SunTerm& t = kSunTerms[k];
            const trig::Phasor a = t.q == 0 ? multiple(t.planet, t.p) : multiple(t.planet, t.p) * anomaly[-t.q];
            perturbations += t.amplitude * (a.c * phases[k].c - a.s * phases[k].s);
        }

        const double moonTerm = 6.454 * sinDeg(ctx.D) + 0.424 * sinDeg(ctx.D - ctx.Mm);

        double longitude = trig::normalizeDegrees(Lt + A + perturbations / 3600.0 + moonTerm / 3600.0 + ctx.dpsi -
                                                  (20.47 + 0.342 * anomaly[1].c) / 3600.0);
        double latitude = 0.0;
        double d;
        const bool supplemented = ctx.supplement && ctx.supplement->lookup(body::Sun, supplement::Longitude, ctx.jd, d);
        if (ctx.rates && ctx.supplement) {
            double later;
            if (ctx.supplement->lookup(body::Sun, supplement::Longitude, ctx.rates->laterJd, later) != supplemented)
                ctx.rates->straddles = true;
            else if (supplemented) ctx.rates->fileMove[body::Sun] = (later - d) / 3600.0;
        }
        if (supplemented) {
            longitude = trig::normalizeDegrees(longitude + d / 3600.0);
            // Latitude corrections wait for the plain evaluation, as the planets' do.
            if (!ctx.speedPass && !ctx.longitudesOnly &&
                ctx.supplement->lookup(body::Sun, supplement::Latitude, ctx.jd, d))
                latitude = d / 3600.0;
        }
        chart.BodyLongitude[body::Sun] = longitude;
        chart.BodyLatitude[body::Sun] = latitude;
        equatorialCoordinates(chart, ctx, body::Sun);
    }

    // Equation of time, apparent minus mean solar time.
    if (ctx.longitudesOnly) return;
    const double tanHalfEps = trig::tanRad(ctx.eps * kDegToRad / 2.0);
    const double y = tanHalfEps * tanHalfEps;
    const double L = chart.BodyLongitude[body::Sun];
    const double M = MsK;
    const trig::Phasor twoL = trig::phasorDeg(2.0 * L);
    const double sinM = sinDeg(M);
    const double eot = y * twoL.s - 2.0 * e * sinM + 4.0 * e * y * sinM * twoL.c - 0.5 * y * y * sinDeg(4.0 * L) -
                       1.25 * e * e * sinDeg(2.0 * M);
    chart.EquationOfTime = eot * kRadToDeg / 15.0;
}

void moonStep(ChartState& chart, EngineContext& ctx) {
    const double T = ctx.T, T2 = ctx.T2, Om = ctx.Om;

    double Lm = ctx.Lm;
    double l = ctx.Lm - ctx.Gp;  // mean anomaly
    double F = ctx.Lm - ctx.Om;  // argument of latitude
    double lp = ctx.Ms;          // the Sun's anomaly
    double D = ctx.D;

    const double A = sinDeg(51.2 + 20.2 * T);
    const double X = 14.27 * sinDeg(193.4404 - 132.87 * T - 0.0091731 * T2);
    const trig::Phasor node = trig::phasorDeg(Om);
    const trig::Phasor nodeTerm = trig::phasorDeg(Om + 275.05 - 2.3 * T);
    const double Y = node.s;
    const double B = -15.58 * nodeTerm.s;
    Lm += (0.84 * A + X + 7.261 * Y) / 3600.0;
    l += (2.94 * A + X + 9.337 * Y) / 3600.0;
    D += (7.24 * A + 7.261 * Y) / 3600.0;
    lp += (-6.4 * A) / 3600.0;
    F += (0.21 * A + X - 88.699 * Y + B) / 3600.0;

    // sin(i l + j l' + k F + m D) from the multiples of the four arguments.
    const trig::Multiples<4> ml(l);
    const trig::Multiples<2> mlp(lp);
    const trig::Multiples<2> mF(F);
    const trig::Multiples<6> mD(D);
    // A zero multiple is the unit phasor, whose product changes nothing: it is skipped.
    auto sinOf = [&](int i, int j, int k, int m) {
        trig::Phasor a = ml[i];
        if (j != 0) a = a * mlp[j];
        if (k != 0) a = a * mF[k];
        if (m == 0) return a.s;
        const trig::Phasor& b = mD[m];
        return a.s * b.c + a.c * b.s;
    };

    double S = 0;
    if (ctx.rates) {
        // The same sum, and the Moon's speed from its derivative with the arguments at their
        // mean rates (degrees a day).
        constexpr double dl = 13.06499242, dlp = 0.98560028, dF = 13.22935042, dD = 12.19074910;
        double dS = 0;
        for (const MoonTerm& t : kMoonTerms) {
            trig::Phasor a = ml[t.i];
            if (t.j != 0) a = a * mlp[t.j];
            if (t.k != 0) a = a * mF[t.k];
            if (t.m != 0) a = a * mD[t.m];
            S += t.coef * a.s;
            dS += t.coef * a.c * (t.i * dl + t.j * dlp + t.k * dF + t.m * dD);
        }
        ctx.rates->perDay[body::Moon] = 13.1763965 + dS * kDegToRad / 3600.0;
    } else {
        for (const MoonTerm& t : kMoonTerms) S += t.coef * sinOf(t.i, t.j, t.k, t.m);
    }

    const double lam4 = trig::normalizeDegrees(Lm + S / 3600.0 + ctx.dpsi);
    double lam = lam4;
    auto filed = [](long double jd) { return kMoonFileFirst < jd && jd < kMoonFileLast; };
    if (ctx.rates) {
        // The file's correction moves by arc-seconds a day in the early centuries: its own
        // rate, over the forecast's interval, joins the series'.
        const long double later = ctx.rates->laterJd;
        if (filed(ctx.jd) != filed(later)) ctx.rates->straddles = true;
        else if (filed(later))
            ctx.rates->perDay[body::Moon] +=
                (filesOf(ctx).moon(later) - filesOf(ctx).moon(ctx.jd)) / 3600.0 / (later - ctx.jd);
    }
    if (filed(ctx.jd)) lam = trig::normalizeDegrees(lam + filesOf(ctx).moon(ctx.jd) / 3600.0);
    chart.BodyLongitude[body::Moon] = lam;
    if (ctx.longitudesOnly) return;

    const double S2 = 22609.0 * sinOf(1, 0, 0, 0) - 4578.1 * sinOf(1, 0, 0, -2) + 2373.4 * sinOf(0, 0, 0, 2) +
                      768.0 * sinOf(2, 0, 0, 0) + 192.7 * sinOf(1, 0, 0, 2) - 182.4 * sinOf(1, 1, 0, -2) -
                      165.1 * sinOf(0, 1, 0, -2) - 152.5 * sinOf(2, 0, 0, -2) - 138.8 * sinOf(-1, 1, 0, 0) -
                      127.0 * sinOf(0, 1, 0, 0) - 115.2 * sinOf(1, 1, 0, 0) - 112.8 * sinOf(0, 0, 0, 1) -
                      85.1 * sinOf(-1, 0, 2, 0) - 52.1 * sinOf(0, 0, 2, -2) + 50.64 * sinDeg(3 * lam4) -
                      38.6 * sinOf(1, 0, 0, -4) - 34.1 * sinOf(2, 0, 0, -4);
    const double Sarg = F + S2 / 3600.0;
    const double K = (1.0 - 0.00004664 * node.c - 0.0000754 * nodeTerm.c) * sinDeg(Sarg);
    chart.BodyLatitude[body::Moon] =
        (18519.7 * K - 6.2 * sinDeg(3 * Sarg)) / 3600.0 + (-526.1 * sinOf(0, 0, 1, -2)) / 3600.0;

    equatorialCoordinates(chart, ctx, body::Moon);
}

}  // namespace athanor
