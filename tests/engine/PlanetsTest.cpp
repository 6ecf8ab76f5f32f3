#include "engine/CorrectionFixtures.h"
#include "engine/Positions.h"
#include "foundations/FileError.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <limits>
#include <memory>
#include <stdexcept>

namespace athanor {
namespace {

const int kAllBodies[] = {3, 4, 5, 6, 7, 8, 9, 10, 15, 16, 17, 18, 19};

bool isOuterPlanet(int b) { return b >= body::Jupiter && b <= body::Pluto; }

double arcDiff(long double a, long double b) {
    long double d = std::fmod(a - b, 360.0L);
    if (d > 180) d -= 360;
    if (d < -180) d += 360;
    return static_cast<double>(d);
}

class Planets : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        zeroDir_ = std::make_unique<test::TempDir>();
        test::writeZeroCorrectionFiles(zeroDir_->path());
        zeros_ = std::make_unique<CorrectionFiles>(DataRoot(zeroDir_->path()));
    }
    static void TearDownTestSuite() {
        zeros_.reset();
        zeroDir_.reset();
    }

    static ChartState at(long double jd, bool speedPass = false, const CorrectionFiles* files = nullptr) {
        ChartState chart;
        runDriver(chart, files ? *files : *zeros_, kSelectAll, speedPass, jd);
        return chart;
    }

    // Longitude change of body b across [jd - 1e-6, jd] and across [jd, jd + 1e-6] (degrees);
    // the motion over a micro-day is below 1e-5 degrees for every body.
    static std::pair<double, double> jumps(int b, long double jd) {
        const long double before = at(jd - 1e-6L).BodyLongitude[b], now = at(jd).BodyLongitude[b],
                          after = at(jd + 1e-6L).BodyLongitude[b];
        return {std::fabs(arcDiff(now, before)), std::fabs(arcDiff(after, now))};
    }

    static std::unique_ptr<test::TempDir> zeroDir_;
    static std::unique_ptr<CorrectionFiles> zeros_;
};
std::unique_ptr<test::TempDir> Planets::zeroDir_;
std::unique_ptr<CorrectionFiles> Planets::zeros_;

constexpr double kSmooth = 1e-5;    // degrees: the motion within a micro-day
constexpr double kSwitched = 1e-3;  // degrees: a change of theory

TEST_F(Planets, OlderElementsEndAtTMinusTwo) {
    const long double tMinusTwo = 2341970.0L;  // noon, 29 December 1699
    for (int b : kAllBodies) {
        const auto [before, after] = jumps(b, tMinusTwo);
        if (isOuterPlanet(b))
            EXPECT_GT(before, kSwitched) << "body " << b << ": the newer set must start at T = -2 exactly";
        else EXPECT_LT(before, kSmooth) << "body " << b << " has one element set";
        EXPECT_LT(after, kSmooth) << "body " << b;
    }
}

TEST_F(Planets, PerturbationsHoldFromTZeroToTTwoInclusive) {
    const long double tZero = 2415020.0L, tTwo = 2488070.0L;
    for (int b : kAllBodies) {
        const auto [intoZero, afterZero] = jumps(b, tZero);
        const auto [intoTwo, afterTwo] = jumps(b, tTwo);
        if (isOuterPlanet(b)) {
            EXPECT_GT(intoZero, kSwitched) << "body " << b << ": perturbed from T = 0 on";
            EXPECT_GT(afterTwo, kSwitched) << "body " << b << ": unperturbed just after T = 2";
        } else {
            EXPECT_LT(intoZero, kSmooth) << "body " << b;
            EXPECT_LT(afterTwo, kSmooth) << "body " << b;
        }
        EXPECT_LT(afterZero, kSmooth) << "body " << b;
        EXPECT_LT(intoTwo, kSmooth) << "body " << b << ": still perturbed at T = 2 exactly";
    }
}

