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
    double c0 = 0, c1 = 0, c2 = 0;
    double at(double T, double T2) const { return c0 + c1 * T + c2 * T2; }
};

// Mean elements in degrees (a in AU).
struct Elements {
    Poly M, e, a, w, N, i;
};

// Index: Mercury..Pluto newer sets, then Jupiter..Pluto before 1700, then the minor bodies.
const std::array<Elements, 18> kElements = {{
    // Mercury
    {{102.2793806, 149472.51523, 0.000006389},
     {0.20561421, 0.00002046, -0.00000003},
     {0.3870984, 0.0, 0.0},
     {28.75375278, 0.370280556, 0.000120833},
     {47.14594444, 1.185208333, 0.000173889},
     {7.002880556, 0.001860833, -0.000018333}},
    // Venus
    {{212.6032194, 58517.80386, 0.001286056},
     {0.00682069, -0.00004774, 0.0000091},
     {0.7233316, 0.0, 0.0},
     {54.38418611, 0.508186111, -0.001386389},
     {75.77964722, 0.89985, 0.00041},
     {3.393630556, 0.00100583, -0.000000972}},
    // Mars
    {{319.529425, 19139.8585, 0.000180806},
     {0.0933129, 0.000092064, -0.000000077},
     {1.5236915, 0.0, 0.0},
     {285.4317611, 1.069766667, 0.00013125},
     {48.78644167, 0.770991667, -0.000001389},
     {1.850333333, -0.000675, 0.000012611}},
    // Jupiter, from 1700
    {{225.49281253, 3033.687936, 0.0},
     {0.04838144, -0.0000155, 0.0},
     {5.20290493, 0.0, 0.0},
     {273.3930152, 1.33834464, 0.0},
     {99.41984827, 1.05829152, 0.0},
     {1.3096585, -0.00515613, 0.0}},
    // Saturn, from 1700
    {{174.215296, 1223.507963, 0.0},
     {0.05422831, -0.00020495, 0.0},
     {9.55251745, 0.0, 0.0},
     {338.911673, -0.31667941, 0.0},
     {112.8261394, 0.82587569, 0.0},
     {2.49080547, -0.00466035, 0.0}},
    // Uranus, from 1700
    {{74.17574887, 427.2742717, 0.0},
     {0.04681664, 0.00041875, 0.0},
     {19.22150505, 0.0, 0.0},
     {95.68630387, 2.05082548, 0.0},
     {73.52220082, 0.52415598, 0.0},
     {0.77256652, 0.00012824, 0.0}},
    // Neptune, from 1700
    {{30.1329437, 240.4551595, 0.0},
     {0.00912805, -0.00127185, 0.0},
     {30.1137593, 0.0, 0.0},
     {284.168255, -21.6328615, 0.0},
     {130.6841531, 1.10046492, 0.0},
     {1.77939281, -0.00975088, 0.0}},
    // Pluto, from 1700
    {{229.7810007, 145.1781092, 0.0},
     {0.24797376, 0.00289875, 0.0},
     {39.53903455, 0.0, 0.0},
     {113.5365761, 0.20863761, 0.0},
     {108.94405, 1.37395444, 0.0},
     {17.15140319, -0.01611824, 0.0}},
    // Jupiter, before 1700
    {{225.32833, 3034.69202, -0.00072},
     {0.04833, 0.00016, 0.0},
     {5.202561, 0.0, 0.0},
     {273.27754, 0.59943, 0.0007},
     {99.44338, 1.01053, 0.00035},
     {1.30874, -0.005696, 0.0}},
    // Saturn, before 1700
    {{175.46622, 1221.55147, -0.0005},
     {0.05589, -0.00035, 0.0},
     {9.55475, 0.0, 0.0},
     {338.30777, 1.08522, 0.00098},
     {112.79039, 0.873195, -0.00015},
     {2.49252, -0.00392, -0.00002}},
    // Uranus, before 1700
    {{72.64882, 428.37911, 0.00008},
     {0.046344, -0.00003, 0.0},
     {19.21814, 0.0, 0.0},
     {98.07155, 0.98577, -0.00107},
     {73.4771, 0.49867, 0.00131},
     {0.77246, 0.00063, 0.00004}},
    // Neptune, before 1700
    {{37.73067, 218.46134, -0.00007},
     {0.008997, 0.0, 0.0},
     {30.10957, 0.0, 0.0},
     {276.04597, 0.32564, 0.00014},
     {130.68136, 1.09894, 0.000249},
     {1.77924, -0.00954, 0.0}},
    // Pluto, before 1700
    {{229.94722, 144.91306, 0.0},
     {0.24864, 0.0, 0.0},
     {39.51774, 0.0, 0.0},
     {113.52136, 0.0, 0.0},
     {108.95444, 1.39601, 0.00031},
     {17.14678, 0.0, 0.0}},
    // Ceres
    {{108.2925, 7820.36556, 0.0},
     {0.0794314, 0.0, 0.0},
     {2.7672273, 0.0, 0.0},
     {71.0794444, 0.0, 0.0},
     {80.23555556, 1.3960111, 0.0},
     {10.59694444, 0.0, 0.0}},
    // Pallas
    {{106.6641667, 7806.531667, 0.0},
     {0.2347096, 0.0, 0.0},
     {2.7704955, 0.0, 0.0},
     {310.166111, 0.0, 0.0},
     {172.497222, 1.39601111, 0.0},
     {34.81416667, 0.0, 0.0}},
    // Juno
    {{267.685, 8256.081111, 0.0},
     {0.2562318, 0.0, 0.0},
     {2.6689897, 0.0, 0.0},
     {245.3752778, 0.0, 0.0},
     {170.137777, 1.396011111, 0.0003083333},
     {13.01694444, 0.0, 0.0}},
    // Vesta
    {{138.7733333, 9924.931111, 0.0},
     {0.0902807, 0.0, 0.0},
     {2.360723, 0.0, 0.0},
     {149.6386111, 0.0, 0.0},
     {103.2197222, 1.396011111, 0.000308333},
     {7.139444444, 0.0, 0.0}},
    // Chiron
    {{34.6127752, 713.5756219, 0.0},
     {0.382270369, -0.004694073, 0.0},
     {13.66975144, 0.0, 0.0},
     {337.407213, 2.163306646, 0.0},
     {208.1482658, 1.247724355, 0.0},
     {6.911179715, 0.011236955, 0.0}},
}};

