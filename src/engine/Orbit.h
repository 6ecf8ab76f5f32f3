#pragma once
#include "engine/Trig.h"

namespace athanor::orbit {

inline constexpr double kPi = 3.14159265358979323846264338327950288;
inline constexpr double kDegToRad = kPi / 180.0;
inline constexpr double kRadToDeg = 180.0 / kPi;
// In long double, for the house formulas and the angles they give.
inline constexpr long double kPiLong = 3.14159265358979323846264338327950288L;
inline constexpr long double kDegToRadLong = kPiLong / 180.0L;
inline constexpr long double kRadToDegLong = 180.0L / kPiLong;
inline constexpr double kGauss = 0.01720209;     // Gaussian constant
inline constexpr double kLightTime = 0.0057683;  // days per AU
inline constexpr double kTiny = 1.75453E-7;      // replaces an exact zero before polar conversion

struct Polar {
    double r = 0;
    double theta = 0;  // radians, [0, 2 pi)
};

// Polar form of (x, y); y = 0 is replaced by kTiny.
Polar polar(double x, double y);

// Its angle alone.
inline double polarAngle(double x, double y) {
    if (y == 0) y = kTiny;
    double theta = trig::arcTan(y / x);
    if (theta < 0) theta += kPi;
    if (y < 0) theta += kPi;
    return theta;
}

struct Kepler {
    double E = 0;           // eccentric anomaly, radians
    double Edot = 0;        // radians per day
    double px = 0, py = 0;  // orbital-plane position, AU
    double vx = 0, vy = 0;  // orbital-plane velocity, AU/day
};

// Kepler solution for mean anomaly M (radians), eccentricity e, semi-major axis a (AU).
Kepler solveKepler(double M, double e, double a);
// The same with a^1.5 given: the axes are constants, and the power costs more than the rest.
Kepler solveKepler(double M, double e, double a, double aThreeHalves);

// The solution in its two parts, for solving several orbits side by side: the solution
// iterates E = M + e sin E three times from E = M, then takes the state at E.
inline double keplerIteration(double M, double e, double E) { return M + e * trig::sinRad(E); }
Kepler keplerState(double E, double e, double a, double aThreeHalves);

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

// Rotates an orbital-plane vector to the ecliptic by argument of perihelion w,
// inclination i and node N (radians).
Vec3 rotateToEcliptic(double x, double y, double w, double i, double N);

// The same rotation prepared once for several vectors (a body's position and velocity).
struct Rotation {
    double w = 0, i = 0, N = 0;
    double sinW = 0, cosW = 1, sinI = 0, cosI = 1, sinN = 0, cosN = 1;
    bool direct = false;  // the angles allow the rotation by their sines and cosines
};
Rotation prepareRotation(double w, double i, double N);
Vec3 rotateToEcliptic(double x, double y, const Rotation& rotation);

}  // namespace athanor::orbit
