// The retrograde wrapper decides most marks from the rates of one evaluation. Whatever it
// decides must be what two full evaluations, a thousandth of a day apart, give.
#include "engine/Positions.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace athanor {
namespace {

namespace fs = std::filesystem;

const fs::path kFiles = fs::path(ATHANOR_SOURCE_DIR) / "data" / "FilePosi";

struct Kinds {
    const char* node;
    const char* blackMoon;
};
constexpr Kinds kTrue{"VERO", "VERA"}, kMean{"MEDIO", "MEDIA"};

ChartState chartOf(Kinds k) {
    ChartState c;
    c.NodeKind = k.node;
    c.BlackMoonKind = k.blackMoon;
    return c;
}

// The marks by their definition: both evaluations in full, smaller later means backwards,
// unless the body passed 0 degrees.
ChartState definition(const CorrectionFiles& files, Kinds k, long double jd, BodyArray* later = nullptr) {
    ChartState c = chartOf(k);
    runDriver(c, files, kSelectAll, true, jd + 0.001L);
    const BodyArray then = c.BodyLongitude;
    runDriver(c, files, kSelectAll, false, jd);
    for (int i = 1; i <= 19; ++i) {
        const long double now = c.BodyLongitude[i];
        if (then[i] < now && std::fabs(then[i] - now) < 5.0L) c.BodyLongitude[i] = -now;
    }
    if (later) *later = then;
    return c;
}

// Bitwise: the wrapper's values are those of the plain evaluation.
void expectSame(const ChartState& got, const ChartState& want, long double jd) {
    for (int i = 1; i <= 19; ++i) {
        EXPECT_EQ(got.BodyLongitude[i], want.BodyLongitude[i]) << "body " << i << " at " << static_cast<double>(jd);
        EXPECT_EQ(got.BodyLatitude[i], want.BodyLatitude[i]) << "body " << i << " at " << static_cast<double>(jd);
        EXPECT_EQ(got.BodyRightAscension[i], want.BodyRightAscension[i]) << "body " << i;
        EXPECT_EQ(got.BodyDeclination[i], want.BodyDeclination[i]) << "body " << i;
    }
    EXPECT_EQ(got.HelioLongitude, want.HelioLongitude) << static_cast<double>(jd);
    EXPECT_EQ(got.HelioLatitude, want.HelioLatitude) << static_cast<double>(jd);
    EXPECT_EQ(got.EquationOfTime, want.EquationOfTime) << static_cast<double>(jd);
}

// The committed correction files without the supplement.
class RetrogradeMarks : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<test::TempDir>();
        fs::create_directories(dir_->path() / "FilePosi");
        for (const char* name : {"DSEL.rnd", "DPR1.rnd", "NOJLNE.rnd"})
            fs::create_symlink(kFiles / name, dir_->path() / "FilePosi" / name);
    }
    static void TearDownTestSuite() { dir_.reset(); }
    static std::unique_ptr<test::TempDir> dir_;
};
std::unique_ptr<test::TempDir> RetrogradeMarks::dir_;

// The committed files with the supplement and without it.
const fs::path kInstalled = fs::path(ATHANOR_SOURCE_DIR) / "data";

TEST_F(RetrogradeMarks, AsTwoFullEvaluationsFromYearOneTo2100AndBeyond) {
    const CorrectionFiles bare{DataRoot(dir_->path())}, supplemented{DataRoot(kInstalled)};
    ASSERT_EQ(bare.supplement(), nullptr);
    ASSERT_NE(supplemented.supplement(), nullptr);
    std::vector<long double> dates;
    for (long double jd = 1721423.5L; jd < 2488070.0L; jd += 211.37L) dates.push_back(jd);
    // Where a theory or a file begins or ends within the thousandth of a day, and outside
    // the years the forecast covers.
    for (long double edge :
         {1721423.5L, 1721433.5L, 2341970.0L, 2396758.5L, 2415020.0L, 2415020.5L, 2488070.0L, 2499373.5L})
        for (long double off : {-0.0005L, -0.001L, 0.0L}) dates.push_back(edge + off);
    dates.push_back(1500000.25L);  // 607 BC
    dates.push_back(2600000.75L);  // 2406
    int n = 0;
    for (const CorrectionFiles* files : {&bare, &supplemented})
        for (long double jd : dates) {
            const Kinds k = ++n % 2 ? kTrue : kMean;
            ChartState got = chartOf(k);
            positionsWithRetrograde(got, *files, kSelectAll, jd);
            expectSame(got, definition(*files, k, jd), jd);
        }
}

TEST_F(RetrogradeMarks, ForecastStaysWithinItsBound) {
    const CorrectionFiles bare{DataRoot(dir_->path())}, supplemented{DataRoot(kInstalled)};
    int forecast = 0;
    for (long double jd = 1721423.5L; jd < 2488069.0L; jd += 97.13L) {
        const CorrectionFiles& files = static_cast<long long>(jd) % 2 ? bare : supplemented;
        BodyArray later;
        const ChartState want = definition(files, kTrue, jd, &later);
        ChartState c = chartOf(kTrue);
        MoveForecast f;
        forecastMoves(c, files, jd, f);
        EXPECT_EQ(c.BodyLatitude, want.BodyLatitude);
        for (int i = 1; i <= 19; ++i) {
            if (f.bound[i] < 0) continue;
            const long double now = std::fabs(want.BodyLongitude[i]), move = later[i] - now;
            if (std::fabs(move) > 5) continue;  // through 0 degrees
            ++forecast;
            EXPECT_LE(std::fabs(move - f.move[i]), f.bound[i]) << "body " << i << " at " << static_cast<double>(jd);
        }
    }
    EXPECT_GT(forecast, 7000 * 15);
}

// Stations, where the forecast cannot tell and the second evaluation decides: every
// hundred-thousandth of a day around the turn.
TEST_F(RetrogradeMarks, AroundStations) {
    const CorrectionFiles files{DataRoot(dir_->path())};
    struct Case {
        int b;
        long double from;  // the body turns within 800 days after this day
    };
    const Case cases[] = {
        {body::Mercury, 2451545.5L}, {body::Venus, 2451900.5L},  {body::Pluto, 2451545.5L},
        {body::Node, 2451545.5L},    {body::Chiron, 2444000.5L}, {body::Mars, 2383000.5L},  // 1812: five-day file
        {body::Juno, 2451545.5L},
    };
    for (const Case& c : cases) {
        auto marked = [&](long double jd) { return definition(files, kTrue, jd).BodyLongitude[c.b] < 0; };
        long double lo = c.from, hi = c.from + 1;
        const bool start = marked(lo);
        while (marked(hi) == start && hi < c.from + 800) lo = hi++;
        ASSERT_NE(marked(hi), start) << "body " << c.b << " does not turn";
        for (int k = 0; k < 40; ++k) {
            const long double mid = (lo + hi) / 2;
            (marked(mid) == start ? lo : hi) = mid;
        }
        for (int k = -50; k <= 50; ++k) {
            const long double jd = lo + k * 1e-5L;
            ChartState got = chartOf(kTrue);
            positionsWithRetrograde(got, files, kSelectAll, jd);
            const ChartState want = definition(files, kTrue, jd);
            ASSERT_EQ(got.BodyLongitude[c.b], want.BodyLongitude[c.b])
                << "body " << c.b << " at " << static_cast<double>(jd);
        }
    }
}

}  // namespace
}  // namespace athanor
