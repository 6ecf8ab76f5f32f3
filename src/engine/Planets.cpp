#include "engine/Orbit.h"
#include "engine/CorrectionFiles.h"
#include "engine/Positions.h"
#include "engine/PrecisionSupplement.h"
#include "engine/Trig.h"

#include <array>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace athanor {

namespace {

using namespace orbit;

// c0 + c1 T + c2 T^2
struct Poly {
    long double c0 = 0, c1 = 0, c2 = 0;
    long double at(long double T, long double T2) const { return c0 + c1 * T + c2 * T2; }
};

// Mean elements in degrees (a in AU).
struct Elements {
    Poly M, e, a, w, N, i;
};

// Index: Mercury..Pluto newer sets, then Jupiter..Pluto before 1700, then the minor bodies.
const std::array<Elements, 18> kElements = {{
    // Mercury
    {{102.2793806L, 149472.51523L, 0.000006389L},
     {0.20561421L, 0.00002046L, -0.00000003L},
     {0.3870984L, 0.0L, 0.0L},
     {28.75375278L, 0.370280556L, 0.000120833L},
     {47.14594444L, 1.185208333L, 0.000173889L},
     {7.002880556L, 0.001860833L, -0.000018333L}},
    // Venus
    {{212.6032194L, 58517.80386L, 0.001286056L},
     {0.00682069L, -0.00004774L, 0.0000091L},
     {0.7233316L, 0.0L, 0.0L},
     {54.38418611L, 0.508186111L, -0.001386389L},
     {75.77964722L, 0.89985L, 0.00041L},
     {3.393630556L, 0.00100583L, -0.000000972L}},
    // Mars
    {{319.529425L, 19139.8585L, 0.000180806L},
     {0.0933129L, 0.000092064L, -0.000000077L},
     {1.5236915L, 0.0L, 0.0L},
     {285.4317611L, 1.069766667L, 0.00013125L},
     {48.78644167L, 0.770991667L, -0.000001389L},
     {1.850333333L, -0.000675L, 0.000012611L}},
    // Jupiter, from 1700
    {{225.49281253L, 3033.687936L, 0.0L},
     {0.04838144L, -0.0000155L, 0.0L},
     {5.20290493L, 0.0L, 0.0L},
     {273.3930152L, 1.33834464L, 0.0L},
     {99.41984827L, 1.05829152L, 0.0L},
     {1.3096585L, -0.00515613L, 0.0L}},
    // Saturn, from 1700
    {{174.215296L, 1223.507963L, 0.0L},
     {0.05422831L, -0.00020495L, 0.0L},
     {9.55251745L, 0.0L, 0.0L},
     {338.911673L, -0.31667941L, 0.0L},
     {112.8261394L, 0.82587569L, 0.0L},
     {2.49080547L, -0.00466035L, 0.0L}},
    // Uranus, from 1700
    {{74.17574887L, 427.2742717L, 0.0L},
     {0.04681664L, 0.00041875L, 0.0L},
     {19.22150505L, 0.0L, 0.0L},
     {95.68630387L, 2.05082548L, 0.0L},
     {73.52220082L, 0.52415598L, 0.0L},
     {0.77256652L, 0.00012824L, 0.0L}},
    // Neptune, from 1700
    {{30.1329437L, 240.4551595L, 0.0L},
     {0.00912805L, -0.00127185L, 0.0L},
     {30.1137593L, 0.0L, 0.0L},
     {284.168255L, -21.6328615L, 0.0L},
     {130.6841531L, 1.10046492L, 0.0L},
     {1.77939281L, -0.00975088L, 0.0L}},
    // Pluto, from 1700
    {{229.7810007L, 145.1781092L, 0.0L},
     {0.24797376L, 0.00289875L, 0.0L},
     {39.53903455L, 0.0L, 0.0L},
     {113.5365761L, 0.20863761L, 0.0L},
     {108.94405L, 1.37395444L, 0.0L},
     {17.15140319L, -0.01611824L, 0.0L}},
    // Jupiter, before 1700
    {{225.32833L, 3034.69202L, -0.00072L},
     {0.04833L, 0.00016L, 0.0L},
     {5.202561L, 0.0L, 0.0L},
     {273.27754L, 0.59943L, 0.0007L},
     {99.44338L, 1.01053L, 0.00035L},
     {1.30874L, -0.005696L, 0.0L}},
    // Saturn, before 1700
    {{175.46622L, 1221.55147L, -0.0005L},
     {0.05589L, -0.00035L, 0.0L},
     {9.55475L, 0.0L, 0.0L},
     {338.30777L, 1.08522L, 0.00098L},
     {112.79039L, 0.873195L, -0.00015L},
     {2.49252L, -0.00392L, -0.00002L}},
    // Uranus, before 1700
    {{72.64882L, 428.37911L, 0.00008L},
     {0.046344L, -0.00003L, 0.0L},
     {19.21814L, 0.0L, 0.0L},
     {98.07155L, 0.98577L, -0.00107L},
     {73.4771L, 0.49867L, 0.00131L},
     {0.77246L, 0.00063L, 0.00004L}},
    // Neptune, before 1700
    {{37.73067L, 218.46134L, -0.00007L},
     {0.008997L, 0.0L, 0.0L},
     {30.10957L, 0.0L, 0.0L},
     {276.04597L, 0.32564L, 0.00014L},
     {130.68136L, 1.09894L, 0.000249L},
     {1.77924L, -0.00954L, 0.0L}},
    // Pluto, before 1700
    {{229.94722L, 144.91306L, 0.0L},
     {0.24864L, 0.0L, 0.0L},
     {39.51774L, 0.0L, 0.0L},
     {113.52136L, 0.0L, 0.0L},
     {108.95444L, 1.39601L, 0.00031L},
     {17.14678L, 0.0L, 0.0L}},
    // Ceres
    {{108.2925L, 7820.36556L, 0.0L},
     {0.0794314L, 0.0L, 0.0L},
     {2.7672273L, 0.0L, 0.0L},
     {71.0794444L, 0.0L, 0.0L},
     {80.23555556L, 1.3960111L, 0.0L},
     {10.59694444L, 0.0L, 0.0L}},
    // Pallas
    {{106.6641667L, 7806.531667L, 0.0L},
     {0.2347096L, 0.0L, 0.0L},
     {2.7704955L, 0.0L, 0.0L},
     {310.166111L, 0.0L, 0.0L},
     {172.497222L, 1.39601111L, 0.0L},
     {34.81416667L, 0.0L, 0.0L}},
    // Juno
    {{267.685L, 8256.081111L, 0.0L},
     {0.2562318L, 0.0L, 0.0L},
     {2.6689897L, 0.0L, 0.0L},
     {245.3752778L, 0.0L, 0.0L},
     {170.137777L, 1.396011111L, 0.0003083333L},
     {13.01694444L, 0.0L, 0.0L}},
    // Vesta
    {{138.7733333L, 9924.931111L, 0.0L},
     {0.0902807L, 0.0L, 0.0L},
     {2.360723L, 0.0L, 0.0L},
     {149.6386111L, 0.0L, 0.0L},
     {103.2197222L, 1.396011111L, 0.000308333L},
     {7.139444444L, 0.0L, 0.0L}},
    // Chiron
    {{34.6127752L, 713.5756219L, 0.0L},
     {0.382270369L, -0.004694073L, 0.0L},
     {13.66975144L, 0.0L, 0.0L},
     {337.407213L, 2.163306646L, 0.0L},
     {208.1482658L, 1.247724355L, 0.0L},
     {6.911179715L, 0.011236955L, 0.0L}},
}};

// The theory switches Jupiter to Pluto to older elements at noon of 29 December 1699.
inline constexpr long double kOlderElementsBefore = -2.0L;

// a^1.5 of each set, for the Kepler solution. Taken from the library at run time, as the
// solution always did: the compiler's folding of a constant power rounds differently.
std::array<long double, 18> axisPowers() {
    std::array<long double, 18> p{};
    for (size_t k = 0; k < p.size(); ++k) {
        volatile long double a = kElements[k].a.c0;
        p[k] = std::pow(a, 1.5L);
    }
    return p;
}
const std::array<long double, 18> kAxisPower = axisPowers();

const Elements& elementsFor(int b, long double T) {
    if (b >= body::Mercury && b <= body::Mars) return kElements[b - body::Mercury];
    if (b >= body::Jupiter && b <= body::Pluto)
        return T >= kOlderElementsBefore ? kElements[b - body::Mercury] : kElements[b - body::Jupiter + 8];
    return kElements[b - kFirstAsteroid + 13];
}

// amplitude x cos((rate T + phase) degrees), AU
struct Term {
    long double amplitude, rate, phase;
};

struct Component {
    Poly poly;
    std::vector<Term> terms;
    long double at(long double T, long double T2) const {
        long double v = poly.at(T, T2);
        for (const Term& t : terms) v += t.amplitude * trig::cosRad((t.rate * T + t.phase) * kDegToRad);
        return v;
    }
    // at(T, T2), and at a later T from the same cosines: each argument turns by
    // rate dT degrees, a few milli-arc-seconds, whose sine and cosine two terms give.
    void atBoth(long double T, long double T2, long double laterT, long double laterT2, long double& now,
                long double& later) const {
        const long double dT = laterT - T;
        now = poly.at(T, T2);
        later = poly.at(laterT, laterT2);
        for (const Term& t : terms) {
            long double s, c;
            trig::sinCosRad((t.rate * T + t.phase) * kDegToRad, s, c);
            now += t.amplitude * c;
            const long double delta = t.rate * dT * kDegToRad;
            const long double z = delta * delta;
            const long double sinDelta = delta - delta * z / 6.0L, cosDelta = 1.0L - z / 2.0L;
            later += t.amplitude * (c * cosDelta - s * sinDelta);
        }
    }
};

struct Perturbation {
    Component dX, dY, dZ;
};

// Fitted corrections of the heliocentric position, Jupiter to Pluto, 1900 to 2100.
const std::array<Perturbation, 5> kPerturbations = {{
    // Jupiter
    {{{0.002L, -0.0134L, 0.0127L},
      {{-0.0023L, 676.2L, 0.9L},
       {0.00045L, 2361.4L, 174.9L},
       {0.0015L, 1427.5L, -188.8L},
       {0.0006L, 2110.1L, 153.6L},
       {0.0014L, 3606.8L, -57.7L},
       {-0.0017L, 2540.2L, 121.7L},
       {-0.00099L, 6704.8L, -22.3L},
       {-0.0006L, 5480.2L, 24.5L},
       {0.00096L, 1651.3L, -118.3L},
       {0.0006L, 6310.8L, -4.8L},
       {0.0007L, 4826.6L, 36.2L}}},
     {{-0.001L, -0.0005L, 0.0045L},
      {{0.0051L, 581.7L, -9.7L},
       {-0.0005L, 2510.7L, -12.5L},
       {-0.0026L, 1313.7L, -61.4L},
       {0.0013L, 2370.79L, -24.6L},
       {-0.0013L, 3599.3L, 37.7L},
       {-0.001L, 2574.7L, 31.4L},
       {-0.00096L, 6708.2L, -114.5L},
       {-0.0006L, 5499.4L, -74.97L},
       {-0.0013L, 1419.0L, 54.2L},
       {0.0006L, 6339.3L, -109.0L},
       {0.0007L, 4824.5L, -50.9L}}},
     {{0.0L, 0.0L, 0.0L}, {}}},
    // Saturn
    {{{-0.0014L, 0.0026L, 0.0L},
      {{0.0111L, 1242.2L, 78.3L},
       {-0.0045L, 3034.96L, 62.8L},
       {-0.0066L, 1829.2L, -51.5L},
       {-0.0078L, 640.6L, 24.2L},
       {-0.0016L, 2363.4L, -141.4L}}},
     {{-0.0009L, 0.0037L, 0.0L},
      {{0.0134L, 1238.9L, -16.4L},
       {-0.00426L, 3040.9L, -25.2L},
       {0.0064L, 1835.3L, 36.1L},
       {-0.0153L, 610.8L, -44.2L},
       {-0.0015L, 2480.5L, -69.4L}}},
     {{0.0006L, -0.0002L, 0.0L},
      {{-0.0005L, 1251.1L, 43.7L}, {0.0005L, 622.8L, 13.7L}, {0.0003L, 1824.7L, -71.1L}, {0.0001L, 2997.1L, 78.2L}}}},
    // Uranus
    {{{0.0134L, -0.02186L, 0.0L},
      {{0.0317L, 404.3L, 81.9L}, {-0.00495L, 3037.9L, 57.3L}, {0.004L, 993.5L, -54.4L}, {-0.0018L, 1249.4L, 79.2L}}},
     {{-0.0021L, -0.0159L, 0.0L},
      {{0.0299L, 422.3L, -17.7L}, {-0.0049L, 3035.1L, -31.3L}, {-0.0038L, 945.3L, 60.1L}, {-0.0023L, 1227.0L, -4.99L}}},
     {{-0.0003L, 0.0005L, 0.0L}, {{0.0005L, 352.5L, -54.99L}, {0.0001L, 3027.5L, 54.2L}, {-0.0001L, 1150.3L, -88.0L}}}},
    // Neptune
    {{{-0.1122L, 0.166L, -0.0544L},
      {{-0.00496L, 3035.3L, 58.7L}, {0.0961L, 177.1L, -68.8L}, {-0.0073L, 630.9L, 51.0L}, {-0.0025L, 1236.6L, 78.0L}}},
     {{0.1832L, -0.6718L, 0.2726L},
      {{-0.1923L, 175.7L, 31.8L}, {0.0122L, 542.1L, 189.6L}, {0.0027L, 1219.4L, 178.1L}, {-0.00496L, 3035.6L, -31.3L}}},
     {{0.00196L, -0.0119L, 0.0111L},
      {{0.0001L, 3049.3L, 44.2L}, {-0.0002L, 893.9L, 48.5L}, {0.00007L, 1416.5L, -25.2L}}}},
    // Pluto
    {{{-0.0603L, 0.5002L, -0.6126L},
      {{0.049L, 273.97L, 89.97L}, {-0.0049L, 3030.6L, 61.3L}, {0.0027L, 1075.3L, -28.1L}, {-0.0007L, 1402.3L, 20.3L}}},
     {{-0.0426L, 0.073L, -0.029L},
      {{0.0371L, 372.0L, -331.3L},
       {-0.0049L, 3049.6L, -39.2L},
       {-0.0108L, 566.2L, 318.3L},
       {0.0003L, 1746.5L, -238.3L}}},
     {{0.0145L, -0.0928L, 0.1195L},
      {{0.0117L, 302.6L, -77.3L}, {0.00198L, 528.1L, 48.6L}, {-0.0002L, 1000.4L, -46.1L}}}},
}};

// Degrees from the Sun beyond which the engine deflects nothing (deflectionWeight).
inline constexpr long double kDeflectedWithin = 15.0L;

// Degrees per arc-second, for the supplement's corrections.
inline constexpr long double kPerArcsecond = 1.0L / 3600.0L;

// A longitude in [0, 360) moved by less than a turn, back into [0, 360): what
// normalizeDegrees gives for such a value, without its division.
long double wrapDegrees(long double x) {
    if (x >= 360.0L) return x - 360.0L;
    if (x < 0) return x + 360.0L;
    return x;
}

// The five-day file covers the planets from year 1 to the end of 1899.
inline constexpr long double kFiveDayFirstJd = 1721423.5L;
inline constexpr long double kFiveDayEndJd = 2415020.5L;

// Signed angle of z over the distance rho in the ecliptic plane, degrees. The polar angle
// lies in [0, 2 pi); the threshold and the floor fold it back exactly as the theory was
// tuned, which equals the plain signed angle for every latitude a body reaches.
long double signedLatitude(long double rho, long double z, long double thresholdRadians, long double floorDegrees) {
    long double angle = polarAngle(rho, z);
    if (angle > thresholdRadians) angle -= 2.0L * kPi;
    long double degrees = angle * kRadToDeg;
    if (degrees < floorDegrees) degrees += 360.0L;
    return degrees;
}

}  // namespace

