#pragma once
#include <array>
#include <cmath>

namespace athanor::trig {

// Sines, cosines, tangents and arctangents for the theories, in long double.
//
// The library's long double functions are the slowest part of a chart: every argument
// above pi/4 goes through a multi-precision reduction, and even within pi/4 a sine costs
// about 20 ns and an arctangent (the x87 instruction) about 50 ns. Here arguments are
// reduced exactly (in degrees) or to the last bit (in radians) to a tabulated step and a
// short series; results agree with the library's to an ulp or two, far below anything a
// position shows. Non-finite and enormous arguments are left to the library.

// Whole numbers without the switch of the x87 control word that C++ truncation takes,
// which stalls the floating-point pipeline and took nearly half of a chart's time.

// n, a whole number below 2^53 in magnitude, as an integer: exact through double, whose
// conversion needs no switch.
inline long long wholeNumber(long double n) { return static_cast<long long>(static_cast<double>(n)); }

// std::trunc: rint rounds in the current mode, and a step towards zero corrects it when
// it went away from zero. The same value as trunc for every argument.
inline long double truncate(long double x) {
    long double t = std::rint(x);
    if (x >= 0) {
        if (t > x) t -= 1.0L;
    } else if (t < x) {
        t = -(-t - 1.0L);  // -0 from -1, as trunc gives
    }
    return t;
}

// normalize360 of the chart state, to the bit: x - 360 Int(x / 360), plus 360 when negative.
inline long double normalizeDegrees(long double x) {
    long double r = x - 360.0L * truncate(x / 360.0L);
    if (r < 0) r += 360.0L;
    return r;
}

// sin(k pi/128) for k = 0..319, so that cos(k pi/128) is entry k + 64.
extern const std::array<long double, 320> kSineSteps;

// Sine and cosine of k pi/128 + r for |r| <= pi/256 (a little beyond does no harm): the
// table's step and short series in r, whose remainders lie below a hundredth of an ulp. Only
// the leading coefficient needs more than double precision; the others are doubles, which
// the x87 reads much faster than 80-bit constants.
inline void sinCosStep(long long k, long double r, long double& s, long double& c) {
    const long double z = r * r;
    // sin r = r + r z S, cos r - 1 = z^2 C - z/2
    const long double S = -1.0L / 6.0L + z * (1.0 / 120.0 + z * (-1.0 / 5040.0));
    const long double C = 1.0 / 24.0 + z * (-1.0 / 720.0 + z * (1.0 / 40320.0));
    const long double sinR = r + r * z * S;
    const long double cosRm1 = z * z * C - 0.5L * z;
    const long double sinA = kSineSteps[k & 255], cosA = kSineSteps[(k & 255) + 64];
    s = sinA + (sinA * cosRm1 + cosA * sinR);
    c = cosA + (cosA * cosRm1 - sinA * sinR);
}

// Degree arguments: n steps of 360/256 degrees come off exactly (n 1.40625 is exact, and
// the remainder, a multiple of the argument's last place smaller than the argument, fits in
// the mantissa), whole turns included, so that large arguments lose nothing.
inline void sinCosDeg(long double degrees, long double& s, long double& c) {
    long double d = degrees;
    if (!(std::fabs(d) < 1.0e15L)) {
        if (!std::isfinite(d)) {
            s = c = d - d;  // NaN
            return;
        }
        d = std::fmod(d, 360.0L);
    }
    const long double n = std::rint(d * (256.0L / 360.0L));
    const long double r = (d - n * 1.40625L) * (3.14159265358979323846264338327950288L / 180.0L);
    sinCosStep(wholeNumber(n), r, s, c);
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

// Radian arguments: the nearest multiple n of pi/128 comes off in three parts, the first
// two short enough that n times each is exact for |n| < 2^32, so the remainder is exact
// but for its final rounding. Beyond 1e8 radians the library reduces.
inline constexpr long double kQuarterPi = 0xc90fdaa22168c235p-64L;
inline constexpr long double kHalfPi = 0xc90fdaa22168c235p-63L;
inline constexpr long double k128OverPi = 0xa2f9836e4e44152ap-58L;
inline constexpr long double kStep1 = 0xc90fdaa200000000p-69L;  // pi/128 in three parts
inline constexpr long double kStep2 = 0x85a308d300000000p-103L;
inline constexpr long double kStep3 = 0x98cc51701b839a25p-138L;
inline constexpr long double kReducibleRadians = 1.0e8L;

// False when x is left for the library.
inline bool reduceRadians(long double x, long double& r, long long& k) {
    if (!(std::fabs(x) <= kReducibleRadians)) return false;
    const long double n = std::rint(x * k128OverPi);
    r = ((x - n * kStep1) - n * kStep2) - n * kStep3;
    k = wholeNumber(n);
    return true;
}

// Sine and cosine of one radian argument, one reduction for both.
inline void sinCosRad(long double x, long double& s, long double& c) {
    long double r;
    long long k;
    if (!reduceRadians(x, r, k)) {
        s = std::sin(x);
        c = std::cos(x);
        return;
    }
    sinCosStep(k, r, s, c);
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
    long double s, c;
    sinCosRad(x, s, c);
    return std::fabs(x) <= kReducibleRadians ? s / c : std::tan(x);
}

// Sine, cosine and tangent of one radian argument; the tangent equals tanRad's.
inline void sinCosTanRad(long double x, long double& s, long double& c, long double& t) {
    sinCosRad(x, s, c);
    t = std::fabs(x) <= kReducibleRadians ? s / c : std::tan(x);
}

// The cosine and sine of an angle as a unit complex number: products add angles, so a
// series in sin(i a + j b + ...) needs the sine and cosine of a, b, ... once and then only
// products. Each product rounds like the sum of arguments it replaces would.
struct Phasor {
    long double c = 1, s = 0;
};

inline Phasor phasorDeg(long double degrees) {
    Phasor p;
    sinCosDeg(degrees, p.s, p.c);
    return p;
}

inline Phasor operator*(const Phasor& a, const Phasor& b) { return {a.c * b.c - a.s * b.s, a.s * b.c + a.c * b.s}; }

inline Phasor conj(const Phasor& a) { return {a.c, -a.s}; }

// Whole multiples -N..N of one angle.
template <int N>
struct Multiples {
    Phasor multiple[2 * N + 1];
    explicit Multiples(const Phasor& one) {
        Phasor power = one;
        for (int k = 1; k <= N; ++k) {
            if (k > 1) power = power * one;
            multiple[N + k] = power;
            multiple[N - k] = conj(power);
        }
    }
    explicit Multiples(long double degrees) : Multiples(phasorDeg(degrees)) {}
    const Phasor& operator[](int k) const { return multiple[N + k]; }
};

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
    // The nearest step, found in double: off by one at most, which the series absorbs.
    const int k = static_cast<int>(static_cast<double>(t) * 128.0 + 0.5);
    const long double step = k * (1.0L / 128.0L);
    const long double u = k == 0 ? t : (t - step) / (1.0L + t * step);
    const long double z = u * u;
    // u^2 is below 2^-16, so double coefficients lose nothing.
    const long double P = -1.0 / 3.0 + z * (1.0 / 5.0 + z * (-1.0 / 7.0 + z * (1.0 / 9.0 + z * (-1.0 / 11.0))));
    long double a = kArcTanSteps[k] + (u + u * z * P);
    if (inverted) a = kHalfPi - a;
    return x < 0 ? -a : a;
}

}  // namespace athanor::trig