// The theory switches Jupiter to Pluto to older elements at noon of 29 December 1699.
inline constexpr double kOlderElementsBefore = -2.0;

// a^1.5 of each set, for the Kepler solution. Taken from the library at run time, as the
// solution always did: the compiler's folding of a constant power rounds differently.
std::array<double, 18> axisPowers() {
    std::array<double, 18> p{};
    for (size_t k = 0; k < p.size(); ++k) {
        volatile double a = kElements[k].a.c0;
        p[k] = std::pow(a, 1.5);
    }
    return p;
}
const std::array<double, 18> kAxisPower = axisPowers();

const Elements& elementsFor(int b, double T) {
    if (b >= body::Mercury && b <= body::Mars) return kElements[b - body::Mercury];
    if (b >= body::Jupiter && b <= body::Pluto)
        return T >= kOlderElementsBefore ? kElements[b - body::Mercury] : kElements[b - body::Jupiter + 8];
    return kElements[b - kFirstAsteroid + 13];
}

// amplitude x cos((rate T + phase) degrees), AU
struct Term {
    double amplitude, rate, phase;
};

struct Component {
    Poly poly;
    std::vector<Term> terms;
    double at(double T, double T2) const {
        double v = poly.at(T, T2);
        for (const Term& t : terms) v += t.amplitude * trig::cosRad((t.rate * T + t.phase) * kDegToRad);
        return v;
    }
    // at(T, T2), and at a later T from the same cosines: each argument turns by
    // rate dT degrees, a few milli-arc-seconds, whose sine and cosine two terms give.
    void atBoth(double T, double T2, double laterT, double laterT2, double& now, double& later) const {
        const double dT = laterT - T;
        now = poly.at(T, T2);
        later = poly.at(laterT, laterT2);
        for (const Term& t : terms) {
            double s, c;
            trig::sinCosRad((t.rate * T + t.phase) * kDegToRad, s, c);
            now += t.amplitude * c;
            const double delta = t.rate * dT * kDegToRad;
            const double z = delta * delta;
            const double sinDelta = delta - delta * z / 6.0, cosDelta = 1.0 - z / 2.0;
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
    {{{0.002, -0.0134, 0.0127},
      {{-0.0023, 676.2, 0.9},
       {0.00045, 2361.4, 174.9},
       {0.0015, 1427.5, -188.8},
       {0.0006, 2110.1, 153.6},
       {0.0014, 3606.8, -57.7},
       {-0.0017, 2540.2, 121.7},
       {-0.00099, 6704.8, -22.3},
       {-0.0006, 5480.2, 24.5},
       {0.00096, 1651.3, -118.3},
       {0.0006, 6310.8, -4.8},
       {0.0007, 4826.6, 36.2}}},
     {{-0.001, -0.0005, 0.0045},
      {{0.0051, 581.7, -9.7},
       {-0.0005, 2510.7, -12.5},
       {-0.0026, 1313.7, -61.4},
       {0.0013, 2370.79, -24.6},
       {-0.0013, 3599.3, 37.7},
       {-0.001, 2574.7, 31.4},
       {-0.00096, 6708.2, -114.5},
       {-0.0006, 5499.4, -74.97},
       {-0.0013, 1419.0, 54.2},
       {0.0006, 6339.3, -109.0},
       {0.0007, 4824.5, -50.9}}},
     {{0.0, 0.0, 0.0}, {}}},
    // Saturn
    {{{-0.0014, 0.0026, 0.0},
      {{0.0111, 1242.2, 78.3},
       {-0.0045, 3034.96, 62.8},
       {-0.0066, 1829.2, -51.5},
       {-0.0078, 640.6, 24.2},
       {-0.0016, 2363.4, -141.4}}},
     {{-0.0009, 0.0037, 0.0},
      {{0.0134, 1238.9, -16.4},
       {-0.00426, 3040.9, -25.2},
       {0.0064, 1835.3, 36.1},
       {-0.0153, 610.8, -44.2},
       {-0.0015, 2480.5, -69.4}}},
     {{0.0006, -0.0002, 0.0},
      {{-0.0005, 1251.1, 43.7}, {0.0005, 622.8, 13.7}, {0.0003, 1824.7, -71.1}, {0.0001, 2997.1, 78.2}}}},
    // Uranus
    {{{0.0134, -0.02186, 0.0},
      {{0.0317, 404.3, 81.9}, {-0.00495, 3037.9, 57.3}, {0.004, 993.5, -54.4}, {-0.0018, 1249.4, 79.2}}},
     {{-0.0021, -0.0159, 0.0},
      {{0.0299, 422.3, -17.7}, {-0.0049, 3035.1, -31.3}, {-0.0038, 945.3, 60.1}, {-0.0023, 1227.0, -4.99}}},
     {{-0.0003, 0.0005, 0.0}, {{0.0005, 352.5, -54.99}, {0.0001, 3027.5, 54.2}, {-0.0001, 1150.3, -88.0}}}},
    // Neptune
    {{{-0.1122, 0.166, -0.0544},
      {{-0.00496, 3035.3, 58.7}, {0.0961, 177.1, -68.8}, {-0.0073, 630.9, 51.0}, {-0.0025, 1236.6, 78.0}}},
     {{0.1832, -0.6718, 0.2726},
      {{-0.1923, 175.7, 31.8}, {0.0122, 542.1, 189.6}, {0.0027, 1219.4, 178.1}, {-0.00496, 3035.6, -31.3}}},
     {{0.00196, -0.0119, 0.0111}, {{0.0001, 3049.3, 44.2}, {-0.0002, 893.9, 48.5}, {0.00007, 1416.5, -25.2}}}},
    // Pluto
    {{{-0.0603, 0.5002, -0.6126},
      {{0.049, 273.97, 89.97}, {-0.0049, 3030.6, 61.3}, {0.0027, 1075.3, -28.1}, {-0.0007, 1402.3, 20.3}}},
     {{-0.0426, 0.073, -0.029},
      {{0.0371, 372.0, -331.3}, {-0.0049, 3049.6, -39.2}, {-0.0108, 566.2, 318.3}, {0.0003, 1746.5, -238.3}}},
     {{0.0145, -0.0928, 0.1195}, {{0.0117, 302.6, -77.3}, {0.00198, 528.1, 48.6}, {-0.0002, 1000.4, -46.1}}}},
}};

// Degrees from the Sun beyond which the engine deflects nothing (deflectionWeight).
inline constexpr double kDeflectedWithin = 15.0;

// Degrees per arc-second, for the supplement's corrections.
inline constexpr double kPerArcsecond = 1.0 / 3600.0;

// A longitude in [0, 360) moved by less than a turn, back into [0, 360): what
// normalizeDegrees gives for such a value, without its division.
double wrapDegrees(double x) {
    if (x >= 360.0) return x - 360.0;
    if (x < 0) return x + 360.0;
    return x;
}

// The five-day file covers the planets from year 1 to the end of 1899.
inline constexpr double kFiveDayFirstJd = 1721423.5;
inline constexpr double kFiveDayEndJd = 2415020.5;

// Signed angle of z over the distance rho in the ecliptic plane, degrees. The polar angle
// lies in [0, 2 pi); the threshold and the floor fold it back exactly as the theory was
// tuned, which equals the plain signed angle for every latitude a body reaches.
double signedLatitude(double rho, double z, double thresholdRadians, double floorDegrees) {
    double angle = polarAngle(rho, z);
    if (angle > thresholdRadians) angle -= 2.0 * kPi;
    double degrees = angle * kRadToDeg;
    if (degrees < floorDegrees) degrees += 360.0;
    return degrees;
}

}  // namespace

