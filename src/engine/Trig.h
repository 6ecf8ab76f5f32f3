#pragma once
#include <array>
#include <cmath>

namespace athanor::trig {

// Sines, cosines, tangents and arctangents for the theories, in double.
//
// The library's functions are a large part of a chart: an argument far above pi/4 goes
// through a long reduction. Here arguments are reduced exactly (in degrees) or to the last
// bit (in radians) to a tabulated step and a short series; results agree with the
// library's to an ulp or two, far below anything a position shows. Non-finite and
// enormous arguments are left to the library.

inline long long wholeNumber(double n) { return static_cast<long long>(n); }
inline double truncate(double x) { return std::trunc(x); }

// normalize360 of the chart state: x - 360 Int(x / 360), plus 360 when negative.
inline double normalizeDegrees(double x) {
    double r = x - 360.0 * std::trunc(x / 360.0);
    if (r < 0) r += 360.0;
    return r;
}

// The same in long double, for the house formulas, without the switch of the x87 control
// word that C++ truncation takes there (it stalls the floating-point pipeline).

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

inline long double normalizeDegrees(long double x) {
    long double r = x - 360.0L * truncate(x / 360.0L);
    if (r < 0) r += 360.0L;
    return r;
}

// sin(k pi/128) for k = 0..319, so that cos(k pi/128) is entry k + 64.
extern const std::array<double, 320> kSineSteps;

// Sine and cosine of a + r from those of a tabulated step a and short series in r, for
// |r| <= pi/256 (a little beyond does no harm), whose remainders lie below a hundredth of an
// ulp: in double for the positions, in long double for the house formulas' secant steps.
template <class F>
inline void sinCosBeyond(F sinA, F cosA, F r, F& s, F& c) {
    const F z = r * r;
    // sin r = r + r z S, cos r - 1 = z^2 C - z/2; only the leading coefficient needs F.
    const F S = F(-1) / F(6) + z * (1.0 / 120.0 + z * (-1.0 / 5040.0));
    const F C = 1.0 / 24.0 + z * (-1.0 / 720.0 + z * (1.0 / 40320.0));
    const F sinR = r + r * z * S;
    const F cosRm1 = z * z * C - F(0.5) * z;
    s = sinA + (sinA * cosRm1 + cosA * sinR);
    c = cosA + (cosA * cosRm1 - sinA * sinR);
}

// Sine and cosine of k pi/128 + r.
inline void sinCosStep(long long k, double r, double& s, double& c) {
    sinCosBeyond(kSineSteps[k & 255], kSineSteps[(k & 255) + 64], r, s, c);
}

// Degree arguments: n steps of 360/256 degrees come off exactly (n 1.40625 is exact, and
// the remainder, a multiple of the argument's last place smaller than the argument, fits in
// the mantissa), whole turns included, so that large arguments lose nothing.
inline void sinCosDeg(double degrees, double& s, double& c) {
    double d = degrees;
    if (!(std::fabs(d) < 1.0e13)) {
        if (!std::isfinite(d)) {
            s = c = d - d;  // NaN
            return;
        }
        d = std::fmod(d, 360.0);
    }
    const double n = std::rint(d * (256.0 / 360.0));
    const double r = (d - n * 1.40625) * (3.14159265358979323846264338327950288 / 180.0);
    sinCosStep(wholeNumber(n), r, s, c);
}

inline double sinDeg(double degrees) {
    double s, c;
    sinCosDeg(degrees, s, c);
    return s;
}

inline double cosDeg(double degrees) {
    double s, c;
    sinCosDeg(degrees, s, c);
    return c;
}

// Radian arguments: the nearest multiple n of pi/128 comes off in three parts, the first
// two of 27 bits, so that n times each is exact for |n| < 2^26 and the remainder is exact
// but for its final rounding. Beyond a million radians the library reduces.
inline constexpr double kQuarterPi = 0x1921fb54442d18p-53;
inline constexpr double kHalfPi = 0x1921fb54442d18p-52;
inline constexpr double k128OverPi = 0x145f306dc9c883p-47;
inline constexpr double kStep1 = 0x6487ed5p-32;  // pi/128 in three parts
inline constexpr double kStep2 = 0x442d184p-62;
inline constexpr double kStep3 = 0x1a62633145c06ep-116;
inline constexpr double kReducibleRadians = 1.0e6;

// False when x is left for the library.
inline bool reduceRadians(double x, double& r, long long& k) {
    if (!(std::fabs(x) <= kReducibleRadians)) return false;
    const double n = std::rint(x * k128OverPi);
    r = ((x - n * kStep1) - n * kStep2) - n * kStep3;
    k = wholeNumber(n);
    return true;
}

// Sine and cosine of one radian argument, one reduction for both.
inline void sinCosRad(double x, double& s, double& c) {
    double r;
    long long k;
    if (!reduceRadians(x, r, k)) {
        s = std::sin(x);
        c = std::cos(x);
        return;
    }
    sinCosStep(k, r, s, c);
}

inline double sinRad(double x) {
    double s, c;
    sinCosRad(x, s, c);
    return s;
}

inline double cosRad(double x) {
    double s, c;
    sinCosRad(x, s, c);
    return c;
}

inline double tanRad(double x) {
    double s, c;
    sinCosRad(x, s, c);
    return std::fabs(x) <= kReducibleRadians ? s / c : std::tan(x);
}

// Sine, cosine and tangent of one radian argument; the tangent equals tanRad's.
inline void sinCosTanRad(double x, double& s, double& c, double& t) {
    sinCosRad(x, s, c);
    t = std::fabs(x) <= kReducibleRadians ? s / c : std::tan(x);
}

// The cosine and sine of an angle as a unit complex number: products add angles, so a
// series in sin(i a + j b + ...) needs the sine and cosine of a, b, ... once and then only
// products. Each product rounds like the sum of arguments it replaces would.
struct Phasor {
    double c = 1, s = 0;
};

inline Phasor phasorDeg(double degrees) {
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
    explicit Multiples(double degrees) : Multiples(phasorDeg(degrees)) {}
    const Phasor& operator[](int k) const { return multiple[N + k]; }
};

// Arctangent in radians, (-pi/2, pi/2). Beyond 1 it is pi/2 - atan(1/x); below, the
// nearest of 128 steps c = k/128 comes off by atan x = atan c + atan((x - c)/(1 + x c)),
// which leaves a series in an argument below 1/256.
extern const double kArcTanSteps[129];

inline double arcTan(double x) {
    const double ax = std::fabs(x);
    if (!(ax <= 0x1p64)) return std::atan(x);  // NaN, infinities, enormous
    if (ax == 0) return x;                     // keeps the sign of zero
    const bool inverted = ax > 1.0;
    const double t = inverted ? 1.0 / ax : ax;
    // The nearest step, found in double: off by one at most, which the series absorbs.
    const int k = static_cast<int>(static_cast<double>(t) * 128.0 + 0.5);
    const double step = k * (1.0 / 128.0);
    const double u = k == 0 ? t : (t - step) / (1.0 + t * step);
    const double z = u * u;
    // u^2 is below 2^-16, so double coefficients lose nothing.
    const double P = -1.0 / 3.0 + z * (1.0 / 5.0 + z * (-1.0 / 7.0 + z * (1.0 / 9.0 + z * (-1.0 / 11.0))));
    double a = kArcTanSteps[k] + (u + u * z * P);
    if (inverted) a = kHalfPi - a;
    return x < 0 ? -a : a;
}

}  // namespace athanor::trig
