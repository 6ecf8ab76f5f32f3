#include "engine/Orbit.h"

#include "engine/Trig.h"

#include <cmath>

namespace athanor::orbit {

namespace {

// An angle of exactly zero is nudged before its cosine and sine are taken.
double nonZero(double angle) { return angle == 0 ? kTiny : angle; }

}  // namespace

Polar polar(double x, double y) {
    if (y == 0) y = kTiny;
    Polar p;
    p.r = std::sqrt(x * x + y * y);
    p.theta = polarAngle(x, y);
    return p;
}

Kepler solveKepler(double M, double e, double a) { return solveKepler(M, e, a, std::pow(a, 1.5)); }

Kepler solveKepler(double M, double e, double a, double aThreeHalves) {
    double E = M;
    for (int n = 0; n < 3; ++n) E = keplerIteration(M, e, E);
    return keplerState(E, e, a, aThreeHalves);
}

Kepler keplerState(double E, double e, double a, double aThreeHalves) {
    Kepler k;
    k.E = E;
    double sinE, cosE;
    trig::sinCosRad(E, sinE, cosE);
    const double root = std::sqrt(1.0 - e * e);
    k.Edot = kGauss / ((1.0 - e * cosE) * aThreeHalves);
    k.vx = -a * k.Edot * sinE;
    k.vy = a * k.Edot * root * cosE;
    k.px = a * (cosE - e);
    k.py = a * root * sinE;
    return k;
}

namespace {

// The rotation as the theory states it: each step turns the vector's polar angle.
Vec3 rotateByPolarAngles(double x, double y, double w, double i, double N) {
    const Polar inPlane = polar(x, y);
    const double theta = nonZero(inPlane.theta + w);
    double sinTheta, cosTheta;
    trig::sinCosRad(theta, sinTheta, cosTheta);
    const double x1 = inPlane.r * cosTheta;
    const double y1 = inPlane.r * sinTheta;

    const Polar tilt = polar(y1, 0);
    const double inclined = nonZero(tilt.theta + i);
    Vec3 v;
    double sinInclined, cosInclined;
    trig::sinCosRad(inclined, sinInclined, cosInclined);
    v.z = tilt.r * sinInclined;
    const double y2 = tilt.r * cosInclined;

    const Polar onEcliptic = polar(x1, y2);
    double node = onEcliptic.theta + N;
    if (node < 0) node += 2.0 * kPi;
    node = nonZero(node);
    double sinNode, cosNode;
    trig::sinCosRad(node, sinNode, cosNode);
    v.x = onEcliptic.r * cosNode;
    v.y = onEcliptic.r * sinNode;
    return v;
}

}  // namespace

Vec3 rotateToEcliptic(double x, double y, double w, double i, double N) {
    return rotateToEcliptic(x, y, prepareRotation(w, i, N));
}

// Turning a polar angle by w is the plane rotation by cos w and sin w; the steps above are
// that rotation, with the tiny value standing in for a zero ordinate (which the direct
// form keeps) and for a zero angle. A polar angle lies in [0, 2 pi) and the tilt's in
// (0, pi), so with w > 0, i >= 0 and N >= 0 no angle is zero and no node wraps; other
// angles, and a zero ordinate arising after the tilt, take the stepwise way. The two agree
// to the last bits: the stepwise way takes three arctangents, three square roots and three
// sines and cosines per vector, this one a few products.
Rotation prepareRotation(double w, double i, double N) {
    Rotation r;
    r.w = w;
    r.i = i;
    r.N = N;
    r.direct = w > 0 && i >= 0 && N >= 0 && std::isfinite(w + i + N);
    if (r.direct) {
        // A zero angle (the Earth's orbit has no inclination or node) keeps sine 0 and
        // cosine 1, which its series gives exactly.
        trig::sinCosRad(w, r.sinW, r.cosW);
        if (i != 0) trig::sinCosRad(i, r.sinI, r.cosI);
        if (N != 0) trig::sinCosRad(N, r.sinN, r.cosN);
    }
    return r;
}

Vec3 rotateToEcliptic(double x, double y, const Rotation& rot) {
    if (!rot.direct) return rotateByPolarAngles(x, y, rot.w, rot.i, rot.N);
    if (y == 0) y = kTiny;
    const double x1 = x * rot.cosW - y * rot.sinW;
    const double y1 = x * rot.sinW + y * rot.cosW;
    Vec3 v;
    v.z = y1 * rot.sinI + kTiny * rot.cosI;
    const double y2 = y1 * rot.cosI - kTiny * rot.sinI;
    if (y2 == 0) return rotateByPolarAngles(x, y, rot.w, rot.i, rot.N);
    v.x = x1 * rot.cosN - y2 * rot.sinN;
    v.y = x1 * rot.sinN + y2 * rot.cosN;
    return v;
}

}  // namespace athanor::orbit
