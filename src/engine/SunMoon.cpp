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
    long double amplitude;
    int p, q;
    long double phase;
};

constexpr SunTerm kSunTerms[] = {
    {Venus, 4.838L, 1, 0, 90.0L},      {Venus, 5.526L, 2, 0, 90.12L},      {Venus, 2.497L, 2, 1, 257.75L},
    {Venus, 1.559L, 3, 1, 77.96L},     {Venus, 1.024L, 3, 2, 50.85L},      {Venus, 0.666L, 3, 0, 270.41L},
    {Venus, 0.21L, 4, 0, 89.8L},       {Venus, 0.154L, 5, 3, 34.1L},       {Venus, 0.152L, 4, 2, 227.4L},
    {Venus, 0.144L, 4, 1, 79.0L},      {Mars, 2.043L, 2, 0, 89.76L},       {Mars, 1.77L, 2, 1, 306.27L},
    {Mars, 0.585L, 4, 2, 185.82L},     {Mars, 0.5L, 4, 1, 317.7L},         {Mars, 0.425L, 3, 1, 317.7L},
    {Mars, 0.204L, 5, 2, 185.5L},      {Jupiter, 7.208L, 1, 0, 91.08999L}, {Jupiter, 2.731L, 2, 0, 270.25L},
    {Jupiter, 2.6L, 1, 1, 174.77L},    {Jupiter, 1.61L, 2, 1, 292.6L},     {Jupiter, 0.556L, 3, 1, 177.31L},
    {Saturn, 0.419L, 1, 0, 90.33999L}, {Saturn, 0.32L, 1, 1, 259.22L},
};

// Moon's longitude series: coefficient (arc-seconds) x sin(i l + j l' + k F + m D).
struct MoonTerm {
    long double coef;
    int i, j, k, m;
};

constexpr MoonTerm kMoonTerms[] = {
    {22639.55L, 1, 0, 0, 0}, {-4586.47L, 1, 0, 0, -2}, {2369.912L, 0, 0, 0, 2}, {769.02L, 2, 0, 0, 0},
    {-668.15L, 0, 1, 0, 0},  {-411.61L, 0, 0, 2, 0},   {-211.66L, 2, 0, 0, -2}, {-205.96L, 1, 1, 0, -2},
    {191.95L, 1, 0, 0, 2},   {-165.15L, 0, 1, 0, -2},  {147.69L, 1, -1, 0, 0},  {-125.15L, 0, 0, 0, 1},
    {-109.67L, 1, 1, 0, 0},  {-55.17L, 0, 0, 2, -2},   {-45.099L, 1, 0, 2, 0},  {39.53L, 1, 0, -2, 0},
    {-38.43L, 1, 0, 0, -4},  {36.12L, 3, 0, 0, 0},     {-30.77L, 2, 0, 0, -4},  {28.48L, 1, -1, 0, -2},
    {-24.42L, 0, 1, 0, 2},   {18.61L, 1, 0, 0, -1},    {18.02L, 0, 1, 0, 1},    {14.58L, 1, -1, 0, 2},
    {14.39L, 2, 0, 0, 2},    {13.9L, 0, 0, 0, 4},      {-13.19L, 3, 0, 0, -2},  {9.7L, 2, -1, 0, 0},
    {9.37L, 1, 0, -2, -2},   {-8.63L, 2, 1, 0, -2},    {-8.47L, 1, 0, 0, 1},    {-8.096L, 0, 2, 0, -2},
    {-7.65L, 2, 1, 0, 0},

    {-7.49L, 0, 2, 0, 0},    {-7.41L, 1, 2, 0, -2},    {-6.38L, 1, 0, -2, 2},   {-5.74L, 0, 0, 2, 2},
    {-4.39L, 1, 1, 0, -4},   {-3.99L, 2, 0, 2, 0},     {3.22L, 1, 0, 0, -3},    {-2.92L, 1, 1, 0, 2},
    {-2.74L, 2, 1, 0, -4},   {-2.49L, 2, -1, 0, -2},   {2.58L, 1, -2, 0, 0},    {2.53L, 1, -2, 0, -2},
    {-2.15L, 0, 1, 2, -2},   {1.98L, 1, 0, 0, 4},      {1.94L, 4, 0, 0, 0},     {-1.88L, 0, 1, 0, -4},
    {1.75L, 2, 0, 0, -1},    {-1.44L, 0, 1, -2, 2},    {-1.298L, 2, 0, -2, 0},  {1.27L, 1, 1, 0, 1},
    {1.23L, 2, 0, 0, -3},    {-1.19L, 3, 0, 0, -4},    {1.18L, 2, -1, 0, 2},    {-1.17L, 1, 2, 0, 0},
    {-1.09L, 1, -1, 0, -1},  {1.06L, 3, 0, 0, 2},      {-0.59L, 2, 0, 0, 1},    {-0.99L, 1, 0, 2, 2},
    {-0.95L, 4, 0, 0, -2},   {-0.59L, 2, 0, 0, -6},    {0.64L, 1, 0, 0, -4},    {0.56L, 0, 1, 0, -1},
    {0.76L, 1, -2, 0, 2},    {0.58L, 0, 0, 2, -1},     {-0.55L, 3, 1, 0, 0},    {0.68L, 3, -1, 0, 0},
    {0.557L, 2, 0, 2, -2},   {0.538L, 2, 0, -2, -2},
};