void outerCorrections(const EngineContext& now, const EngineContext& later, OuterCorrections& atNow,
                      OuterCorrections& atLater) {
    auto inRange = [](double T) { return T >= 0 && T <= 2; };
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
        double M = 0, e = 0, a = 0, w = 0, N = 0, i = 0, aPower = 0, E = 0;
        Kepler k;
        Vec3 p, hv;
        double longitude = 0, latitude = 0;
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

    const double T = ctx.T, T2 = ctx.T2;
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
        o.aPower = o.a == el.a.c0 ? kAxisPower[&el - kElements.data()] : std::pow(o.a, 1.5);
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
                const double(&d)[3] = ctx.outer->d[o.b - body::Jupiter];
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
        const double gvx = o.hv.x + ctx.sunVX;
        const double gvy = o.hv.y + ctx.sunVY;
        const double threshold = o.b == body::Pallas ? 0.607621835 : 0.35;
        if (all) {
            chart.HelioLongitude[o.b] = trig::normalizeDegrees(polarAngle(p.x, p.y) * kRadToDeg + ctx.dpsi);
            chart.HelioLatitude[o.b] = signedLatitude(std::sqrt(p.x * p.x + p.y * p.y), p.z, threshold, -300.0);
        }

        const double gx = p.x - ctx.XE, gy = p.y - ctx.YE, gz = p.z - ctx.ZE;
        const double rate = (gx * gvy - gy * gvx) / (gx * gx + gy * gy);
        const double light = std::sqrt(gx * gx + gy * gy + gz * gz) * kLightTime * rate * kRadToDeg;
        if (ctx.rates) ctx.rates->perDay[o.b] = rate * kRadToDeg;

        o.longitude = trig::normalizeDegrees(polarAngle(gx, gy) * kRadToDeg + ctx.dpsi - light);
        if (all) o.latitude = signedLatitude(std::sqrt(gx * gx + gy * gy), gz, threshold, -250.0);
    }

    supplement::SunDirection sun;
    if (ctx.supplement)
        sun =
            supplement::SunDirection::at(chart.BodyLongitude[body::Sun], std::sqrt(ctx.XE * ctx.XE + ctx.YE * ctx.YE));
    for (int n = 0; n < count; ++n) {
        Work& o = work[n];
        const bool fiveDay = o.planet && ctx.jd >= kFiveDayFirstJd && ctx.jd < kFiveDayEndJd;
        if (ctx.rates) {
            const long double later = ctx.rates->laterJd;
            const double laterT = static_cast<double>(later - 2415020.0L) / 36525.0;
            auto perturbed = [](double t) { return t >= 0 && t <= 2; };
            if (fiveDay != (o.planet && later >= kFiveDayFirstJd && later < kFiveDayEndJd) ||
                &elementsFor(o.b, laterT) != o.el || perturbed(T) != perturbed(laterT))
                ctx.rates->straddles = true;
            else if (fiveDay && ctx.files)
                ctx.rates->fileMove[o.b] =
                    (ctx.files->planet(later, o.b - 2) - ctx.files->planet(ctx.jd, o.b - 2)) / 60.0;
        }
        if (fiveDay) {
            if (!ctx.files) throw std::logic_error("planetStep: correction files needed before 1900");
            o.longitude = trig::normalizeDegrees(o.longitude + ctx.files->planet(ctx.jd, o.b - 2) / 60.0);
            if (!ctx.speedPass && all) o.latitude += ctx.files->planet(ctx.jd, o.b + 7) / 60.0;
        }
        double dLongitude;
        const bool supplemented =
            ctx.supplement && ctx.supplement->lookup(o.b, supplement::Longitude, ctx.jd, dLongitude);
        if (ctx.rates && ctx.supplement) {
            double later;
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
            double separation = std::fabs(o.longitude - chart.BodyLongitude[body::Sun]);
            if (separation > 180.0) separation = 360.0 - separation;
            // The deflection's change has no rate here: near the Sun the second evaluation decides.
            if (ctx.rates && separation < kDeflectedWithin + 1.0) ctx.rates->undecided[o.b] = true;
            const double gx = o.p.x - ctx.XE, gy = o.p.y - ctx.YE, gz = o.p.z - ctx.ZE;
            double weight = 0;
            double distance = 0;
            if (separation < kDeflectedWithin) {
                distance = std::sqrt(gx * gx + gy * gy + gz * gz);
                const double cosLatitude = std::sqrt(gx * gx + gy * gy) / distance;
                weight = supplement::deflectionWeight(static_cast<double>(cosLatitude * trig::cosDeg(separation)));
            }
            if (weight > 0 || stored) {
                double latitude = o.latitude, dLatitude;
                if (!all)
                    latitude = signedLatitude(std::sqrt(gx * gx + gy * gy), gz,
                                              o.b == body::Pallas ? 0.607621835 : 0.35, -250.0);
                if (fiveDay && !stored) latitude += ctx.files->planet(ctx.jd, o.b + 7) / 60.0;
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