TEST_F(Planets, FiveDayCorrectionsApplyToThePlanetsBefore1900) {
    test::TempDir dir;
    test::FiveDayRecord fields;
    // longitudes of Mercury..Neptune (8-bit), Pluto (16-bit); node; latitudes likewise
    const int lon[] = {0, 10, 20, -30, 40, -50, 60, -128, -1000};
    const int lat[] = {0, 1, -2, 3, -4, 5, 127, -7, 300};
    for (int k = 1; k <= 8; ++k) {
        fields.field[k] = lon[k];
        fields.field[k + 9] = lat[k];
    }
    fields.field[9] = 99;
    test::writeZeroCorrectionFiles(dir.path());
    test::writeConstantFiveDayFile(dir.path(), fields);
    const CorrectionFiles crafted{DataRoot(dir.path())};

    for (long double jd : {1721423.5L, 2000000.25L, 2400000.7L, 2415020.4L}) {
        for (bool speedPass : {false, true}) {
            const ChartState plain = at(jd, speedPass), corrected = at(jd, speedPass, &crafted);
            for (int b : kAllBodies) {
                const bool planet = b <= body::Pluto;
                const double dLon = planet ? lon[b - 2] / 60.0 : 0;
                const double dLat = planet && !speedPass ? lat[b - 2] / 60.0 : 0;
                EXPECT_NEAR(arcDiff(corrected.BodyLongitude[b], plain.BodyLongitude[b]), dLon, 1e-9)
                    << "body " << b << " JD " << static_cast<double>(jd) << (speedPass ? " speed pass" : "");
                EXPECT_NEAR(static_cast<double>(corrected.BodyLatitude[b] - plain.BodyLatitude[b]), dLat, 1e-9)
                    << "body " << b << " JD " << static_cast<double>(jd) << (speedPass ? " speed pass" : "");
                EXPECT_GE(corrected.BodyLongitude[b], 0);
                EXPECT_LT(corrected.BodyLongitude[b], 360);
            }
        }
    }
    // from 1900 on the file plays no part
    const ChartState plain = at(2415020.5L), corrected = at(2415020.5L, false, &crafted);
    for (int b : kAllBodies) {
        EXPECT_EQ(corrected.BodyLongitude[b], plain.BodyLongitude[b]) << b;
        EXPECT_EQ(corrected.BodyLatitude[b], plain.BodyLatitude[b]) << b;
    }
}

TEST_F(Planets, FiveDayFileIsOpenedOnlyFromYearOneTo1899) {
    test::TempDir empty;
    const CorrectionFiles none{DataRoot(empty.path())};
    struct Case {
        long double jd;
        bool needsFile;
    };
    const Case cases[] = {
        {1721423.4L, false}, {1721423.5L, true}, {2415020.4L, true}, {2415020.5L, false}, {2451545.0L, false},
    };
    for (const Case& c : cases) {
        for (int b : kAllBodies) {
            ChartState chart;
            const bool needs = c.needsFile && b <= body::Pluto;
            if (needs)
                EXPECT_THROW(runDriver(chart, none, b, false, c.jd), FileError)
                    << b << " " << static_cast<double>(c.jd);
            else EXPECT_NO_THROW(runDriver(chart, none, b, false, c.jd)) << b << " " << static_cast<double>(c.jd);
        }
    }
}

TEST_F(Planets, SideBySideEqualsOneAtATime) {
    // The driver computes all bodies in one batch; each must come out to the last bit as
    // when computed alone: before 1700, with the five-day file, with perturbations.
    for (const long double jd : {2250000.3L, 2400000.7L, 2451545.1L, 2466000.9L}) {
        for (const bool speedPass : {false, true}) {
            EngineContext ctx = makeEngineContext(jd);
            ctx.files = zeros_.get();
            ctx.speedPass = speedPass;
            ChartState together, alone;
            sunStep(together, ctx);
            planetSteps(together, ctx, kAllBodies, static_cast<int>(std::size(kAllBodies)));
            for (const int b : kAllBodies) planetStep(alone, ctx, b);
            for (const int b : kAllBodies) {
                EXPECT_EQ(together.BodyLongitude[b], alone.BodyLongitude[b]) << b << " at " << static_cast<double>(jd);
                EXPECT_EQ(together.BodyLatitude[b], alone.BodyLatitude[b]) << b;
                EXPECT_EQ(together.BodyRightAscension[b], alone.BodyRightAscension[b]) << b;
                EXPECT_EQ(together.BodyDeclination[b], alone.BodyDeclination[b]) << b;
                EXPECT_EQ(together.HelioLongitude[b], alone.HelioLongitude[b]) << b;
                EXPECT_EQ(together.HelioLatitude[b], alone.HelioLatitude[b]) << b;
            }
        }
    }
    EngineContext ctx = makeEngineContext(2451545.0L);
    ChartState chart;
    const int wrong[] = {3, 11};
    EXPECT_THROW(planetSteps(chart, ctx, wrong, 2), std::invalid_argument);
}

TEST_F(Planets, RemoteAndUndefinedDaysNeitherCrashNorHang) {
    test::TempDir empty;
    const CorrectionFiles none{DataRoot(empty.path())};
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    const long double inf = std::numeric_limits<long double>::infinity();
    for (long double jd : {nan, inf, -inf, 1e12L, -1e12L, 3e6L}) {
        for (int b : kAllBodies) {
            ChartState chart;
            EXPECT_NO_THROW(runDriver(chart, none, b, false, jd)) << b;
            const long double lon = chart.BodyLongitude[b];
            EXPECT_FALSE(std::isinf(lon)) << b;
            if (std::isfinite(jd) && std::fabs(jd) < 1e7L) {
                EXPECT_GE(lon, 0);
                EXPECT_LT(lon, 360);
                EXPECT_LE(std::fabs(chart.BodyLatitude[b]), 90);
            }
        }
    }
}

}  // namespace
}  // namespace athanor
