#include "engine/EngineContext.h"

#include "engine/Orbit.h"
#include "engine/Time.h"

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

    c.Om = normalize360(259.1833L - 0.05295392L * d + (0.002078L + 0.000002L * T) * T2);
    c.Ls = normalize360(279.69668L + 36000.7689L * T + 0.0003025L * T2);
    c.D = normalize360(350.737486L + 445267.114L * T - 0.001436L * T2);
    c.Gp = normalize360(334.32956L + 0.11140408L * d + (0.010325L - 0.000012L * T) * T2);
    c.Ms = normalize360(358.47584L + 35999.04975L * T - 0.00015L * T2);
    c.Lm = normalize360(270.434164L + 13.1763965L * d + (0.0000019L * T - 0.001133L) * T2);
    c.Mm = normalize360(296.1046083L + 477198.849L * T + 0.009191671L * T2);

    c.dpsi = (-(17.2327L + 0.01737L * T) * std::sin(c.Om * kDegToRad) - 1.273L * std::sin(2.0L * c.Ls * kDegToRad)) /
             3600.0L;

    c.eps = obliquityDegrees(T);
    c.cosEps = std::cos(c.eps * kDegToRad);
    c.sinEps = std::sin(c.eps * kDegToRad);
    return c;
}

void equatorialFrom(long double longitude, long double latitude, long double epsDegrees,
                    long double& rightAscension, long double& declination) {
    const long double lam = longitude * kDegToRad;
    const long double beta = latitude * kDegToRad;
    const long double eps = epsDegrees * kDegToRad;
    const long double cosEps = std::cos(eps), sinEps = std::sin(eps);

    const long double y = std::sin(lam) * cosEps - std::tan(beta) * sinEps;
    const long double x = std::cos(lam);
    long double alpha = std::atan(y / x) * kRadToDeg;
    if (x > 0 && y <= 0) alpha += 360.0L;
    if (x <= 0) alpha += 180.0L;
    rightAscension = alpha;

    const long double w = std::sin(beta) * cosEps + std::cos(beta) * sinEps * std::sin(lam);
    declination = std::atan(w / std::sqrt(1.0L - w * w)) * kRadToDeg;
}

void equatorialCoordinates(ChartState& chart, const EngineContext& ctx, int b) {
    equatorialFrom(std::fabs(chart.BodyLongitude[b]), chart.BodyLatitude[b], ctx.eps,
                   chart.BodyRightAscension[b], chart.BodyDeclination[b]);
}

}  // namespace athanor
