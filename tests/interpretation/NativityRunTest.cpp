#include "engine/CorrectionFixtures.h"
#include "foundations/FileError.h"
#include "foundations/TextFile.h"
#include "interpretation/NativityRuler.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace athanor {
namespace {

using test::TempDir;

class NativityRun : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        test::writeZeroCorrectionFiles(dir_->path());
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    static TempDir* dir_;
};
TempDir* NativityRun::dir_ = nullptr;

TEST_F(NativityRun, ScoresTheHandOffChartAndWritesBothFiles) {
    const DataRoot root(dir_->path());
    // 10 April 1980, 13:00 local time one hour east of Greenwich, at Milan.
    writeLines(root.resolveForWriting("FileTmp\\DatiNasc.Tmp"),
               {"ROSSI MARIA", "198004101300-1", "45N28-009E11MILANO", "PLACIDO", " 2.44434000000000E+0006"});
    const CorrectionFiles files(root);
    ChartState chart;
    chart.HouseSystem = "PLACIDO";
    const NativityScores s = runNativityRuler(root, chart, files);

    // The Sun stands near 20° Aries, moving just under a degree a day.
    EXPECT_EQ(s.sign[1], 1);
    EXPECT_EQ(s.rows[1][1], 8);
    EXPECT_GT(s.speed[1], 0.966L);
    EXPECT_LT(s.speed[1], 1.0L);
    EXPECT_EQ(s.rows[6][1], 3);
    EXPECT_GT(s.speed[2], 11.0L);  // the Moon
    // A Placidus chart at noon: the Sun high, in the ninth or tenth house.
    EXPECT_TRUE(s.house[1] == 9 || s.house[1] == 10) << s.house[1];

    const auto report = readLines(dir_->path() / "FileDum/MMMaitre.dum");
    ASSERT_EQ(report.size(), 96u);
    EXPECT_EQ(report[0], "*MaitreTarquell*ROSSI MARIA");
    EXPECT_EQ(report[2], "Nascita a MILANO il 10/04/1980 13:00  GMT-1");
    EXPECT_EQ(report[95], nativityResultLines(s)[13]);
    const auto result = readLines(dir_->path() / "FileDum/MMMaitr2.dum");
    EXPECT_EQ(result, nativityResultLines(s));
}

TEST_F(NativityRun, AJulianCalendarBirthAfterTheReformIsScoredAtItsChartsInstant) {
    const DataRoot root(dir_->path());
    const CorrectionFiles files(root);
    auto score = [&](const char* stamp, const char* julianDay) {
        writeLines(root.resolveForWriting("FileTmp\\DatiNasc.Tmp"),
                   {"IVANOV", stamp, "55N45-037E37MOSKVA", "PLACIDO", julianDay});
        ChartState chart;
        chart.HouseSystem = "PLACIDO";
        return nativityResultLines(runNativityRuler(root, chart, files));
    };
    // 1 January 1900 (Julian) and 13 January 1900 (Gregorian), 12:00 UT, are one instant:
    // the stamp does not say its calendar, the chart's Julian day on line 5 does.
    const auto julian = score("190001011200+0", " 2.41503300000000E+0006");
    EXPECT_EQ(julian, score("190001131200+0", " 2.41503300000000E+0006"));
    // Read as a Gregorian date the first stamp is twelve days earlier, and scores otherwise.
    EXPECT_NE(julian, score("190001011200+0", " 2.41502100000000E+0006"));
}

TEST_F(NativityRun, AMissingHandOffFileStopsTheMethod) {
    TempDir empty;
    const DataRoot root(empty.path());
    const CorrectionFiles files(DataRoot(dir_->path()));
    ChartState chart;
    EXPECT_THROW(runNativityRuler(root, chart, files), FileError);
    EXPECT_FALSE(std::filesystem::exists(empty.path() / "FileDum"));
}

}  // namespace
}  // namespace athanor
