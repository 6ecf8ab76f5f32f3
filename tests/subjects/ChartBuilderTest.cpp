#include "subjects/SubjectChart.h"
#include "engine/Positions.h"
#include "foundations/Calendar.h"
#include "foundations/FileError.h"
#include "subjects/SubjectFiles.h"
#include "subjects/SubjectFixtures.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sys/wait.h>

namespace athanor {
namespace {

using test::TempDir;

class ChartBuilderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<TempDir>();
        test::writeZeroCorrectionFiles(dir_->path());
        files_ = std::make_unique<CorrectionFiles>(DataRoot(dir_->path()));
    }
    static void TearDownTestSuite() {
        files_.reset();
        dir_.reset();
    }
    static const CorrectionFiles& files() { return *files_; }
    static DataRoot root() { return DataRoot(dir_->path()); }

    static ChartState build(const std::string& stamp, const std::string& coord, const std::string& calendar = "GR",
                            ChartVariant variant = ChartVariant::MainWindow) {
        ChartState chart;
        buildChart(chart, files(), {stamp, coord, calendar}, variant);
        return chart;
    }

    static inline std::unique_ptr<TempDir> dir_;
    static inline std::unique_ptr<CorrectionFiles> files_;
};

TEST_F(ChartBuilderTest, DecodesTheSubjectAndComputesTheUniversalJulianDay) {
    const ChartState c = build("200001011300-1", "41N54-012E29");
    EXPECT_EQ(c.Day, 1);
    EXPECT_EQ(c.Month, 1);
    EXPECT_EQ(c.Year, 2000);
    EXPECT_EQ(c.Hour, 13);
    EXPECT_EQ(c.Minute, 0);
    EXPECT_EQ(c.TimeCorrection, -1);
    EXPECT_EQ(c.LatitudeDegrees, 41);
    EXPECT_EQ(c.LatitudeMinutes, 54);
    EXPECT_EQ(c.LatitudeHemisphere, 'N');
    EXPECT_EQ(c.LongitudeDegrees, 12);
    EXPECT_EQ(c.LongitudeMinutes, 29);
    EXPECT_EQ(c.LongitudeSide, 'E');
    EXPECT_EQ(c.CalendarFlag, 1);
    EXPECT_DOUBLE_EQ(static_cast<double>(c.ChartJulianDay), 2451545.0);
    EXPECT_EQ(c.JdText, "JD=2451545.0000");

    // Either decimal separator, the whole correction, and 0 for an unreadable one.
    EXPECT_DOUBLE_EQ(static_cast<double>(build("200001011300-5.5", "41N54-012E29").TimeCorrection), -5.5);
    EXPECT_DOUBLE_EQ(static_cast<double>(build("200001011300+10,75", "41N54-012E29").TimeCorrection), 10.75);
    EXPECT_EQ(build("200001011300+x", "41N54-012E29").TimeCorrection, 0);
    // Anything but "GR" is the Julian calendar: 13 days later in 2000.
    const ChartState julian = build("200001011300-1", "41N54-012E29", "GI");
    EXPECT_EQ(julian.CalendarFlag, 0);
    EXPECT_DOUBLE_EQ(static_cast<double>(julian.ChartJulianDay), 2451545.0 + 13);
}

