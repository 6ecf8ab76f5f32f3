#include "engine/EngineContext.h"

#include "engine/Orbit.h"
#include "engine/Time.h"
#include "engine/Trig.h"

#include <cmath>

namespace athanor {

using orbit::kDegToRad;
using orbit::kRadToDeg;

EngineContext makeEngineContext(long double jd) {
    EngineContext c;
    c.jd = jd;
    // The fundamental arguments grow to millions of degrees over the centuries: they are
    // taken in long double, once per instant, so that double keeps their fraction of a turn.
    const long double d = jd - 2415020.0L, T = d / 36525.0L, T2 = T * T;
    c.d = static_cast<double>(d);
    c.T = static_cast<double>(T);
    c.T2 = static_cast<double>(T2);
    auto turn = [](long double degrees) { return static_cast<double>(trig::normalizeDegrees(degrees)); };
    c.Om = turn(259.1833L - 0.05295392L * d + (0.002078L + 0.000002L * T) * T2);
    c.Ls = turn(279.69668L + 36000.7689L * T + 0.0003025L * T2);
    c.D = turn(350.737486L + 445267.114L * T - 0.001436L * T2);
    c.Gp = turn(334.32956L + 0.11140408L * d + (0.010325L - 0.000012L * T) * T2);
    c.Ms = turn(358.47584L + 35999.04975L * T - 0.00015L * T2);
    c.Lm = turn(270.434164L + 13.1763965L * d + (0.0000019L * T - 0.001133L) * T2);
    c.Mm = turn(296.1046083L + 477198.849L * T + 0.009191671L * T2);

    c.dpsi = (-(17.2327 + 0.01737 * c.T) * trig::sinDeg(c.Om) - 1.273 * trig::sinDeg(2.0 * c.Ls)) / 3600.0;

    c.eps = static_cast<double>(obliquityDegrees(T));
    c.cosEps = trig::cosDeg(c.eps);
    c.sinEps = trig::sinDeg(c.eps);
    return c;
}

namespace {

void equatorial(double longitude, double latitude, double cosEps, double sinEps, double& rightAscension,
                double& declination) {
    const double beta = latitude * kDegToRad;
    double sinLam, cosLam, sinBeta, cosBeta, tanBeta;
    trig::sinCosDeg(longitude, sinLam, cosLam);
    trig::sinCosTanRad(beta, sinBeta, cosBeta, tanBeta);

    const double y = sinLam * cosEps - tanBeta * sinEps;
    const double x = cosLam;
    double alpha;
    if (x == 0) {
        // 90 or 270 degrees exactly. The radian cosine is never zero there; whichever its
        // sign, the branches below give 90 for y > 0 and 270 for y < 0.
        alpha = y >= 0 ? 90.0 : 270.0;
    } else {
        alpha = trig::arcTan(y / x) * kRadToDeg;
        if (x > 0 && y <= 0) alpha += 360.0;
        if (x <= 0) alpha += 180.0;
    }
    rightAscension = alpha;

    const double w = sinBeta * cosEps + cosBeta * sinEps * sinLam;
    declination = trig::arcTan(w / std::sqrt(1.0 - w * w)) * kRadToDeg;
}

}  // namespace

void equatorialFrom(long double longitude, long double latitude, long double epsDegrees, long double& rightAscension,
                    long double& declination) {
    const double eps = static_cast<double>(epsDegrees);
    double ra, dec;
    equatorial(static_cast<double>(longitude), static_cast<double>(latitude), trig::cosDeg(eps), trig::sinDeg(eps), ra,
               dec);
    rightAscension = ra;
    declination = dec;
}

void equatorialCoordinates(ChartState& chart, const EngineContext& ctx, int b) {
    double ra, dec;
    equatorial(static_cast<double>(std::fabs(chart.BodyLongitude[b])), static_cast<double>(chart.BodyLatitude[b]),
               ctx.cosEps, ctx.sinEps, ra, dec);
    chart.BodyRightAscension[b] = ra;
    chart.BodyDeclination[b] = dec;
}

}  // namespace athanor
