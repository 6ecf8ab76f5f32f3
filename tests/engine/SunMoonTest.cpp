#include "engine/CorrectionFixtures.h"
#include "engine/Positions.h"
#include "foundations/FileError.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace athanor {
namespace {

struct SunMoon {
    long double sunLon, sunLat, moonLon, moonLat, moonRa, moonDec;
};

SunMoon sunAndMoon(const CorrectionFiles& files, long double jd) {
    ChartState chart;
    EngineContext ctx = makeEngineContext(jd);
    ctx.files = &files;
    sunStep(chart, ctx);
    moonStep(chart, ctx);
    return {chart.BodyLongitude[body::Sun], chart.BodyLatitude[body::Sun],        chart.BodyLongitude[body::Moon],
            chart.BodyLatitude[body::Moon], chart.BodyRightAscension[body::Moon], chart.BodyDeclination[body::Moon]};
}

TEST(Moon, DailyCorrectionMovesTheLongitudeOnly) {
    test::TempDir zero, shifted;
    test::writeZeroCorrectionFiles(zero.path());
    test::writeConstantMoonFile(shifted.path(), 1800);  // half a degree
    CorrectionFiles bare{DataRoot(zero.path())}, corrected{DataRoot(shifted.path())};

    for (long double jd : {1721422.6L, 2299160.5L, 2415020.25L, 2451545.0L, 2469807.75L, 2499373.4L}) {
        const SunMoon a = sunAndMoon(bare, jd), b = sunAndMoon(corrected, jd);
        long double shift = b.moonLon - a.moonLon;
        if (shift < -180) shift += 360;
        EXPECT_NEAR(static_cast<double>(shift), 0.5, 1e-12) << static_cast<double>(jd);
        // The latitude series reads the longitude before its correction.
        EXPECT_EQ(a.moonLat, b.moonLat) << static_cast<double>(jd);
        EXPECT_EQ(a.sunLon, b.sunLon);
        EXPECT_NE(a.moonRa, b.moonRa);  // equatorial coordinates follow the corrected longitude
        EXPECT_EQ(a.sunLat, 0.0L);
        EXPECT_LT(std::fabs(a.moonLat), 5.35L);
    }
}

TEST(Moon, CorrectionFileIsReadOnlyInsideItsRange) {
    test::TempDir empty;
    CorrectionFiles files{DataRoot(empty.path())};
    struct Case {
        long double jd;
        bool readsFile;
    };
    const Case cases[] = {
        {1721422.5L, false}, {1721422.5L + 1e-6L, true}, {2499373.5L - 1e-6L, true},
        {2499373.5L, false}, {1000000.0L, false},        {std::numeric_limits<long double>::quiet_NaN(), false},
    };
    for (const Case& c : cases) {
        if (c.readsFile) EXPECT_THROW(sunAndMoon(files, c.jd), FileError) << static_cast<double>(c.jd);
        else EXPECT_NO_THROW(sunAndMoon(files, c.jd)) << static_cast<double>(c.jd);
    }
}

TEST(Sun, StepLeavesTheEarthVectorForThePlanets) {
    test::TempDir empty;
    CorrectionFiles files{DataRoot(empty.path())};
    // Near perihelion (early January) and aphelion (early July) of 2000.
    struct Case {
        long double jd, distance;
    };
    const Case cases[] = {{2451547.5L, 0.98333L}, {2451730.5L, 1.01668L}};
    for (const Case& c : cases) {
        ChartState chart;
        EngineContext ctx = makeEngineContext(c.jd);
        ctx.files = &files;
        sunStep(chart, ctx);
        const long double r = std::hypot(ctx.XE, ctx.YE);
        EXPECT_NEAR(static_cast<double>(r), static_cast<double>(c.distance), 2e-4);
        EXPECT_EQ(ctx.ZE, 0.0L);
        // The Sun seen from the Earth lies opposite the Earth seen from the Sun, and its
        // velocity is the Earth's reversed: it turns the same way, about a degree a day.
        const long double towardsSun = std::atan2(-ctx.YE, -ctx.XE) * 180 / 3.14159265358979323846L;
        long double gap = chart.BodyLongitude[body::Sun] - towardsSun;
        gap -= 360 * std::round(gap / 360);
        EXPECT_LT(std::fabs(gap), 0.02L);
        const long double rate = (-ctx.XE * ctx.sunVY + ctx.YE * ctx.sunVX) / (r * r) * 180 / 3.14159265358979323846L;
        EXPECT_NEAR(static_cast<double>(rate), 0.9856 * (1.0 / (c.distance * c.distance)), 0.002);
    }
}

}  // namespace
}  // namespace athanor
