// The committed correction files of data/FilePosi: their layout, a regenerated slice of
// each compared byte for byte, and the corrected engine against the sky.
#include "Records.h"
#include "Supplement.h"

#include "engine/CorrectionFiles.h"
#include "engine/Positions.h"
#include "engine/PrecisionSupplement.h"
#include "foundations/DataRoot.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <swephexp.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace athanor {
namespace {

namespace fs = std::filesystem;
using namespace corrections;

const fs::path kData = fs::path(ATHANOR_SOURCE_DIR) / "data";
const fs::path kFiles = kData / "FilePosi";

std::string readRange(const fs::path& p, long offset, long size) {
    std::ifstream in(p, std::ios::binary);
    in.seekg(offset);
    std::string s(static_cast<std::size_t>(size), '\0');
    in.read(s.data(), size);
    s.resize(static_cast<std::size_t>(in.gcount()));
    return s;
}

TEST(CorrectionData, FilesHoldEveryRecordTheEngineReads) {
    EXPECT_EQ(fs::file_size(kFiles / MoonFile::kName), std::uintmax_t(MoonFile::kRecords) * MoonFile::kRecordSize);
    EXPECT_EQ(fs::file_size(kFiles / FiveDayFile::kName),
              std::uintmax_t(FiveDayFile::kRecords) * FiveDayFile::kRecordSize);
    EXPECT_EQ(fs::file_size(kFiles / ApogeeFile::kName),
              std::uintmax_t(ApogeeFile::kRecords) * ApogeeFile::kRecordSize);
}

// The supplement holds the generator's plan, piece by piece, in under 20 MB.
TEST(CorrectionData, SupplementHoldsThePlan) {
    EXPECT_LT(fs::file_size(kFiles / kSupplementName), 20u * 1000u * 1000u);
    const supplement::File file(kFiles / kSupplementName);
    const std::vector<supplement::Piece> plan = supplementPlan(), stored = file.pieces();
    ASSERT_EQ(stored.size(), plan.size());
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const supplement::Piece &p = plan[i], &s = stored[i];
        SCOPED_TRACE("piece " + std::to_string(i));
        EXPECT_EQ(s.body, p.body);
        EXPECT_EQ(s.coordinate, p.coordinate);
        EXPECT_EQ(s.degree, p.degree);
        EXPECT_EQ(s.includesTo, p.includesTo);
        EXPECT_EQ(s.from, p.from);
        EXPECT_EQ(s.to, p.to);
        EXPECT_EQ(s.origin, p.origin);
        EXPECT_EQ(s.cellLength, p.cellLength);
        EXPECT_TRUE(s.width == 2 || (s.width == 4 && s.unit == 10000));
        EXPECT_LE(s.unit, 100000u);  // rounding within 0.05"
    }
}

class Regenerate : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new test::TempDir;
        folders_ = {dir_->path() / "bare", dir_->path() / "moon"};
        writeZeroFiles(folders_.bare);
        writeZeroFiles(folders_.withMoon);
        fs::copy_file(kFiles / MoonFile::kName, folders_.withMoon / "FilePosi" / MoonFile::kName,
                      fs::copy_options::overwrite_existing);
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }

    template <typename File, typename Make>
    void expectSameBytes(long first, long last, Make make, int threads = 1) {
        Options options;
        options.threads = threads;
        Tally tally;
        const std::string fresh = make(folders_, first, last, options, tally);
        const std::string committed =
            readRange(kFiles / File::kName, first * File::kRecordSize, (last - first + 1) * File::kRecordSize);
        ASSERT_EQ(fresh.size(), committed.size()) << File::kName;
        for (std::size_t i = 0; i < fresh.size(); ++i)
            ASSERT_EQ(fresh[i], committed[i]) << File::kName << " record " << first + long(i) / File::kRecordSize
                                              << ", byte " << i % File::kRecordSize;
        EXPECT_EQ(tally.clamped(), 0);
        EXPECT_EQ(tally.uncovered(), 0);
    }

    static test::TempDir* dir_;
    static EngineFolders folders_;
};
test::TempDir* Regenerate::dir_ = nullptr;
EngineFolders Regenerate::folders_;

