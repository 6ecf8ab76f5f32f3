#include "engine/CorrectionFixtures.h"
#include "engine/Positions.h"
#include "foundations/FileError.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include <sys/wait.h>

namespace athanor {
namespace {

constexpr long double kSentinel = -7777.0L;

class Driver : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        zero_ = std::make_unique<test::TempDir>();
        test::writeZeroCorrectionFiles(zero_->path());
    }
    static void TearDownTestSuite() { zero_.reset(); }

    static ChartState sentinelChart() {
        ChartState c;
        c.BodyLongitude.fill(kSentinel);
        c.BodyLatitude.fill(kSentinel);
        c.BodyRightAscension.fill(kSentinel);
        c.BodyDeclination.fill(kSentinel);
        return c;
    }

    static std::unique_ptr<test::TempDir> zero_;
};
std::unique_ptr<test::TempDir> Driver::zero_;

std::set<int> written(const BodyArray& a) {
    std::set<int> s;
    for (int i = 0; i < kBodySlots; ++i)
        if (a[i] != kSentinel) s.insert(i);
    return s;
}

std::set<int> range(int from, int to) {
    std::set<int> s;
    for (int i = from; i <= to; ++i) s.insert(i);
    return s;
}

TEST_F(Driver, EachSelectionWritesItsBodies) {
    CorrectionFiles files{DataRoot(zero_->path())};
    std::set<int> all = range(1, 19);
    std::set<int> allButEntry14 = all;
    allButEntry14.erase(body::Entry14);
    struct Case {
        int selection;
        const char* nodeKind;
        std::set<int> longitudes;  // also latitudes
        std::set<int> equatorial;
    };
    const Case cases[] = {
        {0, "MEDIO", allButEntry14, all},
        {0, "VERO", allButEntry14, all},
        {1, "VERO", {1}, {1}},
        {2, "VERO", {1, 2}, {1, 2}},
        {3, "VERO", {1, 3}, {1, 3}},
        {10, "VERO", {1, 10}, {1, 10}},
        {11, "MEDIO", {1, 11}, {1, 11}},
        {11, "VERO", {1, 2, 11}, {1, 2, 11}},  // the true node needs this instant's Sun and Moon
        {12, "VERO", {1, 12}, {1, 12}},
        {13, "VERO", {1}, {1}},
        {14, "VERO", {1}, {1}},
        {15, "VERO", {1, 15}, {1, 15}},
        {19, "VERO", {1, 19}, {1, 19}},
        {20, "VERO", range(1, 10), range(1, 10)},
        {21, "VERO", range(1, 10), range(1, 10)},
        {22, "VERO", {1}, {1}},
        {-1, "VERO", {}, {}},
    };
    for (const Case& c : cases) {
        ChartState chart = sentinelChart();
        chart.NodeKind = c.nodeKind;
        runDriver(chart, files, c.selection, false, 2451545.3L);
        std::set<int> latitudes = c.longitudes;
        if (c.selection == 0) latitudes.insert(body::Entry14);
        EXPECT_EQ(written(chart.BodyLongitude), c.longitudes) << "selection " << c.selection << " " << c.nodeKind;
        EXPECT_EQ(written(chart.BodyLatitude), latitudes) << "selection " << c.selection;
        EXPECT_EQ(written(chart.BodyRightAscension), c.equatorial) << "selection " << c.selection;
        EXPECT_EQ(written(chart.BodyDeclination), c.equatorial) << "selection " << c.selection;
    }
}

TEST_F(Driver, AngleEntriesComeFromTheLastHouses) {
    CorrectionFiles files{DataRoot(zero_->path())};
    ChartState chart = sentinelChart();
    chart.HouseCusp[0] = 100.25L;
    chart.HouseCusp[6] = 280.25L;
    const long double jd = 2451545.3L;
    runDriver(chart, files, kSelectAll, false, jd);
    const long double eps = makeEngineContext(jd).eps;
    long double ra = 0, dec = 0;

    EXPECT_EQ(chart.BodyLongitude[body::EngineAscendant], 100.25L);
    EXPECT_EQ(chart.BodyLatitude[body::EngineAscendant], 0.0L);
    equatorialFrom(100.25L, 0, eps, ra, dec);
    EXPECT_EQ(chart.BodyRightAscension[body::EngineAscendant], ra);
    EXPECT_EQ(chart.BodyDeclination[body::EngineAscendant], dec);

    EXPECT_EQ(chart.BodyLongitude[body::Entry14], kSentinel);
    EXPECT_EQ(chart.BodyLatitude[body::Entry14], 0.0L);
    equatorialFrom(280.25L, 0, eps, ra, dec);
    EXPECT_EQ(chart.BodyRightAscension[body::Entry14], ra);
    EXPECT_EQ(chart.BodyDeclination[body::Entry14], dec);
    EXPECT_LT(dec, 0);
}

