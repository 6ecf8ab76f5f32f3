#include "engine/Orbit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace athanor::orbit {
namespace {

TEST(Orbit, PolarAngleLiesInItsQuadrant) {
    struct Case {
        long double x, y, r, theta;
    };
    const Case cases[] = {
        {1, 1, std::sqrt(2.0L), kPi / 4},
        {-1, 1, std::sqrt(2.0L), 3 * kPi / 4},
        {-1, -1, std::sqrt(2.0L), 5 * kPi / 4},
        {1, -1, std::sqrt(2.0L), 7 * kPi / 4},
        {0, 2, 2, kPi / 2},
        {0, -2, 2, 3 * kPi / 2},
        {3, 4, 5, std::atan2(4.0L, 3.0L)},
        // y = 0 becomes the tiny value: just above 0, just below pi
        {2, 0, 2, kTiny / 2},
        {-2, 0, 2, kPi - kTiny / 2},
    };
    for (const auto& c : cases) {
        const Polar p = polar(c.x, c.y);
        EXPECT_NEAR(static_cast<double>(p.r), static_cast<double>(c.r), 1e-12) << c.x << "," << c.y;
        EXPECT_NEAR(static_cast<double>(p.theta), static_cast<double>(c.theta), 1e-12) << c.x << "," << c.y;
        EXPECT_GE(p.theta, 0);
        EXPECT_LT(p.theta, 2 * kPi);
    }
}

TEST(Orbit, KeplerStateObeysTheTwoBodyLaws) {
    // vis-viva and the areal constant hold for the position and velocity of any ellipse
    struct Case {
        long double M, e, a;
    };
    const Case cases[] = {
        {0.3L, 0.0167L, 1.0L},  {2.5L, 0.2056L, 0.387L}, {4.0L, 0.0484L, 5.2L},
        {5.9L, 0.2480L, 39.5L}, {1.0L, 0.3823L, 13.67L},
    };
    for (const auto& c : cases) {
        const Kepler k = solveKepler(c.M, c.e, c.a);
        const long double r = std::hypot(k.px, k.py);
        const long double v2 = k.vx * k.vx + k.vy * k.vy;
        const long double mu = kGauss * kGauss;
        EXPECT_NEAR(static_cast<double>(v2 / (mu * (2 / r - 1 / c.a))), 1.0, 1e-15);
        const long double h = k.px * k.vy - k.py * k.vx;
        EXPECT_NEAR(static_cast<double>(h / (kGauss * std::sqrt(c.a * (1 - c.e * c.e)))), 1.0, 1e-15);
        EXPECT_NEAR(static_cast<double>(r), static_cast<double>(c.a * (1 - c.e * std::cos(k.E))), 1e-15 * c.a);
    }
}

TEST(Orbit, KeplerEquationConvergesForSmallEccentricity) {
    for (long double M = 0; M < 2 * kPi; M += 0.5L) {
        const Kepler k = solveKepler(M, 0.0167L, 1.0L);
        EXPECT_NEAR(static_cast<double>(k.E - 0.0167L * std::sin(k.E)), static_cast<double>(M), 1e-7);
    }
    const Kepler circle = solveKepler(1.2L, 0, 2.0L);
    EXPECT_NEAR(static_cast<double>(circle.px), 2 * std::cos(1.2), 1e-15);
    EXPECT_NEAR(static_cast<double>(circle.py), 2 * std::sin(1.2), 1e-15);
}

TEST(Orbit, RotationMatchesPerihelionInclinationNodeMatrix) {
    struct Case {
        long double x, y, w, i, N;
    };
    const Case cases[] = {
        {1, 0.5L, 0.3L, 0.1L, 1.7L},    {-0.4L, 2, 5.0L, 0.6L, 3.5L}, {0.7L, -0.7L, 1.1L, 0.03L, 0.2L},
        {-3, -1, 4.4L, 0.3L, 6.0L},     {0, 1, 0, kPi / 2, 0},        {2, 0, 0, 0, 0},
        {1.5L, 0.2L, 2.9L, 0.0L, 4.1L},
    };
    for (const auto& c : cases) {
        // Rz(N) Rx(i) Rz(w) applied to (x, y, 0)
        const long double x1 = c.x * std::cos(c.w) - c.y * std::sin(c.w);
        const long double y1 = c.x * std::sin(c.w) + c.y * std::cos(c.w);
        const long double y2 = y1 * std::cos(c.i), z = y1 * std::sin(c.i);
        const long double ex = x1 * std::cos(c.N) - y2 * std::sin(c.N);
        const long double ey = x1 * std::sin(c.N) + y2 * std::cos(c.N);
        const Vec3 v = rotateToEcliptic(c.x, c.y, c.w, c.i, c.N);
        const double tol = 1e-6;  // the tiny value stands in for exact zeros
        EXPECT_NEAR(static_cast<double>(v.x), static_cast<double>(ex), tol) << c.x << "," << c.y;
        EXPECT_NEAR(static_cast<double>(v.y), static_cast<double>(ey), tol) << c.x << "," << c.y;
        EXPECT_NEAR(static_cast<double>(v.z), static_cast<double>(z), tol) << c.x << "," << c.y;
    }
}

TEST(Orbit, PreparedRotationAgreesWithTheStepwiseOne) {
    // Angles of the theories (w, i, N > 0), vectors of every quadrant and a zero ordinate.
    struct Case {
        long double x, y, w, i, N;
    };
    const Case cases[] = {
        {0.39L, 0.05L, 0.51L, 0.122L, 0.84L}, {-5.1L, 1.2L, 4.77L, 0.023L, 1.75L},
        {28.9L, -9.4L, 4.96L, 0.031L, 2.28L}, {-0.7L, -0.2L, 8.2L, 0.3L, 6.1L},
        {1e-3L, -2e-3L, 1.7L, 0.0L, 0.0L},    {-0.98L, 0.0L, 1.77L, 0.0L, 0.0L},
        {2.7L, 0.0L, 2.5L, 0.61L, 3.0L},      {0.016L, -0.017L, 101.22L * kPi / 180, 0.0L, 0.0L},
    };
    for (const auto& c : cases) {
        const Rotation prepared = prepareRotation(c.w, c.i, c.N);
        EXPECT_TRUE(prepared.direct);
        const Vec3 a = rotateToEcliptic(c.x, c.y, prepared);
        // The stepwise way, forced by an angle it alone handles: whole turns off w leave it
        // negative and differ from w only by rounding.
        const long double negative = c.w - 2 * kPi * std::ceil(c.w / (2 * kPi));
        const Rotation stepwise = prepareRotation(negative, c.i, c.N);
        EXPECT_FALSE(stepwise.direct);
        const Vec3 b = rotateToEcliptic(c.x, c.y, stepwise);
        const long double scale = std::hypot(c.x, c.y);
        EXPECT_NEAR(static_cast<double>((a.x - b.x) / scale), 0.0, 1e-14) << c.x << "," << c.y;
        EXPECT_NEAR(static_cast<double>((a.y - b.y) / scale), 0.0, 1e-14) << c.x << "," << c.y;
        EXPECT_NEAR(static_cast<double>((a.z - b.z) / scale), 0.0, 1e-14) << c.x << "," << c.y;
    }
    // Out of the direct way's reach the stepwise one answers, the same as by angles.
    const Vec3 v = rotateToEcliptic(1.0L, 0.5L, -0.3L, 0.1L, 1.7L);
    const Vec3 w = rotateToEcliptic(1.0L, 0.5L, prepareRotation(-0.3L, 0.1L, 1.7L));
    EXPECT_EQ(v.x, w.x);
    EXPECT_EQ(v.y, w.y);
    EXPECT_EQ(v.z, w.z);
}

}  // namespace
}  // namespace athanor::orbit
