#include "engine/Trig.h"
#include "foundations/ChartState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace athanor::trig {
namespace {

const long double kPiL = 3.14159265358979323846264338327950288L;
const double kPi = 3.14159265358979323846264338327950288;
const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

// Distance in units in the last place of a double, against a value known more precisely.
double ulps(double got, long double want) {
    const double w = std::fabs(static_cast<double>(want));
    const double ulp = std::nextafter(w, kInf) - w;
    return static_cast<double>(std::fabs(got - want) / ulp);
}

// Quadrant ends, the doubles nearest to multiples of pi/2 (where the result is tiny and
// only an exact reduction keeps it), negative arguments and the widest arguments the engine
// feeds (a mean anomaly of some fifty thousand radians in year 1).
std::vector<double> radianArguments() {
    std::vector<double> xs = {kQuarterPi,  std::nextafter(kQuarterPi, 1.0),
                              kPi / 2,     kPi,
                              3 * kPi / 2, 2 * kPi,
                              100 * kPi,   -kPi / 2,
                              -kPi,        234.5,
                              -1000.25,    1e-30,
                              0.5,         49567.25,
                              -987654.3,   999999.5};
    for (int i = -4000; i <= 4000; ++i) xs.push_back(i * 0.0031415 + 0.1 * (i % 7));
    for (int i = 0; i < 500; ++i) xs.push_back(0.5 + i * 0.763);
    for (int i = 0; i < 500; ++i) xs.push_back(1000.0 + i * 1999.37);
    return xs;
}

TEST(Trig, WholeNumbersAndWholeTurnsAreThoseOfTheChartState) {
    const long double inf = std::numeric_limits<long double>::infinity();
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    std::vector<long double> xs = {0.0L,     -0.0L,    0.5L,    -0.5L,  1.5L,  -1.5L, 2.5L,    -2.5L,
                                   359.999L, 360.0L,   -360.0L, 720.0L, -0.3L, -0.7L, -1e-30L, 1e-30L,
                                   0x1p63L,  -0x1p64L, 1e30L,   inf,    -inf,  nan};
    for (int i = -3000; i <= 3000; ++i) xs.push_back(i * 0.4999L + (i % 11) * 123.25L);
    for (const long double x : xs) {
        // The house formulas' long double.
        const long double t = truncate(x), want = std::trunc(x);
        EXPECT_TRUE(t == want || (std::isnan(t) && std::isnan(want))) << static_cast<double>(x);
        EXPECT_EQ(std::signbit(t), std::signbit(want)) << static_cast<double>(x);
        const long double n = normalizeDegrees(x), m = normalize360(x);
        EXPECT_TRUE(n == m || (std::isnan(n) && std::isnan(m))) << static_cast<double>(x);
        // The positions' double: within a turn (a tiny negative angle rounds up to 360).
        const double d = static_cast<double>(x), r = normalizeDegrees(d);
        if (std::isfinite(d) && std::fabs(d) < 1e15) {
            EXPECT_TRUE(r >= 0 && r <= 360) << d;
            EXPECT_NEAR(std::remainder(static_cast<double>(r - d), 360.0), 0.0, 1e-9) << d;
        }
    }
    for (const long double n : {0.0L, 1.0L, -1.0L, 255.0L, -256.0L, 4503599627370495.0L, -4503599627370495.0L})
        EXPECT_EQ(wholeNumber(n), static_cast<long long>(n));
}

TEST(Trig, RadianFunctionsAgreeWithTheLibraryToAFewUlps) {
    for (const double x : radianArguments()) {
        const long double lx = x;  // the library in long double as the reference
        EXPECT_LE(ulps(sinRad(x), std::sin(lx)), 3) << x;
        EXPECT_LE(ulps(cosRad(x), std::cos(lx)), 3) << x;
        EXPECT_LE(ulps(tanRad(x), std::tan(lx)), 4) << x;
        double s, c, t;
        sinCosTanRad(x, s, c, t);
        EXPECT_EQ(s, sinRad(x));
        EXPECT_EQ(c, cosRad(x));
        EXPECT_EQ(t, tanRad(x));
    }
}

TEST(Trig, DegreeFunctionsReduceExactly) {
    for (int i = -2000; i <= 2000; ++i) {
        const double d = i * 0.125 + (i % 13) / 64.0;  // few bits, so that whole turns add exactly
        // The library on the exact remainder from the nearest quarter turn (a radian
        // argument near a zero of the function would itself be off by its rounding).
        const long double k = std::round(d / 90);
        const long double r = (d - 90 * k) * (kPiL / 180);
        const long double s = std::sin(r), c = std::cos(r);
        const long double sinWant[4] = {s, c, -s, -c}, cosWant[4] = {c, -s, -c, s};
        const int q = static_cast<int>(k - 4 * std::floor(k / 4));
        EXPECT_LE(ulps(sinDeg(d), sinWant[q]), 2) << d;
        EXPECT_LE(ulps(cosDeg(d), cosWant[q]), 2) << d;
        // Whole turns lose nothing, however many (the last through fmod).
        for (const double turns : {2.0, -7.0, 1234.0, 98765432.0, 2e11}) {
            const double far = d + 360 * turns;
            EXPECT_LE(ulps(sinDeg(far), sinWant[q]), 2) << d << " + " << turns;
            EXPECT_LE(ulps(cosDeg(far), cosWant[q]), 2) << d << " + " << turns;
        }
    }
    // The quadrant points are exact.
    EXPECT_EQ(sinDeg(90.0), 1);
    EXPECT_EQ(cosDeg(90.0), 0);
    EXPECT_EQ(sinDeg(-270.0), 1);
    EXPECT_EQ(cosDeg(540.0), -1);
    EXPECT_EQ(sinDeg(720.0), 0);
}

TEST(Trig, MultiplesOfAnAngleAreItsPowers) {
    for (const double d : {0.0, 17.25, 123.456, 200.0, 359.99, -75.5}) {
        const Multiples<6> m(d);
        for (int k = -6; k <= 6; ++k) {
            EXPECT_NEAR(static_cast<double>(m[k].s - sinDeg(k * d)), 0.0, 1e-15)
                << static_cast<double>(d) << " x " << k;
            EXPECT_NEAR(static_cast<double>(m[k].c - cosDeg(k * d)), 0.0, 1e-15)
                << static_cast<double>(d) << " x " << k;
        }
        EXPECT_EQ(m[0].c, 1);
        EXPECT_EQ(m[0].s, 0);
        EXPECT_EQ(m[1].s, sinDeg(d));
        // Products add angles.
        const Phasor sum = m[2] * phasorDeg(31.0);
        EXPECT_NEAR(static_cast<double>(sum.s - sinDeg(2 * d + 31)), 0.0, 1e-15);
    }
}

TEST(Trig, ArcTangentAgreesWithTheLibraryToAFewUlps) {
    std::vector<double> xs = {0.0, 1e-300, 1.0 / 256, 1.0 / 128, 0.5, 1.0, std::nextafter(1.0, 2.0),
                              2.0, 1e10,   0x1p64,    1e30};
    for (int i = 1; i <= 20000; ++i) xs.push_back(std::ldexp(1.0 + i * 0.000049, i % 24 - 12));
    for (const double x : xs) {
        EXPECT_LE(ulps(arcTan(x), std::atan(static_cast<long double>(x))), 2) << x;
        EXPECT_EQ(arcTan(-x), -arcTan(x));
    }
    EXPECT_TRUE(std::signbit(arcTan(-0.0)));
}

TEST(Trig, NonFiniteAndEnormousArgumentsAreTheLibrarys) {
    for (const double x : {1e12, -3e20}) {
        EXPECT_EQ(sinRad(x), std::sin(x));
        EXPECT_EQ(cosRad(x), std::cos(x));
        EXPECT_EQ(tanRad(x), std::tan(x));
    }
    EXPECT_EQ(arcTan(kInf), std::atan(kInf));
    EXPECT_EQ(arcTan(-kInf), std::atan(-kInf));
    for (const double x : {kInf, -kInf, kNaN}) {
        EXPECT_TRUE(std::isnan(sinRad(x)));
        EXPECT_TRUE(std::isnan(cosRad(x)));
        EXPECT_TRUE(std::isnan(tanRad(x)));
        EXPECT_TRUE(std::isnan(sinDeg(x)));
        EXPECT_TRUE(std::isnan(cosDeg(x)));
    }
    EXPECT_TRUE(std::isnan(arcTan(kNaN)));
}

}  // namespace
}  // namespace athanor::trig