TEST(Equatorial, QuadrantsAndTheSolstice) {
    const long double eps = 23.4392911L;
    struct Case {
        long double lon, lat, ra, dec;
    };
    const Case cases[] = {
        {90, 0, 90, eps},
        {270, 0, 270, -eps},
        {180, 0, 180, 0},
        {0, 0, 360, 0},  // y = 0 with x > 0 takes the "+ 360" branch
        {45, 0, 42.5358235L, 16.3360721L},
        {135, 0, 137.4641765L, 16.3360721L},
        {225, 0, 222.5358235L, -16.3360721L},
        {315, 0, 317.4641765L, -16.3360721L},
        {0, 10, 355.9879107L, 9.1673759L},
        // On the solstitial colure a high latitude crosses the pole: the other side's hour.
        {90, 80, 270, 76.5607089L},
        {270, 10, 270, -13.4392911L},
        {90, -30, 90, -6.5607089L},
    };
    for (const Case& c : cases) {
        long double ra = 0, dec = 0;
        equatorialFrom(c.lon, c.lat, eps, ra, dec);
        EXPECT_NEAR(static_cast<double>(ra), static_cast<double>(c.ra), 1e-6) << static_cast<double>(c.lon);
        EXPECT_NEAR(static_cast<double>(dec), static_cast<double>(c.dec), 1e-6) << static_cast<double>(c.lon);
    }
    // A retrograde mark does not change the position.
    ChartState chart;
    EngineContext ctx = makeEngineContext(2451545.0L);
    chart.BodyLongitude[5] = -45;
    equatorialCoordinates(chart, ctx, 5);
    long double ra = 0, dec = 0;
    equatorialFrom(45, 0, ctx.eps, ra, dec);
    EXPECT_EQ(chart.BodyRightAscension[5], ra);
    EXPECT_EQ(chart.BodyDeclination[5], dec);
}

TEST_F(Driver, WrapperMarksBodiesMovingBackwards) {
    CorrectionFiles files{DataRoot(zero_->path())};
    ChartState chart;
    chart.NodeKind = "MEDIO";
    for (long double jd = 2396758.5L; jd < 2481129.5L; jd += 811.37L) {
        positionsWithRetrograde(chart, files, kSelectAll, jd);
        EXPECT_GT(chart.BodyLongitude[body::Sun], 0) << static_cast<double>(jd);
        EXPECT_GT(chart.BodyLongitude[body::Moon], 0) << static_cast<double>(jd);
        EXPECT_LT(chart.BodyLongitude[body::Node], 0) << static_cast<double>(jd);
        EXPECT_GT(chart.BodyLongitude[body::BlackMoon], 0) << static_cast<double>(jd);
        // Entries 13 and 14 do not move between the two evaluations.
        EXPECT_GE(chart.BodyLongitude[body::EngineAscendant], 0);
    }
}

// Julian day at which a body, computed alone, passes `target` degrees, by bisection.
long double crossing(const CorrectionFiles& files, ChartState& chart, int b, long double lo, long double hi) {
    auto above = [&](long double jd) {
        runDriver(chart, files, b, false, jd);
        return chart.BodyLongitude[b] > 180;
    };
    const bool atLo = above(lo);
    for (int k = 0; k < 80; ++k) {
        const long double mid = (lo + hi) / 2;
        (above(mid) == atLo ? lo : hi) = mid;
    }
    return lo;
}

TEST_F(Driver, PassingZeroDegreesIsNotAMark) {
    CorrectionFiles files{DataRoot(zero_->path())};
    ChartState chart;
    chart.NodeKind = "MEDIO";
    // The Moon passes 0 degrees once a month: search one month of 2000.
    const long double moon0 = crossing(files, chart, body::Moon, 2451545.0L, 2451572.0L);
    // The mean node passes it going backwards in 2006.
    const long double node0 = crossing(files, chart, body::Node, 2453700.0L, 2454100.0L);
    for (const auto& [b, jd] : {std::pair{body::Moon, moon0}, std::pair{body::Node, node0}}) {
        runDriver(chart, files, b, false, jd);
        ASSERT_LT(std::min(chart.BodyLongitude[b], 360 - chart.BodyLongitude[b]), 1e-6L) << b;
    }
    struct Case {
        int b;
        long double jd;
        bool negative;
    };
    const Case cases[] = {
        {body::Moon, moon0 - 0.0005L, false},  // 359.99.. now, 0.00.. later: a forward pass
        {body::Moon, moon0 - 0.1L, false},
        {body::Node, node0 - 0.0005L, false},  // a backward pass through 0 is not seen either
        {body::Node, node0 - 0.1L, true},
        {body::Node, node0 + 0.1L, true},
    };
    for (const Case& c : cases) {
        positionsWithRetrograde(chart, files, c.b, c.jd);
        EXPECT_EQ(chart.BodyLongitude[c.b] < 0, c.negative) << c.b << " at " << static_cast<double>(c.jd);
    }
}