TEST_F(ChartBuilderTest, ChartOrderHoldsNodesAndAnglesWithEqualHouses) {
    for (const char* coord : {"41N54-012E29", "33S52-151E12", "64N08-021W56"}) {
        const ChartState c = build("199003211430-1", coord);
        SCOPED_TRACE(coord);
        EXPECT_EQ(c.HouseSystem, "CASE_MEDIE");
        EXPECT_EQ(c.HouseMode, 1);
        for (int k = 0; k < 12; ++k)
            EXPECT_NEAR(static_cast<double>(c.HouseCusp[k]),
                        static_cast<double>(normalize360(c.HouseCusp[0] + 30.0L * k)), 1e-9);
        EXPECT_EQ(c.BodyLongitude[body::Ascendant], c.HouseCusp[0]);
        EXPECT_NEAR(static_cast<double>(c.BodyLongitude[body::Midheaven]),
                    static_cast<double>(c.MidheavenRadians * 180.0L / 3.14159265358979323846L), 1e-9);
        EXPECT_NEAR(static_cast<double>(c.BodyLongitude[body::SouthNode]),
                    static_cast<double>(normalize360(c.BodyLongitude[body::NorthNode] + 180)), 1e-12);
        for (int i = body::NorthNode; i <= body::Midheaven; ++i) EXPECT_EQ(c.BodyLatitude[i], 0) << i;
        for (int i = 1; i <= 22; ++i) {
            EXPECT_GE(c.BodyLongitude[i], 0) << i;
            EXPECT_LT(c.BodyLongitude[i], 360) << i;
            EXPECT_EQ(c.BodySign[i], signOf(c.BodyLongitude[i])) << i;
            EXPECT_EQ(c.BodyHouse[i], meanHouseOf(c.BodyLongitude[i], c.HouseCusp)) << i;
            EXPECT_TRUE(c.RetroMark[i] == 'r' || c.RetroMark[i] == ' ') << i;
            if (i >= 10) {
                EXPECT_EQ(c.RetroMark[i], ' ') << i;
            }
        }
        for (int k = 1; k <= 12; ++k) EXPECT_EQ(c.CuspSign[k], signOf(c.HouseCusp[k - 1]));
    }
}

TEST_F(ChartBuilderTest, MarksFollowTheEngineAndTheNodeAlone) {
    // Find a day when Uranus is retrograde and the true node is direct, from the engine's
    // own signs, then check that the chart marks follow the node and leave Uranus unmarked.
    ChartState probe;
    probe.NodeKind = "VERO";
    const long double start = julianDayFromCivil(1, 0, 12, 1990, 1, 1).jd;
    long double found = 0;
    for (int day = 0; day < 400 && found == 0; day += 3) {
        positionsWithRetrograde(probe, files(), kSelectAll, start + day);
        if (probe.BodyLongitude[body::Uranus] < 0 && probe.BodyLongitude[body::Node] > 0) found = start + day;
    }
    ASSERT_NE(found, 0) << "no day with a retrograde Uranus and a direct node";
    positionsWithRetrograde(probe, files(), kSelectAll, found);
    const CivilDate d = civilFromJulianDay(found, true);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d%02d%02d+0", static_cast<int>(d.year), static_cast<int>(d.month),
                  static_cast<int>(d.day), static_cast<int>(d.hour), static_cast<int>(d.minute));
    const ChartState c = build(stamp, "41N54-012E29");
    EXPECT_EQ(c.RetroMark[body::NorthNode], ' ');
    EXPECT_EQ(c.RetroMark[body::SouthNode], ' ');
    EXPECT_NEAR(static_cast<double>(c.BodyLongitude[body::NorthNode]),
                static_cast<double>(probe.BodyLongitude[body::Node]), 1e-9);
    for (int i = 1; i <= 7; ++i) EXPECT_EQ(c.RetroMark[i], probe.BodyLongitude[i] < 0 ? 'r' : ' ') << i;
    EXPECT_EQ(c.RetroMark[body::Sun], ' ');

    // The mean node always moves backwards: both nodes marked.
    ChartState mean;
    mean.NodeKind = "MEDIO";
    buildChart(mean, files(), {stamp, "41N54-012E29", "GR"});
    EXPECT_EQ(mean.RetroMark[body::NorthNode], 'r');
    EXPECT_EQ(mean.RetroMark[body::SouthNode], 'r');
}

TEST_F(ChartBuilderTest, MinorBodiesOnlyBetween1850And2080) {
    const ChartState old = build("184006151200+0", "41N54-012E29");
    EXPECT_FALSE(old.AsteroidsValid);
    for (int i = kFirstAsteroid; i <= kLastAsteroid; ++i) {
        EXPECT_EQ(old.BodyLongitude[i], 0) << i;
        EXPECT_EQ(old.RetroMark[i], ' ') << i;
    }
    for (int i = body::Sun; i <= body::Saturn; ++i) EXPECT_GT(old.BodyLongitude[i], 0) << i;

    const ChartState recent = build("199003211430-1", "41N54-012E29");
    EXPECT_TRUE(recent.AsteroidsValid);
    for (int i = kFirstAsteroid; i <= kLastAsteroid; ++i) EXPECT_GT(recent.BodyLongitude[i], 0) << i;

    // The limit is the universal time: local 1 January 1850 0:30 one hour east is still 1849.
    EXPECT_EQ(build("185001010030-1", "41N54-012E29").BodyLongitude[kFirstAsteroid], 0);
}

