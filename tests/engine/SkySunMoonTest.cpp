// The Sun, the Moon, the nodes and the mean apogee against the Swiss Ephemeris, with
// all-zero correction files, over 1900-2100. A mistyped coefficient passes every test
// written from the same reading of the tables; the sky does not.
#include "engine/CorrectionFixtures.h"
#include "engine/Positions.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <swephexp.h>

#include <cmath>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

namespace athanor {
namespace {

struct Deviation {
    const char* name;
    const char* unit = "\"";
    double max = 0, sumsq = 0, maxAt = 0;
    int n = 0;
    void add(double dev, double jd) {
        sumsq += dev * dev;
        ++n;
        if (std::fabs(dev) > max) {
            max = std::fabs(dev);
            maxAt = jd;
        }
    }
    double rms() const { return n ? std::sqrt(sumsq / n) : 0; }
};

// Difference of two longitudes in arc-seconds, in (-648000, 648000].
double arcsec(long double ours, double theirs) {
    double d = static_cast<double>(ours) - theirs;
    d -= 360.0 * std::round(d / 360.0);
    return d * 3600.0;
}

class Sky : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<test::TempDir>();
        test::writeZeroCorrectionFiles(dir_->path());
        swe_set_ephe_path(const_cast<char*>("/usr/share/libswe/ephe"));
    }
    static void TearDownTestSuite() {
        swe_close();
        dir_.reset();
    }

    // The reference: apparent ecliptic position of date at the given instant.
    static void reference(double jd, int ipl, int flags, double out[6], bool universalTime = false) {
        char err[256] = "";
        const int r = universalTime ? swe_calc_ut(jd, ipl, flags, out, err) : swe_calc(jd, ipl, flags, out, err);
        ASSERT_GE(r, 0) << err;
    }

    static std::unique_ptr<test::TempDir> dir_;
};
std::unique_ptr<test::TempDir> Sky::dir_;

// 1900-01-01 to 2100-01-01 in steps that sweep the time of day and the lunar phases.
constexpr double kFirst = 2415020.5, kLast = 2488069.5, kStep = 3.6513;

void report(const Deviation& d) {
    std::printf("  %-30s max %9.3f%s  rms %8.3f%s  (max at JD %.4f, %d dates)\n", d.name, d.max, d.unit, d.rms(),
                d.unit, d.maxAt, d.n);
}

// The measured deviations are the theories' own. A mistyped term moves them either way
// (it can as well cancel part of a theory's error), so the spread is held to a narrow
// window around what was measured, and the largest deviation to a little above it.
void expectWithin(const Deviation& d, double maxLimit, double rmsLow, double rmsHigh) {
    EXPECT_LT(d.max, maxLimit) << d.name;
    EXPECT_GT(d.rms(), rmsLow) << d.name;
    EXPECT_LT(d.rms(), rmsHigh) << d.name;
}

// Mean inclination of the lunar orbit.
constexpr double kInclination = 5.1453964;

// The reference's mean apogee lies on the ecliptic; the Black Moon is measured along the
// lunar orbit from the node. Rotating about the node line turns one into the other.
double apogeeAlongOrbit(double lambda, double beta, double node) {
    const double r = M_PI / 180, i = kInclination * r;
    const double x = std::cos(beta * r) * std::cos((lambda - node) * r);
    const double y = std::cos(beta * r) * std::sin((lambda - node) * r);
    const double z = std::sin(beta * r);
    return node + std::atan2(y * std::cos(i) + z * std::sin(i), x) / r;
}