TEST_F(Driver, WrapperLeavesOtherBodiesAlone) {
    CorrectionFiles files{DataRoot(zero_->path())};
    ChartState chart;
    chart.BodyLongitude[body::Mars] = 123;
    chart.BodyLongitude[body::Node] = -45;  // a mark left from an earlier chart
    positionsWithRetrograde(chart, files, body::Sun, 2451545.0L);
    EXPECT_EQ(chart.BodyLongitude[body::Mars], 123);
    EXPECT_EQ(chart.BodyLongitude[body::Node], -45);
}

TEST_F(Driver, LatitudeCorrectionsAreSkippedInTheSpeedPassOnly) {
    // Mercury before 1900: one degree of longitude and half a degree of latitude.
    test::TempDir dir;
    test::FiveDayRecord fields;
    fields.field[1] = 60;
    fields.field[10] = 30;
    test::writeConstantFiveDayFile(dir.path(), fields);
    CorrectionFiles corrected{DataRoot(dir.path())}, bare{DataRoot(zero_->path())};
    const long double jd = 2400000.3L;

    ChartState plain, speed, wrapped;
    runDriver(plain, bare, body::Mercury, false, jd);
    runDriver(speed, corrected, body::Mercury, true, jd);
    positionsWithRetrograde(wrapped, corrected, body::Mercury, jd);

    auto shift = [&](long double lon) {
        long double d = std::fabs(lon) - plain.BodyLongitude[body::Mercury];
        return d - 360 * std::round(d / 360);
    };
    EXPECT_NEAR(static_cast<double>(shift(speed.BodyLongitude[body::Mercury])), 1.0, 1e-9);
    EXPECT_NEAR(static_cast<double>(shift(wrapped.BodyLongitude[body::Mercury])), 1.0, 1e-9);
    EXPECT_EQ(speed.BodyLatitude[body::Mercury], plain.BodyLatitude[body::Mercury]);
    EXPECT_NEAR(static_cast<double>(wrapped.BodyLatitude[body::Mercury] - plain.BodyLatitude[body::Mercury]), 0.5,
                1e-9);
}

TEST_F(Driver, WrapperEqualsItsTwoFullEvaluations) {
    // The wrapper's first evaluation computes only longitudes; what it leaves out, the
    // second writes. The result must be, to the bit, that of two full evaluations and the
    // marks, from a chart whose every value shows whether it was written.
    test::TempDir dir;
    test::writeZeroCorrectionFiles(dir.path());
    test::FiveDayRecord fields;
    for (int f = 1; f <= 17; ++f) fields.field[f] = 7 * f - 50;
    test::writeConstantFiveDayFile(dir.path(), fields);
    test::writeConstantMoonFile(dir.path(), 40);
    test::writeConstantApogeeFile(dir.path(), -900);
    CorrectionFiles files{DataRoot(dir.path())};
    auto start = [] {
        ChartState c = sentinelChart();
        c.HelioLongitude.fill(kSentinel);
        c.HelioLatitude.fill(kSentinel);
        c.EquationOfTime = kSentinel;
        c.HouseCusp[0] = 123.5L;
        c.HouseCusp[6] = 303.5L;
        return c;
    };
    for (const long double jd : {2300000.7L, 2400000.3L, 2451545.1L, 2466000.9L}) {
        for (const int selection : {0, 1, 2, 3, 6, 10, 11, 12, 13, 15, 19, 20, 21}) {
            for (const char* kind : {"VERO", "MEDIO"}) {
                ChartState expected = start(), actual = start();
                expected.NodeKind = actual.NodeKind = kind;
                runDriver(expected, files, selection, true, jd + 0.001L);
                const BodyArray later = expected.BodyLongitude;
                runDriver(expected, files, selection, false, jd);
                for (int i = 1; i <= 19; ++i) {
                    const long double now = expected.BodyLongitude[i];
                    if (later[i] < now && std::fabs(later[i] - now) < 5.0L) expected.BodyLongitude[i] = -now;
                }
                positionsWithRetrograde(actual, files, selection, jd);
                const auto where = [&] {
                    return "selection " + std::to_string(selection) + " at " + std::to_string(static_cast<double>(jd));
                };
                EXPECT_EQ(actual.BodyLongitude, expected.BodyLongitude) << where();
                EXPECT_EQ(actual.BodyLatitude, expected.BodyLatitude) << where();
                EXPECT_EQ(actual.BodyRightAscension, expected.BodyRightAscension) << where();
                EXPECT_EQ(actual.BodyDeclination, expected.BodyDeclination) << where();
                EXPECT_EQ(actual.HelioLongitude, expected.HelioLongitude) << where();
                EXPECT_EQ(actual.HelioLatitude, expected.HelioLatitude) << where();
                EXPECT_EQ(actual.EquationOfTime, expected.EquationOfTime) << where();
            }
        }
    }
}

