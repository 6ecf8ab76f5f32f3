#include "engine/Orbit.h"

#include "engine/Trig.h"

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
    return solveKepler(M, e, a, std::pow(a, 1.5L));
}

Kepler solveKepler(long double M, long double e, long double a, long double aThreeHalves) {
    Kepler k;
    long double E = M;
    for (int n = 0; n < 3; ++n) E = M + e * trig::sinRad(E);
    k.E = E;
    long double sinE, cosE;
    trig::sinCosRad(E, sinE, cosE);
    const long double root = std::sqrt(1.0L - e * e);
    k.Edot = kGauss / ((1.0L - e * cosE) * aThreeHalves);
    k.vx = -a * k.Edot * sinE;
    k.vy = a * k.Edot * root * cosE;
    k.px = a * (cosE - e);
    k.py = a * root * sinE;
    return k;
}

Vec3 rotateToEcliptic(long double x, long double y, long double w, long double i, long double N) {
    const Polar inPlane = polar(x, y);
    const long double theta = nonZero(inPlane.theta + w);
    long double sinTheta, cosTheta;
    trig::sinCosRad(theta, sinTheta, cosTheta);
    const long double x1 = inPlane.r * cosTheta;
    const long double y1 = inPlane.r * sinTheta;

    const Polar tilt = polar(y1, 0);
    const long double inclined = nonZero(tilt.theta + i);
    Vec3 v;
    long double sinInclined, cosInclined;
    trig::sinCosRad(inclined, sinInclined, cosInclined);
    v.z = tilt.r * sinInclined;
    const long double y2 = tilt.r * cosInclined;

    const Polar onEcliptic = polar(x1, y2);
    long double node = onEcliptic.theta + N;
    if (node < 0) node += 2.0L * kPi;
    node = nonZero(node);
    long double sinNode, cosNode;
    trig::sinCosRad(node, sinNode, cosNode);
    v.x = onEcliptic.r * cosNode;
    v.y = onEcliptic.r * sinNode;
    return v;
}

}  // namespace athanor::orbit