TEST_F(Sky, SunMoonNodesAndApogee) {
    CorrectionFiles files{DataRoot(dir_->path())};
    ChartState chart;
    chart.BlackMoonKind = "MEDIA";

    Deviation sun{"Sun longitude"}, moonLon{"Moon longitude"}, moonLat{"Moon latitude"}, meanNode{"mean node"},
        trueNode{"true node"}, apogee{"mean apogee (Black Moon)"}, eot{"equation of time", " s"},
        earthLon{"Earth heliocentric longitude"}, earthDist{"Earth-Sun distance", " uAU"},
        sunUt{"Sun longitude (sky at UT)"}, moonUt{"Moon longitude (sky at UT)"};
    for (double jd = kFirst; jd < kLast; jd += kStep) {
        chart.NodeKind = "VERO";
        runDriver(chart, files, body::Node, false, jd);  // true node: Sun and Moon first
        const long double S = chart.BodyLongitude[body::Sun], L = chart.BodyLongitude[body::Moon],
                          B = chart.BodyLatitude[body::Moon], N = chart.BodyLongitude[body::Node];
        const long double E = chart.EquationOfTime, H = chart.HelioLongitude[body::Sun];
        chart.NodeKind = "MEDIO";
        EngineContext ctx = makeEngineContext(jd);
        ctx.files = &files;
        sunStep(chart, ctx);
        const long double R = std::hypot(ctx.XE, ctx.YE);
        runDriver(chart, files, body::Node, false, jd);
        const long double M = chart.BodyLongitude[body::Node];
        runDriver(chart, files, body::BlackMoon, false, jd);
        const long double A = chart.BodyLongitude[body::BlackMoon];

        // The theories are series in the Julian day as given; the reference takes it as
        // its own time argument so that only the theories are compared.
        double x[6];
        reference(jd, SE_SUN, SEFLG_SWIEPH, x);
        sun.add(arcsec(S, x[0]), jd);
        earthDist.add((static_cast<double>(R) - x[2]) * 1e6, jd);
        reference(jd, SE_EARTH, SEFLG_SWIEPH | SEFLG_HELCTR, x);
        earthLon.add(arcsec(H, x[0]), jd);
        reference(jd, SE_MOON, SEFLG_SWIEPH, x);
        moonLon.add(arcsec(L, x[0]), jd);
        moonLat.add((static_cast<double>(B) - x[1]) * 3600.0, jd);
        // Node and apogee are mean elements of date without nutation.
        reference(jd, SE_TRUE_NODE, SEFLG_SWIEPH | SEFLG_NONUT, x);
        trueNode.add(arcsec(N, x[0]), jd);
        reference(jd, SE_MEAN_NODE, SEFLG_SWIEPH | SEFLG_NONUT, x);
        const double node = x[0];
        meanNode.add(arcsec(M, node), jd);
        reference(jd, SE_MEAN_APOG, SEFLG_SWIEPH | SEFLG_NONUT, x);
        // The perigee polynomial carries +37.17" T^2 where the lunar theories have
        // -37.17" T^2: the apogee drifts by twice that, allowed for here.
        const double T = (jd - 2415020.0) / 36525.0;
        apogee.add(arcsec(A, apogeeAlongOrbit(x[0], x[1], node)) - 2 * 37.17 * T * T, jd);

        double te = 0;
        char err[256];
        swe_time_equ(jd, &te, err);
        eot.add((static_cast<double>(E) / 24.0 - te) * 86400.0, jd);

        // What the user sees: the sky at that universal time (Delta-T is not applied).
        reference(jd, SE_SUN, SEFLG_SWIEPH, x, true);
        sunUt.add(arcsec(S, x[0]), jd);
        reference(jd, SE_MOON, SEFLG_SWIEPH, x, true);
        moonUt.add(arcsec(L, x[0]), jd);
    }
    std::printf("Deviations from the Swiss Ephemeris, 1900-2100:\n");
    for (const Deviation* d :
         {&sun, &earthLon, &earthDist, &moonLon, &moonLat, &meanNode, &trueNode, &apogee, &eot, &sunUt, &moonUt})
        report(*d);

    expectWithin(sun, 4.2, 1.23, 1.27);
    expectWithin(earthLon, 57, 27.2, 28.0);
    expectWithin(earthDist, 81, 28.2, 29.1);
    expectWithin(moonLon, 54.5, 11.9, 12.27);
    expectWithin(moonLat, 160, 47.7, 49.2);
    expectWithin(meanNode, 10.0, 5.25, 5.43);
    expectWithin(trueNode, 850, 235, 242);
    expectWithin(apogee, 1.1, 0.45, 0.57);
    expectWithin(eot, 41.5, 19.45, 20.05);
}

TEST_F(Sky, EquatorialCoordinatesAreARotationByTheObliquity) {
    CorrectionFiles files{DataRoot(dir_->path())};
    ChartState chart;
    double worst = 0;
    for (double jd = kFirst; jd < kLast; jd += 97.31) {
        runDriver(chart, files, body::Moon, false, jd);
        const long double eps = makeEngineContext(jd).eps;
        for (int b : {body::Sun, body::Moon}) {
            double ecl[3] = {static_cast<double>(chart.BodyLongitude[b]), static_cast<double>(chart.BodyLatitude[b]),
                             1};
            double equ[3];
            swe_cotrans(ecl, equ, -static_cast<double>(eps));
            worst = std::max(worst, std::fabs(arcsec(chart.BodyRightAscension[b], equ[0])));
            worst = std::max(worst, std::fabs((static_cast<double>(chart.BodyDeclination[b]) - equ[1]) * 3600));
        }
    }
    EXPECT_LT(worst, 1e-4);
}

}  // namespace
}  // namespace athanor