TEST_F(Driver, NodeAndBlackMoonFilesAreReadOnlyWhenChosenAndInRange) {
    // Only the Moon's file: the true node must ask for the five-day file, the mean node not.
    test::TempDir moonOnly;
    test::writeConstantMoonFile(moonOnly.path(), 0);
    CorrectionFiles files{DataRoot(moonOnly.path())};
    struct Case {
        const char* nodeKind;
        long double jd;
        bool needsFiveDayFile;
    };
    const Case nodes[] = {
        {"VERO", 2451545.0L, true},  {"MEDIO", 2451545.0L, false},       {"vero", 2451545.0L, false},
        {"VERO", 1721433.5L, false}, {"VERO", 1721433.5L + 1e-6L, true}, {"VERO", 2499373.5L - 1e-6L, true},
        {"VERO", 2499373.5L, false},
    };
    for (const Case& c : nodes) {
        ChartState chart;
        chart.NodeKind = c.nodeKind;
        try {
            runDriver(chart, files, body::Node, false, c.jd);
            EXPECT_FALSE(c.needsFiveDayFile) << c.nodeKind << " " << static_cast<double>(c.jd);
        } catch (const FileError& e) {
            EXPECT_TRUE(c.needsFiveDayFile) << c.nodeKind << " " << static_cast<double>(c.jd);
            EXPECT_EQ(e.path().filename(), "DPR1.rnd");
        }
    }

    struct ApogeeCase {
        const char* kind;
        long double jd;
        bool needsFile;
    };
    const ApogeeCase apogees[] = {
        {"VERA", 2396758.5L - 1e-6L, false}, {"VERA", 2396758.5L, true},   {"VERA", 2488433.5L - 1e-6L, true},
        {"VERA", 2488433.5L, false},         {"MEDIA", 2451545.0L, false},
    };
    for (const ApogeeCase& c : apogees) {
        ChartState chart;
        chart.BlackMoonKind = c.kind;
        if (c.needsFile)
            EXPECT_THROW(runDriver(chart, files, body::BlackMoon, false, c.jd), FileError) << static_cast<double>(c.jd);
        else EXPECT_NO_THROW(runDriver(chart, files, body::BlackMoon, false, c.jd)) << static_cast<double>(c.jd);
    }
}

TEST_F(Driver, CorrectionsOfNodeAndBlackMoon) {
    test::TempDir dir;
    test::writeConstantMoonFile(dir.path(), 0);
    test::writeConstantApogeeFile(dir.path(), -7200);  // two degrees back
    test::FiveDayRecord fields;
    fields.field[9] = -90;  // a degree and a half back
    test::writeConstantFiveDayFile(dir.path(), fields);
    CorrectionFiles corrected{DataRoot(dir.path())}, bare{DataRoot(zero_->path())};

    for (long double jd : {2396758.5L, 2415020.5L, 2451545.0L, 2488433.4L}) {
        ChartState a, b;
        runDriver(a, bare, kSelectAll, false, jd);
        runDriver(b, corrected, kSelectAll, false, jd);
        auto diff = [](long double x, long double y) {
            long double d = x - y;
            return static_cast<double>(d - 360 * std::round(d / 360));
        };
        EXPECT_NEAR(diff(b.BodyLongitude[body::Node], a.BodyLongitude[body::Node]), -1.5, 1e-9);
        EXPECT_NEAR(diff(b.BodyLongitude[body::BlackMoon], a.BodyLongitude[body::BlackMoon]), -2.0, 1e-9);
        EXPECT_GE(b.BodyLongitude[body::Node], 0);
        EXPECT_LT(b.BodyLongitude[body::Node], 360);
        EXPECT_GE(b.BodyLongitude[body::BlackMoon], 0);
        EXPECT_LT(b.BodyLongitude[body::BlackMoon], 360);
    }
}