void outerCorrections(const EngineContext& now, const EngineContext& later, OuterCorrections& atNow,
                      OuterCorrections& atLater) {
    auto inRange = [](long double T) { return T >= 0 && T <= 2; };
    atNow.applies = inRange(now.T);
    atLater.applies = inRange(later.T);
    // At the ends of the range one instant may lie outside: each step then evaluates its own.
    if (!atNow.applies || !atLater.applies) {
        atNow.applies = atLater.applies = false;
        return;
    }
    for (int b = 0; b < 5; ++b) {
        const Perturbation& p = kPerturbations[b];
        const Component* components[3] = {&p.dX, &p.dY, &p.dZ};
        for (int k = 0; k < 3; ++k)
            components[k]->atBoth(now.T, now.T2, later.T, later.T2, atNow.d[b][k], atLater.d[b][k]);
    }
}

void planetStep(ChartState& chart, EngineContext& ctx, int b) { planetSteps(chart, ctx, &b, 1); }

// Each stage runs for every body before the next stage: one body's long chains of
// dependent operations (the Kepler iterations, the arctangents) then overlap with the next
// body's. Every body's arithmetic is that of a body alone.
void planetSteps(ChartState& chart, EngineContext& ctx, const int* bodies, int count) {
    struct Work {
        int b = 0;
        bool planet = false;
        const Elements* el = nullptr;
        long double M = 0, e = 0, a = 0, w = 0, N = 0, i = 0, aPower = 0, E = 0;
        Kepler k;
        Vec3 p, hv;
        long double longitude = 0, latitude = 0;
    };
    constexpr int kMaxBodies = kLastAsteroid + 1;
    if (count < 0 || count > kMaxBodies) throw std::invalid_argument("planetSteps: too many bodies");
    Work work[kMaxBodies];
    for (int n = 0; n < count; ++n) {
        const int b = bodies[n];
        const bool planet = b >= body::Mercury && b <= body::Pluto;
        if (!planet && (b < kFirstAsteroid || b > kLastAsteroid))
            throw std::invalid_argument("planetStep: no planet theory for body " + std::to_string(b));
        work[n].b = b;
        work[n].planet = planet;
    }

    const long double T = ctx.T, T2 = ctx.T2;
    for (int n = 0; n < count; ++n) {
        Work& o = work[n];
        const Elements& el = elementsFor(o.b, T);
        o.el = &el;
        o.M = trig::normalizeDegrees(el.M.at(T, T2)) * kDegToRad;
        o.e = el.e.at(T, T2);
        o.a = el.a.at(T, T2);
        o.w = el.w.at(T, T2) * kDegToRad;
        o.N = el.N.at(T, T2) * kDegToRad;
        o.i = el.i.at(T, T2) * kDegToRad;
        o.aPower = o.a == el.a.c0 ? kAxisPower[&el - kElements.data()] : std::pow(o.a, 1.5L);
        o.E = o.M;
    }
    for (int iteration = 0; iteration < 3; ++iteration)
        for (int n = 0; n < count; ++n) work[n].E = keplerIteration(work[n].M, work[n].e, work[n].E);

    for (int n = 0; n < count; ++n) {
        Work& o = work[n];
        o.k = keplerState(o.E, o.e, o.a, o.aPower);
        const Rotation rotation = prepareRotation(o.w, o.i, o.N);
        o.hv = rotateToEcliptic(o.k.vx, o.k.vy, rotation);
        o.p = rotateToEcliptic(o.k.px, o.k.py, rotation);
        if (o.b >= body::Jupiter && o.b <= body::Pluto && T >= 0 && T <= 2) {
            if (ctx.outer && ctx.outer->applies) {
                const long double(&d)[3] = ctx.outer->d[o.b - body::Jupiter];
                o.p.x += d[0];
                o.p.y += d[1];
                o.p.z += d[2];
            } else {
                const Perturbation& d = kPerturbations[o.b - body::Jupiter];
                o.p.x += d.dX.at(T, T2);
                o.p.y += d.dY.at(T, T2);
                o.p.z += d.dZ.at(T, T2);
            }
        }
    }

    const bool all = !ctx.longitudesOnly;
    for (int n = 0; n < count; ++n) {
        Work& o = work[n];
        const Vec3& p = o.p;
        const long double gvx = o.hv.x + ctx.sunVX;
        const long double gvy = o.hv.y + ctx.sunVY;
        const long double threshold = o.b == body::Pallas ? 0.607621835L : 0.35L;
        if (all) {
            chart.HelioLongitude[o.b] = trig::normalizeDegrees(polarAngle(p.x, p.y) * kRadToDeg + ctx.dpsi);
            chart.HelioLatitude[o.b] = signedLatitude(std::sqrt(p.x * p.x + p.y * p.y), p.z, threshold, -300.0L);
        }

        const long double gx = p.x - ctx.XE, gy = p.y - ctx.YE, gz = p.z - ctx.ZE;
        const long double rate = (gx * gvy - gy * gvx) / (gx * gx + gy * gy);
        const long double light = std::sqrt(gx * gx + gy * gy + gz * gz) * kLightTime * rate * kRadToDeg;
        if (ctx.rates) ctx.rates->perDay[o.b] = rate * kRadToDeg;

        o.longitude = trig::normalizeDegrees(polarAngle(gx, gy) * kRadToDeg + ctx.dpsi - light);
        if (all) o.latitude = signedLatitude(std::sqrt(gx * gx + gy * gy), gz, threshold, -250.0L);
    }

    supplement::SunDirection sun;
    if (ctx.supplement)
        sun =
            supplement::SunDirection::at(chart.BodyLongitude[body::Sun], std::sqrt(ctx.XE * ctx.XE + ctx.YE * ctx.YE));
    for (int n = 0; n < count; ++n) {
        Work& o = work[n];
        const bool fiveDay = o.planet && ctx.jd >= kFiveDayFirstJd && ctx.jd < kFiveDayEndJd;
        if (ctx.rates) {
            const long double later = ctx.rates->laterJd, laterT = (later - 2415020.0L) / 36525.0L;
            auto perturbed = [](long double t) { return t >= 0 && t <= 2; };
            if (fiveDay != (o.planet && later >= kFiveDayFirstJd && later < kFiveDayEndJd) ||
                &elementsFor(o.b, laterT) != o.el || perturbed(T) != perturbed(laterT))
                ctx.rates->straddles = true;
            else if (fiveDay && ctx.files)
                ctx.rates->fileMove[o.b] =
                    (ctx.files->planet(later, o.b - 2) - ctx.files->planet(ctx.jd, o.b - 2)) / 60.0L;
        }
        if (fiveDay) {
            if (!ctx.files) throw std::logic_error("planetStep: correction files needed before 1900");
            o.longitude = trig::normalizeDegrees(o.longitude + ctx.files->planet(ctx.jd, o.b - 2) / 60.0L);
            if (!ctx.speedPass && all) o.latitude += ctx.files->planet(ctx.jd, o.b + 7) / 60.0L;
        }
        long double dLongitude;
        const bool supplemented =
            ctx.supplement && ctx.supplement->lookup(o.b, supplement::Longitude, ctx.jd, dLongitude);
        if (ctx.rates && ctx.supplement) {
            long double later;
            if (ctx.supplement->lookup(o.b, supplement::Longitude, ctx.rates->laterJd, later) != supplemented)
                ctx.rates->straddles = true;
            else if (supplemented) ctx.rates->fileMove[o.b] += (later - dLongitude) * kPerArcsecond;
        }
        if (supplemented) {
            o.longitude = wrapDegrees(o.longitude + dLongitude * kPerArcsecond);
            // The Sun's deflection, where it matters, from the corrected position. Both
            // evaluations of the wrapper must deflect alike, so each takes the latitude with
            // every correction, whatever it stores. How much of it goes by the elongation:
            // no less than the difference of the corrected longitudes, and near the Sun taken
            // with the theory's latitude, whose error (a few degrees at most, for Pluto
            // before 1700 and the minor bodies) cannot hide a body next to the Sun.
            const bool stored = !ctx.speedPass && all;
            long double separation = std::fabs(o.longitude - chart.BodyLongitude[body::Sun]);
            if (separation > 180.0L) separation = 360.0L - separation;
            // The deflection's change has no rate here: near the Sun the second evaluation decides.
            if (ctx.rates && separation < kDeflectedWithin + 1.0L) ctx.rates->undecided[o.b] = true;
            const long double gx = o.p.x - ctx.XE, gy = o.p.y - ctx.YE, gz = o.p.z - ctx.ZE;
            double weight = 0;
            long double distance = 0;
            if (separation < kDeflectedWithin) {
                distance = std::sqrt(gx * gx + gy * gy + gz * gz);
                const long double cosLatitude = std::sqrt(gx * gx + gy * gy) / distance;
                weight = supplement::deflectionWeight(static_cast<double>(cosLatitude * trig::cosDeg(separation)));
            }
            if (weight > 0 || stored) {
                long double latitude = o.latitude, dLatitude;
                if (!all)
                    latitude = signedLatitude(std::sqrt(gx * gx + gy * gy), gz,
                                              o.b == body::Pallas ? 0.607621835L : 0.35L, -250.0L);
                if (fiveDay && !stored) latitude += ctx.files->planet(ctx.jd, o.b + 7) / 60.0L;
                ctx.supplement->lookup(o.b, supplement::Latitude, ctx.jd, dLatitude);
                latitude += dLatitude * kPerArcsecond;
                if (weight > 0) {
                    const supplement::Deflection d = supplement::deflection(o.longitude, latitude, distance, sun);
                    o.longitude = wrapDegrees(o.longitude + weight * d.longitude);
                    latitude += weight * d.latitude;
                }
                if (stored) o.latitude = latitude;
            }
        }
        chart.BodyLongitude[o.b] = o.longitude;
        if (all) chart.BodyLatitude[o.b] = o.latitude;
    }
    if (all)
        for (int n = 0; n < count; ++n) equatorialCoordinates(chart, ctx, work[n].b);
}

}  // namespace athanor
