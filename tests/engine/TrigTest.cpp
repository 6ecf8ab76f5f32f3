#include "engine/Trig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace athanor::trig {
namespace {

// Distance in units in the last place of the expected value.
long double ulps(long double got, long double want) {
    const long double w = std::fabs(want);
    const long double ulp = std::nextafter(w, std::numeric_limits<long double>::infinity()) - w;
    return std::fabs(got - want) / ulp;
}

TEST(Trig, RadianFunctionsAgreeWithTheLibraryToAnUlpOrTwo) {
    // The ends of each quadrant, the long doubles nearest to multiples of pi/2 (where the
    // result is tiny and only an exact reduction keeps it), negative arguments and the
    // widest arguments the engine feeds (perturbation phases of a few hundred radians).
    const long double pi = 3.14159265358979323846264338327950288L;
    std::vector<long double> xs = {kQuarterPi, std::nextafter(kQuarterPi, 1.0L), pi / 2, pi, 3 * pi / 2,
                                   2 * pi, 100 * pi, -pi / 2, -pi, 234.5L, -1000.25L};
    for (int i = -4000; i <= 4000; ++i) xs.push_back(i * 0.0031415L + 0.1L * (i % 7));
    for (int i = 0; i < 500; ++i) xs.push_back(0.5L + i * 0.763L);
    for (const long double x : xs) {
        EXPECT_LE(ulps(sinRad(x), std::sin(x)), 2) << static_cast<double>(x);
        EXPECT_LE(ulps(cosRad(x), std::cos(x)), 2) << static_cast<double>(x);
        long double s, c;
        sinCosRad(x, s, c);
        EXPECT_EQ(s, sinRad(x));
        EXPECT_EQ(c, cosRad(x));
        EXPECT_LE(ulps(tanRad(x), std::tan(x)), 3) << static_cast<double>(x);
    }
}

TEST(Trig, ArgumentsWithinAQuarterTurnAndUnreducibleOnesGoStraightToTheLibrary) {
    for (const long double x : {0.0L, -0.0L, 1e-30L, 0.5L, -0.7L, kQuarterPi, 1e12L, -3e20L}) {
        EXPECT_EQ(sinRad(x), std::sin(x));
        EXPECT_EQ(cosRad(x), std::cos(x));
        EXPECT_EQ(tanRad(x), std::tan(x));
    }
    const long double inf = std::numeric_limits<long double>::infinity();
    for (const long double x : {inf, -inf, std::numeric_limits<long double>::quiet_NaN()}) {
        EXPECT_TRUE(std::isnan(sinRad(x)));
        EXPECT_TRUE(std::isnan(cosRad(x)));
        EXPECT_TRUE(std::isnan(tanRad(x)));
    }
}

}  // namespace
}  // namespace athanor::trig
