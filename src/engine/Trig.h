#pragma once
#include <cmath>

namespace athanor::trig {

// Sine and cosine of angles in degrees. The theories feed them arguments of thousands of
// degrees; reducing in degrees first (fmod is exact, and so are the steps to the nearest
// quadrant) leaves the library only arguments within pi/4, where long double sine and
// cosine are fast and need no multi-precision reduction. The result is the sine of the
// same angle, only without the rounding of a large radian argument.
inline long double reduceToQuadrant(long double degrees, int& quadrant) {
    long double r = degrees;
    if (!(r >= -540.0L && r <= 540.0L)) r = std::fmod(r, 360.0L);
    if (r > 180.0L) r -= 360.0L;
    else if (r < -180.0L) r += 360.0L;
    // Each subtraction below is exact: both operands lie within a factor of two.
    if (r > 135.0L) {
        quadrant = 2;
        r -= 180.0L;
    } else if (r > 45.0L) {
        quadrant = 1;
        r -= 90.0L;
    } else if (r >= -45.0L) {
        quadrant = 0;
    } else if (r >= -135.0L) {
        quadrant = 3;
        r += 90.0L;
    } else {
        quadrant = 2;
        r += 180.0L;
    }
    return r * (3.14159265358979323846264338327950288L / 180.0L);
}

inline long double sinDeg(long double degrees) {
    int q = 0;
    const long double r = reduceToQuadrant(degrees, q);
    switch (q) {
        case 0: return std::sin(r);
        case 1: return std::cos(r);
        case 2: return -std::sin(r);
        default: return -std::cos(r);
    }
}

inline long double cosDeg(long double degrees) {
    int q = 0;
    const long double r = reduceToQuadrant(degrees, q);
    switch (q) {
        case 0: return std::cos(r);
        case 1: return -std::sin(r);
        case 2: return -std::cos(r);
        default: return std::sin(r);
    }
}

}  // namespace athanor::trig