TEST(DriverBadInput, RemoteAndNonFiniteDaysNeitherCrashNorHang) {
    test::TempDir empty;  // outside every range no file is opened
    CorrectionFiles files{DataRoot(empty.path())};
    const long double inf = std::numeric_limits<long double>::infinity();
    for (long double jd :
         {std::numeric_limits<long double>::quiet_NaN(), inf, -inf, 1e300L, -1e300L, 1e4000L, 0.0L, -1e7L, 1e7L}) {
        ChartState chart;
        EXPECT_NO_THROW(positionsWithRetrograde(chart, files, kSelectAll, jd)) << static_cast<double>(jd);
        EXPECT_NO_THROW(positionsWithRetrograde(chart, files, 21, jd));
        chart.NodeKind = "MEDIO";
        chart.BlackMoonKind = "MEDIA";
        EXPECT_NO_THROW(positionsWithRetrograde(chart, files, body::Node, jd));
    }
}

// The command-line tool prints what the wrapper leaves.
std::string run(const std::string& args, int& status) {
    std::string out;
    FILE* p = popen((std::string(ATHANOR_CLI) + " " + args + " 2>&1").c_str(), "r");
    if (!p) return out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    status = WEXITSTATUS(pclose(p));
    return out;
}

long double jsonNumberAfter(const std::string& json, const std::string& key) {
    const auto at = json.find(key);
    if (at == std::string::npos) return std::numeric_limits<long double>::quiet_NaN();
    return std::strtold(json.c_str() + at + key.size(), nullptr);
}

TEST_F(Driver, CommandLinePositions) {
    CorrectionFiles files{DataRoot(zero_->path())};
    const std::string data = " --data " + zero_->path().string();
    int status = -1;

    std::string out = run("positions --jd 2451545.25 --node MEDIO --black-moon MEDIA" + data, status);
    ASSERT_EQ(status, 0) << out;
    ChartState chart;
    chart.NodeKind = "MEDIO";
    chart.BlackMoonKind = "MEDIA";
    positionsWithRetrograde(chart, files, kSelectAll, 2451545.25L);
    EXPECT_NE(out.find("\"jd\":2451545.25"), std::string::npos) << out;
    for (int i : {1, 2, 11, 12}) {
        const std::string entry = "{\"index\":" + std::to_string(i) + ",";
        const auto at = out.find(entry);
        ASSERT_NE(at, std::string::npos) << out;
        const std::string rest = out.substr(at);
        EXPECT_NEAR(static_cast<double>(jsonNumberAfter(rest, "\"longitude\":")),
                    static_cast<double>(chart.BodyLongitude[i]), 1e-12);
        EXPECT_NEAR(static_cast<double>(jsonNumberAfter(rest, "\"latitude\":")),
                    static_cast<double>(chart.BodyLatitude[i]), 1e-12);
        EXPECT_NEAR(static_cast<double>(jsonNumberAfter(rest, "\"rightAscension\":")),
                    static_cast<double>(chart.BodyRightAscension[i]), 1e-12);
        EXPECT_NEAR(static_cast<double>(jsonNumberAfter(rest, "\"declination\":")),
                    static_cast<double>(chart.BodyDeclination[i]), 1e-12);
    }
    EXPECT_NE(out.find("{\"index\":19,"), std::string::npos);
    EXPECT_EQ(out.find("{\"index\":20,"), std::string::npos);
    EXPECT_LT(jsonNumberAfter(out, "{\"index\":11,\"longitude\":"), 0);  // the mean node is retrograde

    out = run("positions --jd 2451545.25 --node MEDIO --no-retro --select 11" + data, status);
    ASSERT_EQ(status, 0) << out;
    EXPECT_NEAR(static_cast<double>(jsonNumberAfter(out, "{\"index\":11,\"longitude\":")),
                static_cast<double>(-chart.BodyLongitude[body::Node]), 1e-12);
    EXPECT_EQ(jsonNumberAfter(out, "{\"index\":2,\"longitude\":"), 0);  // not computed

    for (const char* bad : {"positions --jd 2451545 --select 22", "positions --jd 2451545 --select 1.5",
                            "positions --jd 2451545 --node vero", "positions --jd 2451545 --black-moon X",
                            "positions --select 1", "positions --jd x"}) {
        out = run(std::string(bad) + data, status);
        EXPECT_EQ(status, 2) << bad << ": " << out;
    }
    test::TempDir empty;
    out = run("positions --jd 2451545 --data " + empty.path().string(), status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(out.find("DSEL.rnd"), std::string::npos) << out;
}

}  // namespace
}  // namespace athanor
