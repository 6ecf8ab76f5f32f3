#include "engine/Orbit.h"
#include "engine/Positions.h"
#include "engine/PrecisionSupplement.h"
#include "engine/Trig.h"

#include <cmath>
#include <stdexcept>

namespace athanor {

namespace {

const CorrectionFiles& filesOf(const EngineContext& ctx) {
    if (ctx.files == nullptr) throw std::invalid_argument("engine step without correction files");
    return *ctx.files;
}

// A fixed longitude of the Sun's perigee used by the true node's terms.
constexpr double kSunPerigee = 282.596403;

// Ranges of the node corrections (five-day file) and of the corrected apogee (daily file).
constexpr double kNodeFileFirst = 1721433.5;
constexpr double kNodeFileLast = 2499373.5;
constexpr double kApogeeFileFirst = 2396758.5;
constexpr double kApogeeFileLast = 2488433.5;

constexpr int kNodeField = 9;

// The true node's terms: coefficient (degrees) x sin(s S + l L + o Om + g Gp + p P).
struct NodeTerm {
    double coef;
    int s, l, o, g, p;
};

constexpr NodeTerm kNodeTerms[] = {
    {1.517, 2, 0, -2, 0, 0},   {-0.163, 1, 0, 0, 0, -1}, {-0.128, -2, 2, 0, 0, 0}, {0.12, 0, 2, -2, 0, 0},
    {0.107, 0, 0, -2, 2, 0},   {0.063, 3, 0, -2, 0, -1}, {0.04, -2, 1, 0, 1, 0},   {-0.04, 0, 1, -2, 1, 0},
    {0.027, 0, 1, 0, -1, 0},   {-0.027, 1, 0, -2, 0, 1}, {0.015, 2, 0, 0, -2, 0},  {-0.013, -2, 1, 2, -1, 0},
    {-0.013, 2, 1, -2, -1, 0}, {-0.007, -3, 2, 0, 0, 1}, {0.005, 0, 3, -2, -1, 0}, {-0.005, -2, 3, 0, -1, 0},
};

}  // namespace

double meanNodeLongitude(const EngineContext& ctx) {
    const double T = ctx.T, T2 = ctx.T2;
    return trig::normalizeDegrees(259.183275 - 1934.142 * T + 0.002078 * T2 + 0.0000022 * T2 * T);
}

double blackMoonLongitude(const ChartState& chart, const EngineContext& ctx) {
    const double x = ctx.Gp + 180.0;
    double longitude = x - 360.0 * trig::truncate(x / 360.0);
    if (chart.BlackMoonKind == "VERA" && kApogeeFileFirst <= ctx.jd && ctx.jd < kApogeeFileLast)
        longitude = trig::normalizeDegrees(longitude + filesOf(ctx).blackMoon(ctx.jd) / 3600.0);
    return longitude;
}

void nodeStep(ChartState& chart, EngineContext& ctx) {
    const double T = ctx.T, T2 = ctx.T2, d = ctx.d;
    const double Om = meanNodeLongitude(ctx);
    chart.BodyLongitude[body::Node] = Om;
    chart.BodyLatitude[body::Node] = 0.0;

    if (chart.NodeKind == "VERO") {
        // Alone, the node needs the Sun and the Moon of this instant; with all bodies they
        // have just been computed.
        if (ctx.selection == body::Node) {
            sunStep(chart, ctx);
            moonStep(chart, ctx);
        }
        const double S = chart.BodyLongitude[body::Sun];
        const double L = chart.BodyLongitude[body::Moon];
        const double P = kSunPerigee;
        const double Gp = trig::normalizeDegrees(334.32956 + 0.11140408 * d + (0.010325 - 0.000012 * T) * T2);
        // The series from the multiples of the five angles.
        const trig::Multiples<3> mS(S), mL(L);
        const trig::Multiples<2> mOm(Om), mGp(Gp);
        static const trig::Multiples<1> mP(P);
        // For the rate: the Sun's and the Moon's speeds as their steps found them, the
        // node's and the perigee's mean motions.
        const double dS = ctx.rates ? ctx.rates->perDay[body::Sun] : 0;
        const double dL = ctx.rates ? ctx.rates->perDay[body::Moon] : 0;
        constexpr double dOm = -1934.142 / 36525.0, dGp = 0.11140408;
        double sum = 0, sumRate = 0;
        for (const NodeTerm& t : kNodeTerms) {
            // A zero multiple is the unit phasor, whose product changes nothing: skipped.
            trig::Phasor a = mS[t.s];
            if (t.l != 0) a = a * mL[t.l];
            if (t.o != 0) a = a * mOm[t.o];
            if (t.g != 0) a = a * mGp[t.g];
            if (t.p != 0) a = a * mP[t.p];
            sum += t.coef * a.s;
            if (ctx.rates) sumRate += t.coef * a.c * (t.s * dS + t.l * dL + t.o * dOm + t.g * dGp);
        }
        if (ctx.rates) ctx.rates->perDay[body::Node] = dOm + sumRate * orbit::kDegToRad;
        double node = trig::normalizeDegrees(Om + sum);
        auto filed = [](long double jd) { return kNodeFileFirst < jd && jd < kNodeFileLast; };
        if (ctx.rates) {
            const long double later = ctx.rates->laterJd;
            if (filed(ctx.jd) != filed(later)) ctx.rates->straddles = true;
            else if (filed(later))
                ctx.rates->fileMove[body::Node] =
                    (filesOf(ctx).planet(later, kNodeField) - filesOf(ctx).planet(ctx.jd, kNodeField)) / 60.0;
        }
        if (filed(ctx.jd)) node = trig::normalizeDegrees(node + filesOf(ctx).planet(ctx.jd, kNodeField) / 60.0);
        double d;
        const bool supplemented =
            ctx.supplement && ctx.supplement->lookup(body::Node, supplement::Longitude, ctx.jd, d);
        if (ctx.rates && ctx.supplement) {
            double later;
            if (ctx.supplement->lookup(body::Node, supplement::Longitude, ctx.rates->laterJd, later) != supplemented)
                ctx.rates->straddles = true;
            else if (supplemented) ctx.rates->fileMove[body::Node] += (later - d) / 3600.0;
        }
        if (supplemented) node = trig::normalizeDegrees(node + d / 3600.0);
        chart.BodyLongitude[body::Node] = node;
    }

    if (!ctx.longitudesOnly) equatorialCoordinates(chart, ctx, body::Node);
}

void blackMoonStep(ChartState& chart, EngineContext& ctx) {
    chart.BodyLongitude[body::BlackMoon] = blackMoonLongitude(chart, ctx);
    chart.BodyLatitude[body::BlackMoon] = 0.0;
    if (!ctx.longitudesOnly) equatorialCoordinates(chart, ctx, body::BlackMoon);
}

}  // namespace athanor