// Slices where the values start or stop, and the last records of each file.
TEST_F(Regenerate, MoonSlices) {
    expectSameBytes<MoonFile>(0, 1, moonRecords);            // before year 1: zeros
    expectSameBytes<MoonFile>(657500, 657570, moonRecords);  // 1801
    expectSameBytes<MoonFile>(777930, MoonFile::kRecords - 1, moonRecords, 2);
}

TEST_F(Regenerate, FiveDaySlices) {
    expectSameBytes<FiveDayFile>(0, 1, fiveDayRecords);               // Julian days only
    expectSameBytes<FiveDayFile>(131500, 131510, fiveDayRecords);     // 1801
    expectSameBytes<FiveDayFile>(138716, 138730, fiveDayRecords, 2);  // the planets stop at 1900, the node goes on
    expectSameBytes<FiveDayFile>(155585, FiveDayFile::kRecords - 1, fiveDayRecords);
}

// Values of the supplement where the theory or the files change, and in between; the
// true node's against the Sun's committed pieces, as the generator measures them.
TEST_F(Regenerate, SupplementSlices) {
    const supplement::File file(kFiles / kSupplementName);
    const std::vector<supplement::Piece> pieces = file.pieces();
    const fs::path three = dir_->path() / "three", sun = dir_->path() / "sun";
    for (const fs::path& d : {three, sun}) {
        fs::create_directories(d / "FilePosi");
        for (const char* name : {MoonFile::kName, FiveDayFile::kName, ApogeeFile::kName})
            fs::create_symlink(kFiles / name, d / "FilePosi" / name);
    }
    std::vector<supplement::Piece> sunOnly;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i].body != body::Sun) continue;
        supplement::Piece p = pieces[i];
        for (long long n = 0; n < p.grid().valueCount(); ++n) p.values.push_back(file.storedValue(i, n));
        sunOnly.push_back(p);
    }
    std::ofstream(sun / "FilePosi" / kSupplementName, std::ios::binary) << supplement::encode(sunOnly);

    auto index = [&](int b, int c, double from) {
        for (std::size_t i = 0; i < pieces.size(); ++i)
            if (pieces[i].body == b && pieces[i].coordinate == c && pieces[i].from == from) return i;
        ADD_FAILURE() << "no piece of body " << b << " from " << from;
        return std::size_t{0};
    };
    // Value n of a piece lies near (n / degree) cells from its grid's start.
    auto near = [&](std::size_t i, double jd) {
        return static_cast<long>((jd - pieces[i].from) / pieces[i].cellLength * pieces[i].degree);
    };
    struct Slice {
        int body, coordinate;
        double pieceFrom;
        double jd;  // the slice starts near here; 0 for the piece's first value, -1 for its last ones
        long count;
    };
    const Slice slices[] = {
        {body::Sun, supplement::Longitude, 1721423.5, 2396760.0, 24},      // 1850
        {body::Sun, supplement::Latitude, 1721423.5, 2451540.0, 12},       // 2000
        {body::Mercury, supplement::Longitude, 1721423.5, 2378500.0, 30},  // 1800
        {body::Mercury, supplement::Latitude, 1721423.5, -1, 8},           // the days before 1900
        {body::Venus, supplement::Longitude, 2415020.5, 0, 11},            // from 1900
        {body::Pluto, supplement::Longitude, 2415020.0, 0, 3},             // the half day of 1899
        {body::Jupiter, supplement::Latitude, 2415020.5, -1, 7},           // until the perturbations stop
        {body::Neptune, supplement::Longitude, 2488070.0, 0, 6},           // and after
        {body::Vesta, supplement::Longitude, 2396757.5, 2440000.0, 11},
        {body::Chiron, supplement::Latitude, 2396757.5, -1, 6},
        {body::Node, supplement::Longitude, 1721433.5, 2447000.0, 12},
    };
    for (const Slice& s : slices) {
        const std::size_t i = index(s.body, s.coordinate, s.pieceFrom);
        const supplement::Piece& p = pieces[i];
        const long values = static_cast<long>(p.grid().valueCount());
        const long first = s.jd == 0 ? 0 : s.jd < 0 ? values - s.count : near(i, s.jd);
        const long last = first + s.count - 1;
        ASSERT_LT(last, values);
        Options options;
        PieceTally tally;
        const std::vector<long double> residuals =
            supplementResiduals(s.body == body::Node ? sun : three, p, first, last, options, tally);
        EXPECT_EQ(tally.uncovered, 0);
        const std::vector<std::int32_t> fresh = quantize(residuals, p.unit);
        for (long n = first; n <= last; ++n)
            EXPECT_EQ(fresh[static_cast<std::size_t>(n - first)], file.storedValue(i, n))
                << "piece " << i << " (body " << p.body << ", coordinate " << p.coordinate << "), value " << n;
    }
}

