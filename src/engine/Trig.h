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

// Radian arguments reduced the same way: the nearest multiple n of pi/2 comes off in three
// parts, the first two short enough that n times each is exact for |n| < 2^32, so the
// remainder is exact but for its final rounding and the library again sees only arguments
// within pi/4. Rounding the remainder once can move a result by an ulp against the
// library's own reduction, which keeps a second word. Non-finite and enormous arguments
// go to the library unreduced.
inline constexpr long double kQuarterPi = 0xc90fdaa22168c235p-64L;
inline constexpr long double kTwoOverPi = 0xa2f9836e4e44152ap-64L;
inline constexpr long double kHalfPi1 = 0xc90fdaa200000000p-63L;
inline constexpr long double kHalfPi2 = 0x85a308d300000000p-97L;
inline constexpr long double kHalfPi3 = 0x98cc51701b839a25p-132L;
inline constexpr long double kReducibleRadians = 1.0e9L;

// False when x is left for the library.
inline bool reduceRadians(long double x, long double& r, int& quadrant) {
    const long double ax = std::fabs(x);
    if (ax <= kQuarterPi) {
        r = x;
        quadrant = 0;
        return true;
    }
    if (!(ax <= kReducibleRadians)) return false;
    const long double n = std::rint(x * kTwoOverPi);
    r = ((x - n * kHalfPi1) - n * kHalfPi2) - n * kHalfPi3;
    quadrant = static_cast<int>(static_cast<long long>(n) & 3);
    return true;
}

inline long double sinRad(long double x) {
    long double r;
    int q;
    if (!reduceRadians(x, r, q)) return std::sin(x);
    switch (q) {
        case 0: return std::sin(r);
        case 1: return std::cos(r);
        case 2: return -std::sin(r);
        default: return -std::cos(r);
    }
}

inline long double cosRad(long double x) {
    long double r;
    int q;
    if (!reduceRadians(x, r, q)) return std::cos(x);
    switch (q) {
        case 0: return std::cos(r);
        case 1: return -std::sin(r);
        case 2: return -std::cos(r);
        default: return std::sin(r);
    }
}

// Sine and cosine of one radian argument, one reduction for both.
inline void sinCosRad(long double x, long double& s, long double& c) {
    long double r;
    int q;
    if (!reduceRadians(x, r, q)) {
        s = std::sin(x);
        c = std::cos(x);
        return;
    }
    const long double sr = std::sin(r), cr = std::cos(r);
    switch (q) {
        case 0: s = sr; c = cr; break;
        case 1: s = cr; c = -sr; break;
        case 2: s = -sr; c = -cr; break;
        default: s = -cr; c = sr; break;
    }
}

inline long double tanRad(long double x) {
    long double r;
    int q;
    if (!reduceRadians(x, r, q)) return std::tan(x);
    const long double t = std::tan(r);
    return (q & 1) ? -1.0L / t : t;
}

}  // namespace athanor::trig