TEST_F(ChartBuilderTest, BothVariantsAndTheCurrentSubjectGiveTheSameChart) {
    const ChartState main = build("199003211430-1", "41N54-012E29");
    const ChartState analysis = build("199003211430-1", "41N54-012E29", "GR", ChartVariant::Analysis);
    EXPECT_EQ(main.BodyLongitude, analysis.BodyLongitude);
    EXPECT_EQ(main.HouseCusp, analysis.HouseCusp);
    EXPECT_EQ(main.HouseSystem, analysis.HouseSystem);

    BirthRecord r = BirthRecord::blank();
    r.birthStamp = "199003211430-1";
    r.placeText = "41N54-012E29ROMA";
    r.calendarCode = "GR";
    storeCurrent(root(), "ROSSI", r);
    ChartState current;
    buildCurrentChart(current, files());
    EXPECT_EQ(current.BodyLongitude, main.BodyLongitude);
    EXPECT_EQ(current.RetroMark, main.RetroMark);
}

TEST_F(ChartBuilderTest, MissingCorrectionFilesAbortTheBuild) {
    TempDir empty;
    CorrectionFiles none{DataRoot(empty.path())};
    ChartState c;
    EXPECT_THROW(buildChart(c, none, {"199003211430-1", "41N54-012E29", "GR"}), FileError);
}

TEST_F(ChartBuilderTest, SunriseIsFoundInTheMorningAndTheChartIsLeftAlone) {
    ChartState c = build("199003211430-1", "41N54-012E29");
    const ChartState before = c;
    c.LocalSiderealTime = -1;  // the one value the search may change
    const long double rise = sunriseSearch(c, files());

    EXPECT_EQ(c.BodyLongitude, before.BodyLongitude);
    EXPECT_EQ(c.BodyLatitude, before.BodyLatitude);
    EXPECT_EQ(c.BodyRightAscension, before.BodyRightAscension);
    EXPECT_EQ(c.HouseCusp, before.HouseCusp);
    EXPECT_EQ(c.MidheavenRadians, before.MidheavenRadians);
    EXPECT_EQ(c.AscendantRadians, before.AscendantRadians);
    EXPECT_EQ(c.AsteroidsValid, before.AsteroidsValid);
    EXPECT_NE(c.LocalSiderealTime, -1);

    // In Rome at the equinox the Sun's degree rises at about 5:17 UT (no refraction).
    const long double midnightUt = julianDayFromCivil(1, 0, 0, 1990, 3, 21).jd;
    EXPECT_NEAR(static_cast<double>((rise - midnightUt) * 24), 5.28, 0.15);

    // Sydney, in its standard time (UT + 10): about 4:45 at the December solstice and
    // 7:00 at the June one, whatever summer time the subject's correction holds.
    struct Case {
        const char* stamp;
        double hour;
    } cases[] = {{"199012211200-11", 4.75}, {"199006211200-10", 7.0}};
    for (const auto& k : cases) {
        ChartState sydney = build(k.stamp, "33S52-151E12");
        const long double r = sunriseSearch(sydney, files());
        EXPECT_NEAR(static_cast<double>(Frac(r + 0.5L + 10.0L / 24) * 24), k.hour, 0.2) << k.stamp;
    }
}