TEST_F(Regenerate, ApogeeSlices) {
    expectSameBytes<ApogeeFile>(54770, 54800, apogeeRecords);  // zeros until 1850
    expectSameBytes<ApogeeFile>(146440, ApogeeFile::kRecords - 1, apogeeRecords);
}

// The corrected engine, as every caller runs it, against the sky at the same universal
// time (the reference adds its own Delta-T). Limits are those of docs/accuracy.md: the
// Moon's daily arc-second records, the planets' and the node's five-day arc-minute
// records, the osculating apogee's daily records.
struct SkyCase {
    double jd;
    bool planets;  // corrected before 1900 only
    bool apogee;   // 1850 to 2100
};

constexpr SkyCase kSkyCases[] = {
    {2378800.71, true, false},  // 1801
    {2396758.5, true, true},    // 1 January 1850, 0h: the first apogee record
    {2405000.37, true, true},   // 1872
    {2415018.3, true, true},    // 29 December 1899, before the window where the perturbations start
    {2433000.93, false, true},  // 1949
    {2451545.0, false, true},   // 2000
    {2470000.61, false, true},  // 2050
    {2488433.4, false, true},   // the last hours of 2100
    {2499373.2, false, false},  // 2131: the Moon's and the node's last day
};

double deviation(long double engine, double reference) {
    double d = std::fabs(static_cast<double>(engine)) - reference;
    return (d - 360.0 * std::round(d / 360.0)) * 60.0;  // arc-minutes
}

TEST(CorrectedSky, EngineWithTheCommittedFilesFollowsTheReference) {
    swe_set_ephe_path(const_cast<char*>("/usr/share/libswe/ephe"));
    // The three files alone: the precision supplement has sky tests of its own (test_engine).
    const test::TempDir dir;
    fs::create_directories(dir.path() / "FilePosi");
    for (const char* name : {MoonFile::kName, FiveDayFile::kName, ApogeeFile::kName})
        fs::create_symlink(kFiles / name, dir.path() / "FilePosi" / name);
    const CorrectionFiles files{DataRoot(dir.path())};
    ASSERT_EQ(files.supplement(), nullptr);
    for (const SkyCase& k : kSkyCases) {
        ChartState chart;
        chart.NodeKind = "VERO";
        chart.BlackMoonKind = "VERA";
        positionsWithRetrograde(chart, files, kSelectAll, k.jd);
        auto sky = [&](int ipl) {
            double xx[6];
            char err[AS_MAXCH] = "";
            EXPECT_GE(swe_calc_ut(k.jd, ipl, SEFLG_SWIEPH, xx, err), 0) << err;
            return std::pair{xx[0], xx[1]};
        };
        SCOPED_TRACE("JD " + std::to_string(k.jd));
        EXPECT_LT(std::fabs(deviation(chart.BodyLongitude[body::Moon], sky(SE_MOON).first)), 2.0 / 60) << "Moon";
        EXPECT_LT(std::fabs(deviation(chart.BodyLongitude[body::Node], sky(SE_TRUE_NODE).first)), 3.0) << "node";
        if (k.apogee) {
            EXPECT_LT(std::fabs(deviation(chart.BodyLongitude[body::BlackMoon], sky(SE_OSCU_APOG).first)), 16.0)
                << "Black Moon";
        }
        if (!k.planets) continue;
        for (int b = body::Mercury; b <= body::Pluto; ++b) {
            const auto [lon, lat] = sky(SE_MERCURY + (b - body::Mercury));
            EXPECT_LT(std::fabs(deviation(chart.BodyLongitude[b], lon)), 1.0) << "longitude of body " << b;
            EXPECT_LT(std::fabs(static_cast<double>(chart.BodyLatitude[b]) - lat) * 60.0, 1.0)
                << "latitude of body " << b;
        }
    }
    swe_close();
}

}  // namespace
}  // namespace athanor
