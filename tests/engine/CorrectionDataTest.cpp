// The committed correction files of data/FilePosi: their layout, a regenerated slice of
// each compared byte for byte, and the corrected engine against the sky.
#include "Records.h"

#include "engine/CorrectionFiles.h"
#include "engine/Positions.h"
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
    EXPECT_EQ(fs::file_size(kFiles / ApogeeFile::kName), std::uintmax_t(ApogeeFile::kRecords) * ApogeeFile::kRecordSize);
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
    expectSameBytes<FiveDayFile>(0, 1, fiveDayRecords);          // Julian days only
    expectSameBytes<FiveDayFile>(131500, 131510, fiveDayRecords);  // 1801
    expectSameBytes<FiveDayFile>(138716, 138730, fiveDayRecords, 2);  // the planets stop at 1900, the node goes on
    expectSameBytes<FiveDayFile>(155585, FiveDayFile::kRecords - 1, fiveDayRecords);
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
    {2378800.71, true, false},   // 1801
    {2396758.5, true, true},     // 1 January 1850, 0h: the first apogee record
    {2405000.37, true, true},    // 1872
    {2415018.3, true, true},     // 29 December 1899, before the window where the perturbations start
    {2433000.93, false, true},   // 1949
    {2451545.0, false, true},    // 2000
    {2470000.61, false, true},   // 2050
    {2488433.4, false, true},    // the last hours of 2100
    {2499373.2, false, false},   // 2131: the Moon's and the node's last day
};

double deviation(long double engine, double reference) {
    double d = std::fabs(static_cast<double>(engine)) - reference;
    return (d - 360.0 * std::round(d / 360.0)) * 60.0;  // arc-minutes
}

TEST(CorrectedSky, EngineWithTheCommittedFilesFollowsTheReference) {
    swe_set_ephe_path(const_cast<char*>("/usr/share/libswe/ephe"));
    const CorrectionFiles files{DataRoot(kData)};
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
            EXPECT_LT(std::fabs(static_cast<double>(chart.BodyLatitude[b]) - lat) * 60.0, 1.0) << "latitude of body " << b;
        }
    }
    swe_close();
}

}  // namespace
}  // namespace athanor