// Range of the daily Moon corrections.
constexpr long double kMoonFileFirst = 1721422.5L;
constexpr long double kMoonFileLast = 2499373.5L;

}  // namespace

void sunStep(ChartState& chart, EngineContext& ctx) {
    const long double T = ctx.T, T2 = ctx.T2;

    // The Earth's Kepler orbit: the vector the planets need.
    const long double MsK = trig::normalizeDegrees(358.4758445L + 35999.04975L * T - 0.000150278L * T2);
    const long double e = 0.01675104L - 0.0000418L * T - 0.000000126L * T2;
    const long double a = 1.00000023L;
    static const long double aPower = [] {
        volatile long double axis = 1.00000023L;  // no compile-time folding, as for the planets
        return std::pow(axis, 1.5L);
    }();
    // The Earth's orbit and the apparent longitude below each iterate Kepler's equation;
    // the two chains go side by side.
    const long double MEarth = MsK * kDegToRad, MsRad = ctx.Ms * kDegToRad;
    long double E1 = MEarth, E = MsRad;
    for (int n = 0; n < 5; ++n) {
        if (n < 3) E1 = orbit::keplerIteration(MEarth, e, E1);
        E = e * trig::sinRad(E) + MsRad;
    }
    const orbit::Kepler k = orbit::keplerState(E1, e, a, aPower);
    const long double w = (101.2208333L + 1.719175L * T + 0.000452778L * T2) * kDegToRad;

    const orbit::Rotation rotation = orbit::prepareRotation(w, 0.0L, 0.0L);
    const orbit::Vec3 v = orbit::rotateToEcliptic(k.vx, k.vy, rotation);
    ctx.sunVX = -v.x;
    ctx.sunVY = -v.y;
    ctx.sunVZ = -v.z;

    const orbit::Vec3 pos = orbit::rotateToEcliptic(k.px, k.py, rotation);
    ctx.XE = pos.x;
    ctx.YE = pos.y;
    ctx.ZE = 0.0L;
    const long double XE = ctx.XE, YE = ctx.YE, ZE = ctx.ZE;

    const long double rate = (XE * v.y - YE * v.x) / (XE * XE + YE * YE);
    const long double direction = orbit::polarAngle(XE, YE) * kRadToDeg;
    chart.HelioLatitude[body::Sun] = direction;
    chart.HelioLongitude[body::Sun] = direction + ctx.dpsi;
    const long double lightTerm = std::sqrt(XE * XE + YE * YE + ZE * ZE) * orbit::kLightTime * rate * kRadToDeg;
    if (ctx.rates) ctx.rates->perDay[body::Sun] = rate * kRadToDeg;

    if (lightTerm != 0) {
        // Apparent longitude from the mean elements, with long-period, planetary and lunar terms.
        const long double Ms = ctx.Ms;
        const long double trueAnomaly =
            2.0L * trig::arcTan(std::sqrt((1.0L + e) / (1.0L - e)) * trig::tanRad(E / 2.0L)) * kRadToDeg;
        const long double Lt = trig::normalizeDegrees(trueAnomaly - Ms + ctx.Ls);

        const long double A =
            (6.4L * sinDeg(231.19L + 20.2L * T) + (1.882L - 0.016L * T) * sinDeg(57.24L + 150.27L * T) +
             0.266L * sinDeg(31.8L + 119.0L * T) + 0.202L * sinDeg(315.6L + 893.3L * T)) /
            3600.0L;
        const long double g = Ms + A;

        // As many multiples of each argument as the terms use.
        const trig::Multiples<5> venus(trig::normalizeDegrees(63.07037L + 22518.442986L * T));
        const trig::Multiples<5> mars(trig::normalizeDegrees(165.94905L + 16859.069667L * T));
        const trig::Multiples<3> jupiter(trig::normalizeDegrees(221.64742L + 32964.466939L * T));
        const trig::Multiples<1> saturn(trig::normalizeDegrees(193.1323L + 34777.259042L * T));
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
        long double perturbations = 0;
        for (size_t k = 0; k < std::size(kSunTerms); ++k) {
            // cos(p x planet - q x g + phase)
            const SunTerm& t = kSunTerms[k];
            const trig::Phasor a = t.q == 0 ? multiple(t.planet, t.p) : multiple(t.planet, t.p) * anomaly[-t.q];
            perturbations += t.amplitude * (a.c * phases[k].c - a.s * phases[k].s);
        }

        const long double moonTerm = 6.454L * sinDeg(ctx.D) + 0.424L * sinDeg(ctx.D - ctx.Mm);

        long double longitude = trig::normalizeDegrees(Lt + A + perturbations / 3600.0L + moonTerm / 3600.0L +
                                                       ctx.dpsi - (20.47L + 0.342L * anomaly[1].c) / 3600.0L);
        long double latitude = 0.0L;
        long double d;
        const bool supplemented = ctx.supplement && ctx.supplement->lookup(body::Sun, supplement::Longitude, ctx.jd, d);
        if (ctx.rates && ctx.supplement) {
            long double later;
            if (ctx.supplement->lookup(body::Sun, supplement::Longitude, ctx.rates->laterJd, later) != supplemented)
                ctx.rates->straddles = true;
            else if (supplemented) ctx.rates->fileMove[body::Sun] = (later - d) / 3600.0L;
        }
        if (supplemented) {
            longitude = trig::normalizeDegrees(longitude + d / 3600.0L);
            // Latitude corrections wait for the plain evaluation, as the planets' do.
            if (!ctx.speedPass && !ctx.longitudesOnly &&
                ctx.supplement->lookup(body::Sun, supplement::Latitude, ctx.jd, d))
                latitude = d / 3600.0L;
        }
        chart.BodyLongitude[body::Sun] = longitude;
        chart.BodyLatitude[body::Sun] = latitude;
        equatorialCoordinates(chart, ctx, body::Sun);
    }

    // Equation of time, apparent minus mean solar time.
    if (ctx.longitudesOnly) return;
    const long double tanHalfEps = trig::tanRad(ctx.eps * kDegToRad / 2.0L);
    const long double y = tanHalfEps * tanHalfEps;
    const long double L = chart.BodyLongitude[body::Sun];
    const long double M = MsK;
    const trig::Phasor twoL = trig::phasorDeg(2.0L * L);
    const long double sinM = sinDeg(M);
    const long double eot = y * twoL.s - 2.0L * e * sinM + 4.0L * e * y * sinM * twoL.c -
                            0.5L * y * y * sinDeg(4.0L * L) - 1.25L * e * e * sinDeg(2.0L * M);
    chart.EquationOfTime = eot * kRadToDeg / 15.0L;
}

