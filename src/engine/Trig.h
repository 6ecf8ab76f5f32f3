#pragma once
#include <cmath>

namespace athanor::trig {

// Sines, cosines, tangents and arctangents for the theories, in long double.
//
// The library's long double functions are the slowest part of a chart: every argument
// above pi/4 goes through a multi-precision reduction, and even within pi/4 a sine costs
// about 20 ns and an arctangent (the x87 instruction) about 50 ns. Here arguments are
// reduced exactly (in degrees) or to the last bit (in radians) and then evaluated by
// series whose error stays below an ulp; results agree with the library's to an ulp or
// two, far below anything a position shows. Non-finite and enormous arguments are left
// to the library.

// Sine and cosine of |r| <= pi/4 (a little beyond does no harm): Taylor series to r^19 and
// r^20, whose remainders lie below a hundredth of an ulp. The cosine is 1 - (r^2/2 - ...)
// so that only its last step rounds at the size of the result.
inline void sinCosKernel(long double r, long double& s, long double& c) {
    const long double z = r * r;
    long double S = -1.0L / 121645100408832000.0L;
    S = S * z + 1.0L / 355687428096000.0L;
    S = S * z - 1.0L / 1307674368000.0L;
    S = S * z + 1.0L / 6227020800.0L;
    S = S * z - 1.0L / 39916800.0L;
    S = S * z + 1.0L / 362880.0L;
    S = S * z - 1.0L / 5040.0L;
    S = S * z + 1.0L / 120.0L;
    S = S * z - 1.0L / 6.0L;
    long double C = 1.0L / 2432902008176640000.0L;
    C = C * z - 1.0L / 6402373705728000.0L;
    C = C * z + 1.0L / 20922789888000.0L;
    C = C * z - 1.0L / 87178291200.0L;
    C = C * z + 1.0L / 479001600.0L;
    C = C * z - 1.0L / 3628800.0L;
    C = C * z + 1.0L / 40320.0L;
    C = C * z - 1.0L / 720.0L;
    C = C * z + 1.0L / 24.0L;
    s = r + r * z * S;
    c = 1.0L - (0.5L * z - z * z * C);
}

inline long double sinKernel(long double r) {
    long double s, c;
    sinCosKernel(r, s, c);
    return s;
}

inline long double cosKernel(long double r) {
    long double s, c;
    sinCosKernel(r, s, c);
    return c;
}

// Sine and cosine of the reduced argument r of quadrant q, that is of r + q pi/2.
inline void sinCosQuadrant(long double r, int q, long double& s, long double& c) {
    long double sr, cr;
    sinCosKernel(r, sr, cr);
    switch (q) {
        case 0: s = sr; c = cr; break;
        case 1: s = cr; c = -sr; break;
        case 2: s = -sr; c = -cr; break;
        default: s = -cr; c = sr; break;
    }
}

// Degree arguments: whole turns come off exactly, and so do the steps to the nearest
// quadrant. For r beyond 1.5 turns, r - 360 n with n the nearest whole number of turns is
// exact like fmod (360 n is exact, and the difference, a multiple of r's last place
// smaller than r, fits in the mantissa) and much faster; it lands within half a turn, a
// last place beyond at most, where fmod lands within a turn of the same sign, and the
// folding below brings both to the same angle.
inline long double reduceToQuadrant(long double degrees, int& quadrant) {
    long double r = degrees;
    if (!(r >= -540.0L && r <= 540.0L)) {
        if (std::fabs(r) < 1.0e15L) r -= 360.0L * std::rint(r / 360.0L);
        else r = std::fmod(r, 360.0L);
    }
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

inline void sinCosDeg(long double degrees, long double& s, long double& c) {
    if (!std::isfinite(degrees)) {
        s = c = degrees - degrees;  // NaN
        return;
    }
    int q = 0;
    const long double r = reduceToQuadrant(degrees, q);
    sinCosQuadrant(r, q, s, c);
}

inline long double sinDeg(long double degrees) {
    long double s, c;
    sinCosDeg(degrees, s, c);
    return s;
}

inline long double cosDeg(long double degrees) {
    long double s, c;
    sinCosDeg(degrees, s, c);
    return c;
}

// Radian arguments: the nearest multiple n of pi/2 comes off in three parts, the first two
// short enough that n times each is exact for |n| < 2^32, so the remainder is exact but for
// its final rounding.
inline constexpr long double kQuarterPi = 0xc90fdaa22168c235p-64L;
inline constexpr long double kHalfPi = 0xc90fdaa22168c235p-63L;
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

// Sine and cosine of one radian argument, one reduction for both.
inline void sinCosRad(long double x, long double& s, long double& c) {
    long double r;
    int q;
    if (!reduceRadians(x, r, q)) {
        s = std::sin(x);
        c = std::cos(x);
        return;
    }
    sinCosQuadrant(r, q, s, c);
}

inline long double sinRad(long double x) {
    long double s, c;
    sinCosRad(x, s, c);
    return s;
}

inline long double cosRad(long double x) {
    long double s, c;
    sinCosRad(x, s, c);
    return c;
}

inline long double tanRad(long double x) {
    long double r;
    int q;
    if (!reduceRadians(x, r, q)) return std::tan(x);
    long double s, c;
    sinCosKernel(r, s, c);
    return (q & 1) ? -c / s : s / c;
}

// Sine, cosine and tangent of one radian argument; the tangent equals tanRad's.
inline void sinCosTanRad(long double x, long double& s, long double& c, long double& t) {
    sinCosRad(x, s, c);
    t = std::fabs(x) <= kReducibleRadians ? s / c : std::tan(x);
}

// Arctangent in radians, (-pi/2, pi/2). Beyond 1 it is pi/2 - atan(1/x); below, the
// nearest of 128 steps c = k/128 comes off by atan x = atan c + atan((x - c)/(1 + x c)),
// which leaves a series in an argument below 1/256.
extern const long double kArcTanSteps[129];

inline long double arcTan(long double x) {
    const long double ax = std::fabs(x);
    if (!(ax <= 0x1p64L)) return std::atan(x);  // NaN, infinities, enormous
    if (ax == 0) return x;                      // keeps the sign of zero
    const bool inverted = ax > 1.0L;
    const long double t = inverted ? 1.0L / ax : ax;
    const int k = static_cast<int>(t * 128.0L + 0.5L);
    const long double step = k * (1.0L / 128.0L);
    const long double u = k == 0 ? t : (t - step) / (1.0L + t * step);
    const long double z = u * u;
    long double P = 1.0L / 13.0L;
    P = P * z - 1.0L / 11.0L;
    P = P * z + 1.0L / 9.0L;
    P = P * z - 1.0L / 7.0L;
    P = P * z + 1.0L / 5.0L;
    P = P * z - 1.0L / 3.0L;
    long double a = kArcTanSteps[k] + (u + u * z * P);
    if (inverted) a = kHalfPi - a;
    return x < 0 ? -a : a;
}

}  // namespace athanor::trig
