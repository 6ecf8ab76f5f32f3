#include "engine/Trig.h"
#include "foundations/ChartState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace athanor::trig {
namespace {

const long double kPiL = 3.14159265358979323846264338327950288L;
const long double kInf = std::numeric_limits<long double>::infinity();
const long double kNaN = std::numeric_limits<long double>::quiet_NaN();

// Distance in units in the last place of the expected value.
long double ulps(long double got, long double want) {
    const long double w = std::fabs(want);
    const long double ulp = std::nextafter(w, kInf) - w;
    return std::fabs(got - want) / ulp;
}

// Quadrant ends, the long doubles nearest to multiples of pi/2 (where the result is tiny
// and only an exact reduction keeps it), negative arguments and the widest arguments the
// engine feeds (perturbation phases of a few hundred radians).
std::vector<long double> radianArguments() {
    std::vector<long double> xs = {kQuarterPi,   std::nextafter(kQuarterPi, 1.0L),
                                   kPiL / 2,     kPiL,
                                   3 * kPiL / 2, 2 * kPiL,
                                   100 * kPiL,   -kPiL / 2,
                                   -kPiL,        234.5L,
                                   -1000.25L,    1e-30L,
                                   0.5L};
    for (int i = -4000; i <= 4000; ++i) xs.push_back(i * 0.0031415L + 0.1L * (i % 7));
    for (int i = 0; i < 500; ++i) xs.push_back(0.5L + i * 0.763L);
    return xs;
}

TEST(Trig, WholeNumbersAndWholeTurnsAreThoseOfTheChartState) {
    std::vector<long double> xs = {0.0L,     -0.0L,    0.5L,    -0.5L,  1.5L,  -1.5L, 2.5L,    -2.5L,
                                   359.999L, 360.0L,   -360.0L, 720.0L, -0.3L, -0.7L, -1e-30L, 1e-30L,
                                   0x1p63L,  -0x1p64L, 1e30L,   kInf,   -kInf, kNaN};
    for (int i = -3000; i <= 3000; ++i) xs.push_back(i * 0.4999L + (i % 11) * 123.25L);
    for (const long double x : xs) {
        const long double t = truncate(x), want = std::trunc(x);
        EXPECT_TRUE(t == want || (std::isnan(t) && std::isnan(want))) << static_cast<double>(x);
        EXPECT_EQ(std::signbit(t), std::signbit(want)) << static_cast<double>(x);
        const long double n = normalizeDegrees(x), m = normalize360(x);
        EXPECT_TRUE(n == m || (std::isnan(n) && std::isnan(m))) << static_cast<double>(x);
    }
    for (const long double n : {0.0L, 1.0L, -1.0L, 255.0L, -256.0L, 4503599627370495.0L, -4503599627370495.0L})
        EXPECT_EQ(wholeNumber(n), static_cast<long long>(n));
}

TEST(Trig, RadianFunctionsAgreeWithTheLibraryToAFewUlps) {
    for (const long double x : radianArguments()) {
        EXPECT_LE(ulps(sinRad(x), std::sin(x)), 3) << static_cast<double>(x);
        EXPECT_LE(ulps(cosRad(x), std::cos(x)), 3) << static_cast<double>(x);
        EXPECT_LE(ulps(tanRad(x), std::tan(x)), 4) << static_cast<double>(x);
        long double s, c, t;
        sinCosTanRad(x, s, c, t);
        EXPECT_EQ(s, sinRad(x));
        EXPECT_EQ(c, cosRad(x));
        EXPECT_EQ(t, tanRad(x));
    }
}

TEST(Trig, DegreeFunctionsReduceExactly) {
    for (int i = -2000; i <= 2000; ++i) {
        const long double d = i * 0.125L + (i % 13) / 64.0L;  // few bits, so that whole turns add exactly
        // The library on the exact remainder from the nearest quarter turn (a radian
        // argument near a zero of the function would itself be off by its rounding).
        const long double k = std::round(d / 90);
        const long double r = (d - 90 * k) * (kPiL / 180);
        const long double s = std::sin(r), c = std::cos(r);
        const long double sinWant[4] = {s, c, -s, -c}, cosWant[4] = {c, -s, -c, s};
        const int q = static_cast<int>(k - 4 * std::floor(k / 4));
        EXPECT_LE(ulps(sinDeg(d), sinWant[q]), 2) << static_cast<double>(d);
        EXPECT_LE(ulps(cosDeg(d), cosWant[q]), 2) << static_cast<double>(d);
        // Whole turns lose nothing, however many (the last through fmod).
        for (const long double turns : {2.0L, -7.0L, 1234.0L, 98765432.0L, 3e14L}) {
            const long double far = d + 360 * turns;
            EXPECT_LE(ulps(sinDeg(far), sinWant[q]), 2)
                << static_cast<double>(d) << " + " << static_cast<double>(turns);
            EXPECT_LE(ulps(cosDeg(far), cosWant[q]), 2)
                << static_cast<double>(d) << " + " << static_cast<double>(turns);
        }
    }
    // The quadrant points are exact.
    EXPECT_EQ(sinDeg(90), 1);
    EXPECT_EQ(cosDeg(90), 0);
    EXPECT_EQ(sinDeg(-270), 1);
    EXPECT_EQ(cosDeg(540), -1);
    EXPECT_EQ(sinDeg(720), 0);
}

TEST(Trig, MultiplesOfAnAngleAreItsPowers) {
    for (const long double d : {0.0L, 17.25L, 123.456L, 200.0L, 359.99L, -75.5L}) {
        const Multiples<6> m(d);
        for (int k = -6; k <= 6; ++k) {
            EXPECT_NEAR(static_cast<double>(m[k].s - sinDeg(k * d)), 0.0, 1e-18)
                << static_cast<double>(d) << " x " << k;
            EXPECT_NEAR(static_cast<double>(m[k].c - cosDeg(k * d)), 0.0, 1e-18)
                << static_cast<double>(d) << " x " << k;
        }
        EXPECT_EQ(m[0].c, 1);
        EXPECT_EQ(m[0].s, 0);
        EXPECT_EQ(m[1].s, sinDeg(d));
        // Products add angles.
        const Phasor sum = m[2] * phasorDeg(31.0L);
        EXPECT_NEAR(static_cast<double>(sum.s - sinDeg(2 * d + 31)), 0.0, 1e-18);
    }
}

TEST(Trig, ArcTangentAgreesWithTheLibraryToAFewUlps) {
    std::vector<long double> xs = {0.0L, 1e-300L, 1.0L / 256, 1.0L / 128, 0.5L, 1.0L, std::nextafter(1.0L, 2.0L),
                                   2.0L, 1e10L,   0x1p64L,    1e30L};
    for (int i = 1; i <= 20000; ++i) xs.push_back(std::ldexp(1.0L + i * 0.000049L, i % 24 - 12));
    for (const long double x : xs) {
        EXPECT_LE(ulps(arcTan(x), std::atan(x)), 2) << static_cast<double>(x);
        EXPECT_EQ(arcTan(-x), -arcTan(x));
    }
    EXPECT_TRUE(std::signbit(arcTan(-0.0L)));
}

TEST(Trig, NonFiniteAndEnormousArgumentsAreTheLibrarys) {
    for (const long double x : {1e12L, -3e20L}) {
        EXPECT_EQ(sinRad(x), std::sin(x));
        EXPECT_EQ(cosRad(x), std::cos(x));
        EXPECT_EQ(tanRad(x), std::tan(x));
    }
    EXPECT_EQ(arcTan(kInf), std::atan(kInf));
    EXPECT_EQ(arcTan(-kInf), std::atan(-kInf));
    for (const long double x : {kInf, -kInf, kNaN}) {
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
