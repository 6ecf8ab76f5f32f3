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
    c.d = jd - 2415020.0L;
    c.T = c.d / 36525.0L;
    c.T2 = c.T * c.T;
    const long double d = c.d, T = c.T, T2 = c.T2;

    c.Om = trig::normalizeDegrees(259.1833L - 0.05295392L * d + (0.002078L + 0.000002L * T) * T2);
    c.Ls = trig::normalizeDegrees(279.69668L + 36000.7689L * T + 0.0003025L * T2);
    c.D = trig::normalizeDegrees(350.737486L + 445267.114L * T - 0.001436L * T2);
    c.Gp = trig::normalizeDegrees(334.32956L + 0.11140408L * d + (0.010325L - 0.000012L * T) * T2);
    c.Ms = trig::normalizeDegrees(358.47584L + 35999.04975L * T - 0.00015L * T2);
    c.Lm = trig::normalizeDegrees(270.434164L + 13.1763965L * d + (0.0000019L * T - 0.001133L) * T2);
    c.Mm = trig::normalizeDegrees(296.1046083L + 477198.849L * T + 0.009191671L * T2);

    c.dpsi = (-(17.2327L + 0.01737L * T) * trig::sinDeg(c.Om) - 1.273L * trig::sinDeg(2.0L * c.Ls)) / 3600.0L;

    c.eps = obliquityDegrees(T);
    c.cosEps = trig::cosDeg(c.eps);
    c.sinEps = trig::sinDeg(c.eps);
    return c;
}

namespace {

void equatorial(long double longitude, long double latitude, long double cosEps, long double sinEps,
                long double& rightAscension, long double& declination) {
    const long double beta = latitude * kDegToRad;
    long double sinLam, cosLam, sinBeta, cosBeta, tanBeta;
    trig::sinCosDeg(longitude, sinLam, cosLam);
    trig::sinCosTanRad(beta, sinBeta, cosBeta, tanBeta);

    const long double y = sinLam * cosEps - tanBeta * sinEps;
    const long double x = cosLam;
    long double alpha;
    if (x == 0) {
        // 90 or 270 degrees exactly. The radian cosine is never zero there; whichever its
        // sign, the branches below give 90 for y > 0 and 270 for y < 0.
        alpha = y >= 0 ? 90.0L : 270.0L;
    } else {
        alpha = trig::arcTan(y / x) * kRadToDeg;
        if (x > 0 && y <= 0) alpha += 360.0L;
        if (x <= 0) alpha += 180.0L;
    }
    rightAscension = alpha;

    const long double w = sinBeta * cosEps + cosBeta * sinEps * sinLam;
    declination = trig::arcTan(w / std::sqrt(1.0L - w * w)) * kRadToDeg;
}

}  // namespace

void equatorialFrom(long double longitude, long double latitude, long double epsDegrees, long double& rightAscension,
                    long double& declination) {
    equatorial(longitude, latitude, trig::cosDeg(epsDegrees), trig::sinDeg(epsDegrees), rightAscension, declination);
}

void equatorialCoordinates(ChartState& chart, const EngineContext& ctx, int b) {
    equatorial(std::fabs(chart.BodyLongitude[b]), chart.BodyLatitude[b], ctx.cosEps, ctx.sinEps,
               chart.BodyRightAscension[b], chart.BodyDeclination[b]);
}

}  // namespace athanor