void moonStep(ChartState& chart, EngineContext& ctx) {
    const long double T = ctx.T, T2 = ctx.T2, Om = ctx.Om;

    long double Lm = ctx.Lm;
    long double l = ctx.Lm - ctx.Gp;  // mean anomaly
    long double F = ctx.Lm - ctx.Om;  // argument of latitude
    long double lp = ctx.Ms;          // the Sun's anomaly
    long double D = ctx.D;

    const long double A = sinDeg(51.2L + 20.2L * T);
    const long double X = 14.27L * sinDeg(193.4404L - 132.87L * T - 0.0091731L * T2);
    const trig::Phasor node = trig::phasorDeg(Om);
    const trig::Phasor nodeTerm = trig::phasorDeg(Om + 275.05L - 2.3L * T);
    const long double Y = node.s;
    const long double B = -15.58L * nodeTerm.s;
    Lm += (0.84L * A + X + 7.261L * Y) / 3600.0L;
    l += (2.94L * A + X + 9.337L * Y) / 3600.0L;
    D += (7.24L * A + 7.261L * Y) / 3600.0L;
    lp += (-6.4L * A) / 3600.0L;
    F += (0.21L * A + X - 88.699L * Y + B) / 3600.0L;

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

    long double S = 0;
    if (ctx.rates) {
        // The same sum, and the Moon's speed from its derivative with the arguments at their
        // mean rates (degrees a day).
        constexpr long double dl = 13.06499242L, dlp = 0.98560028L, dF = 13.22935042L, dD = 12.19074910L;
        long double dS = 0;
        for (const MoonTerm& t : kMoonTerms) {
            trig::Phasor a = ml[t.i];
            if (t.j != 0) a = a * mlp[t.j];
            if (t.k != 0) a = a * mF[t.k];
            if (t.m != 0) a = a * mD[t.m];
            S += t.coef * a.s;
            dS += t.coef * a.c * (t.i * dl + t.j * dlp + t.k * dF + t.m * dD);
        }
        ctx.rates->perDay[body::Moon] = 13.1763965L + dS * kDegToRad / 3600.0L;
    } else {
        for (const MoonTerm& t : kMoonTerms) S += t.coef * sinOf(t.i, t.j, t.k, t.m);
    }

    const long double lam4 = trig::normalizeDegrees(Lm + S / 3600.0L + ctx.dpsi);
    long double lam = lam4;
    auto filed = [](long double jd) { return kMoonFileFirst < jd && jd < kMoonFileLast; };
    if (ctx.rates) {
        // The file's correction moves by arc-seconds a day in the early centuries: its own
        // rate, over the forecast's interval, joins the series'.
        const long double later = ctx.rates->laterJd;
        if (filed(ctx.jd) != filed(later)) ctx.rates->straddles = true;
        else if (filed(later))
            ctx.rates->perDay[body::Moon] +=
                (filesOf(ctx).moon(later) - filesOf(ctx).moon(ctx.jd)) / 3600.0L / (later - ctx.jd);
    }
    if (filed(ctx.jd)) lam = trig::normalizeDegrees(lam + filesOf(ctx).moon(ctx.jd) / 3600.0L);
    chart.BodyLongitude[body::Moon] = lam;
    if (ctx.longitudesOnly) return;

    const long double S2 = 22609.0L * sinOf(1, 0, 0, 0) - 4578.1L * sinOf(1, 0, 0, -2) + 2373.4L * sinOf(0, 0, 0, 2) +
                           768.0L * sinOf(2, 0, 0, 0) + 192.7L * sinOf(1, 0, 0, 2) - 182.4L * sinOf(1, 1, 0, -2) -
                           165.1L * sinOf(0, 1, 0, -2) - 152.5L * sinOf(2, 0, 0, -2) - 138.8L * sinOf(-1, 1, 0, 0) -
                           127.0L * sinOf(0, 1, 0, 0) - 115.2L * sinOf(1, 1, 0, 0) - 112.8L * sinOf(0, 0, 0, 1) -
                           85.1L * sinOf(-1, 0, 2, 0) - 52.1L * sinOf(0, 0, 2, -2) + 50.64L * sinDeg(3 * lam4) -
                           38.6L * sinOf(1, 0, 0, -4) - 34.1L * sinOf(2, 0, 0, -4);
    const long double Sarg = F + S2 / 3600.0L;
    const long double K = (1.0L - 0.00004664L * node.c - 0.0000754L * nodeTerm.c) * sinDeg(Sarg);
    chart.BodyLatitude[body::Moon] =
        (18519.7L * K - 6.2L * sinDeg(3 * Sarg)) / 3600.0L + (-526.1L * sinOf(0, 0, 1, -2)) / 3600.0L;

    equatorialCoordinates(chart, ctx, body::Moon);
}

}  // namespace athanor
