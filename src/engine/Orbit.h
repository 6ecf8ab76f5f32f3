#pragma once
#include "engine/Trig.h"

namespace athanor::orbit {

inline constexpr long double kPi = 3.14159265358979323846264338327950288L;
inline constexpr long double kDegToRad = kPi / 180.0L;
inline constexpr long double kRadToDeg = 180.0L / kPi;
inline constexpr long double kGauss = 0.01720209L;     // Gaussian constant
inline constexpr long double kLightTime = 0.0057683L;  // days per AU
inline constexpr long double kTiny = 1.75453E-7L;      // replaces an exact zero before polar conversion

struct Polar {
    long double r = 0;
    long double theta = 0;  // radians, [0, 2 pi)
};

// Polar form of (x, y); y = 0 is replaced by kTiny.
Polar polar(long double x, long double y);

// Its angle alone.
inline long double polarAngle(long double x, long double y) {
    if (y == 0) y = kTiny;
    long double theta = trig::arcTan(y / x);
    if (theta < 0) theta += kPi;
    if (y < 0) theta += kPi;
    return theta;
}

struct Kepler {
    long double E = 0;           // eccentric anomaly, radians
    long double Edot = 0;        // radians per day
    long double px = 0, py = 0;  // orbital-plane position, AU
    long double vx = 0, vy = 0;  // orbital-plane velocity, AU/day
};

// Kepler solution for mean anomaly M (radians), eccentricity e, semi-major axis a (AU).
Kepler solveKepler(long double M, long double e, long double a);
// The same with a^1.5 given: the axes are constants, and the power costs more than the rest.
Kepler solveKepler(long double M, long double e, long double a, long double aThreeHalves);

// The solution in its two parts, for solving several orbits side by side: the solution
// iterates E = M + e sin E three times from E = M, then takes the state at E.
inline long double keplerIteration(long double M, long double e, long double E) { return M + e * trig::sinRad(E); }
Kepler keplerState(long double E, long double e, long double a, long double aThreeHalves);

struct Vec3 {
    long double x = 0, y = 0, z = 0;
};

// Rotates an orbital-plane vector to the ecliptic by argument of perihelion w,
// inclination i and node N (radians).
Vec3 rotateToEcliptic(long double x, long double y, long double w, long double i, long double N);

// The same rotation prepared once for several vectors (a body's position and velocity).
struct Rotation {
    long double w = 0, i = 0, N = 0;
    long double sinW = 0, cosW = 1, sinI = 0, cosI = 1, sinN = 0, cosN = 1;
    bool direct = false;  // the angles allow the rotation by their sines and cosines
};
Rotation prepareRotation(long double w, long double i, long double N);
Vec3 rotateToEcliptic(long double x, long double y, const Rotation& rotation);

}  // namespace athanor::orbit
