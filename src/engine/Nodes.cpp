#include "engine/Orbit.h"
#include "engine/Positions.h"
#include "engine/Trig.h"

#include <cmath>
#include <stdexcept>

namespace athanor {

using trig::sinDeg;

namespace {

const CorrectionFiles& filesOf(const EngineContext& ctx) {
    if (ctx.files == nullptr) throw std::invalid_argument("engine step without correction files");
    return *ctx.files;
}

// A fixed longitude of the Sun's perigee used by the true node's terms.
constexpr long double kSunPerigee = 282.596403L;

// Ranges of the node corrections (five-day file) and of the corrected apogee (daily file).
constexpr long double kNodeFileFirst = 1721433.5L;
constexpr long double kNodeFileLast = 2499373.5L;
constexpr long double kApogeeFileFirst = 2396758.5L;
constexpr long double kApogeeFileLast = 2488433.5L;

constexpr int kNodeField = 9;

}  // namespace

void nodeStep(ChartState& chart, EngineContext& ctx) {
    const long double T = ctx.T, T2 = ctx.T2, d = ctx.d;
    const long double Om = normalize360(259.183275L - 1934.142L * T + 0.002078L * T2 + 0.0000022L * T2 * T);
    chart.BodyLongitude[body::Node] = Om;
    chart.BodyLatitude[body::Node] = 0.0L;

    if (chart.NodeKind == "VERO") {
        // Alone, the node needs the Sun and the Moon of this instant; with all bodies they
        // have just been computed.
        if (ctx.selection == body::Node) {
            sunStep(chart, ctx);
            moonStep(chart, ctx);
        }
        const long double S = chart.BodyLongitude[body::Sun];
        const long double L = chart.BodyLongitude[body::Moon];
        const long double P = kSunPerigee;
        const long double Gp = normalize360(334.32956L + 0.11140408L * d + (0.010325L - 0.000012L * T) * T2);
        const long double sum =
            1.517L * sinDeg(2 * (S - Om)) - 0.163L * sinDeg(S - P) - 0.128L * sinDeg(2 * (L - S)) +
            0.12L * sinDeg(2 * (L - Om)) + 0.107L * sinDeg(2 * (Gp - Om)) + 0.063L * sinDeg(3 * S - P - 2 * Om) +
            0.04L * sinDeg(L + Gp - 2 * S) - 0.04L * sinDeg(L + Gp - 2 * Om) + 0.027L * sinDeg(L - Gp) -
            0.027L * sinDeg(S + P - 2 * Om) + 0.015L * sinDeg(2 * (S - Gp)) - 0.013L * sinDeg(2 * Om + L - Gp - 2 * S) -
            0.013L * sinDeg(L - 2 * Om - Gp + 2 * S) - 0.007L * sinDeg(2 * L + P - 3 * S) +
            0.005L * sinDeg(3 * L - Gp - 2 * Om) - 0.005L * sinDeg(3 * L - Gp - 2 * S);
        long double node = normalize360(Om + sum);
        if (kNodeFileFirst < ctx.jd && ctx.jd < kNodeFileLast)
            node = normalize360(node + filesOf(ctx).planet(ctx.jd, kNodeField) / 60.0L);
        chart.BodyLongitude[body::Node] = node;
    }

    equatorialCoordinates(chart, ctx, body::Node);
}

void blackMoonStep(ChartState& chart, EngineContext& ctx) {
    const long double x = ctx.Gp + 180.0L;
    chart.BodyLongitude[body::BlackMoon] = x - 360.0L * Int(x / 360.0L);
    if (chart.BlackMoonKind == "VERA" && kApogeeFileFirst <= ctx.jd && ctx.jd < kApogeeFileLast)
        chart.BodyLongitude[body::BlackMoon] =
            normalize360(chart.BodyLongitude[body::BlackMoon] + filesOf(ctx).blackMoon(ctx.jd) / 3600.0L);
    chart.BodyLatitude[body::BlackMoon] = 0.0L;
    equatorialCoordinates(chart, ctx, body::BlackMoon);
}

}  // namespace athanor
