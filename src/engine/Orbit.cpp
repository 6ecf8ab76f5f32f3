#include "engine/Orbit.h"

#include <cmath>

namespace athanor::orbit {

namespace {

// An angle of exactly zero is nudged before its cosine and sine are taken.
long double nonZero(long double angle) { return angle == 0 ? kTiny : angle; }

}  // namespace

Polar polar(long double x, long double y) {
    if (y == 0) y = kTiny;
    Polar p;
    p.r = std::sqrt(x * x + y * y);
    long double theta = std::atan(y / x);
    if (theta < 0) theta += kPi;
    if (y < 0) theta += kPi;
    p.theta = theta;
    return p;
}

Kepler solveKepler(long double M, long double e, long double a) {
    Kepler k;
    long double E = M;
    for (int n = 0; n < 3; ++n) E = M + e * std::sin(E);
    k.E = E;
    const long double sinE = std::sin(E), cosE = std::cos(E);
    const long double root = std::sqrt(1.0L - e * e);
    k.Edot = kGauss / ((1.0L - e * cosE) * std::pow(a, 1.5L));
    k.vx = -a * k.Edot * sinE;
    k.vy = a * k.Edot * root * cosE;
    k.px = a * (cosE - e);
    k.py = a * root * sinE;
    return k;
}

Vec3 rotateToEcliptic(long double x, long double y, long double w, long double i, long double N) {
    const Polar inPlane = polar(x, y);
    const long double theta = nonZero(inPlane.theta + w);
    const long double x1 = inPlane.r * std::cos(theta);
    const long double y1 = inPlane.r * std::sin(theta);

    const Polar tilt = polar(y1, 0);
    const long double inclined = nonZero(tilt.theta + i);
    Vec3 v;
    v.z = tilt.r * std::sin(inclined);
    const long double y2 = tilt.r * std::cos(inclined);

    const Polar onEcliptic = polar(x1, y2);
    long double node = onEcliptic.theta + N;
    if (node < 0) node += 2.0L * kPi;
    node = nonZero(node);
    v.x = onEcliptic.r * std::cos(node);
    v.y = onEcliptic.r * std::sin(node);
    return v;
}

}  // namespace athanor::orbit