TEST_F(ChartBuilderTest, SemiArcPointsAreThePlacidusDivisions) {
    HouseInput in;
    in.longitudeDegrees = 12;
    in.longitudeMinutes = 29;
    in.longitudeSide = 'E';
    in.latitudeDegrees = 41;
    in.latitudeMinutes = 54;
    in.latitudeHemisphere = 'N';
    in.hour = 14;
    in.minute = 30;
    in.offset2 = -1;
    in.jd = julianDayFromCivil(1, 30, 13, 1990, 3, 21).jd;

    ChartState placidus;
    placidus.HouseSystem = "PLACIDO";
    computeHouses(placidus, in);

    ChartState c;
    const auto p = semiArcHourPoints(c, in);
    EXPECT_EQ(c.LocalSiderealTime, placidus.LocalSiderealTime);
    const auto& cusp = placidus.HouseCusp;
    EXPECT_NEAR(static_cast<double>(p[7]), static_cast<double>(cusp[9]), 1e-9);   // P(0): MC
    EXPECT_NEAR(static_cast<double>(p[5]), static_cast<double>(cusp[10]), 1e-9);  // P(1/3): cusp 11
    EXPECT_NEAR(static_cast<double>(p[3]), static_cast<double>(cusp[11]), 1e-9);  // P(2/3): cusp 12
    EXPECT_NEAR(static_cast<double>(p[1]), static_cast<double>(cusp[0]), 0.05);   // P(1): the ascendant
    EXPECT_NEAR(static_cast<double>(p[23]), static_cast<double>(cusp[1]), 1e-9);  // P(-2/3) + 180: cusp 2
    EXPECT_NEAR(static_cast<double>(p[21]), static_cast<double>(cusp[2]), 1e-9);  // P(-1/3) + 180: cusp 3
    for (int k = 8; k <= 12; ++k)
        EXPECT_NEAR(static_cast<double>(p[k]), static_cast<double>(normalize360(p[k + 12] + 180)), 1e-9) << k;
    for (int k = 13; k <= 19; ++k)
        EXPECT_NEAR(static_cast<double>(p[k]), static_cast<double>(normalize360(p[k - 12] + 180)), 1e-9) << k;
    EXPECT_EQ(p[25], p[1]);
    EXPECT_EQ(p[0], p[24]);
    // From the ascendant over the MC the points run backwards through the zodiac, each
    // day hour a sixth of the diurnal arc.
    for (int k = 1; k < 7; ++k) {
        long double step = p[k] - p[k + 1];
        if (step < 0) step += 360;
        EXPECT_GT(step, 5) << k;
        EXPECT_LT(step, 40) << k;
    }
}

}  // namespace
}  // namespace athanor

namespace athanor {
namespace {

struct CliRun {
    int status = 0;
    std::string out;
};

CliRun runCli(const std::string& args) {
    CliRun r;
    FILE* p = popen((std::string(ATHANOR_CLI) + " " + args + " 2>&1").c_str(), "r");
    if (!p) return {-1, ""};
    char buf[4096];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    r.status = pclose(p);
    return r;
}

std::size_t occurrences(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (auto pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1)) ++count;
    return count;
}

TEST(ChartCli, PrintsTheChartStateAsJson) {
    TempDir dir;
    test::writeZeroCorrectionFiles(dir.path());
    const std::string data = " --data '" + dir.path().string() + "'";
    const CliRun r = runCli("chart --stamp 200001011300-1 --coord 41N54-012E29" + data);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("\"julianDay\":2451545,"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"jdText\":\"JD=2451545.0000\""), std::string::npos);
    EXPECT_NE(r.out.find("\"timeCorrection\":-1,"), std::string::npos);
    EXPECT_EQ(occurrences(r.out, "\"index\":"), 22u);
    EXPECT_NE(r.out.find("{\"index\":6,\"name\":\"J\xC3\xBApiter\""), std::string::npos);
    EXPECT_NE(r.out.find("\"retro\":\"r\""), std::string::npos);  // at least the mean or true node
    EXPECT_NE(r.out.find("\"cusps\":["), std::string::npos);

    // The same chart as the builder gives.
    ChartState c;
    buildChart(c, CorrectionFiles(DataRoot(dir.path())), {"200001011300-1", "41N54-012E29", "GR"});
    char sun[64];
    std::snprintf(sun, sizeof sun, "\"longitude\":%.17Lg,", c.BodyLongitude[1]);
    EXPECT_NE(r.out.find(sun), std::string::npos) << sun;

    const CliRun julian = runCli("chart --stamp 200001011300-1 --coord 41N54-012E29 --calendar GI" + data);
    EXPECT_NE(julian.out.find("\"julianDay\":2451558,"), std::string::npos) << julian.out;

    for (const char* bad : {"--stamp 2000 --coord 41N54-012E29", "--stamp 200001011300-1 --coord 41N99-012E29",
                            "--stamp 200001011300-1 --coord 41N54-012E29 --calendar XX"})
        EXPECT_EQ(WEXITSTATUS(runCli(std::string("chart ") + bad + data).status), 2) << bad;

    TempDir empty;
    const CliRun missing =
        runCli("chart --stamp 200001011300-1 --coord 41N54-012E29 --data '" + empty.path().string() + "'");
    EXPECT_EQ(WEXITSTATUS(missing.status), 1) << missing.out;
}

}  // namespace
}  // namespace athanor
