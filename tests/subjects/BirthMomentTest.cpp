#include "foundations/Format.h"
#include "subjects/ArchiveOps.h"
#include "subjects/BirthEntry.h"
#include "subjects/BirthStamp.h"
#include "subjects/SubjectChart.h"
#include "subjects/SubjectFiles.h"
#include "subjects/SubjectFixtures.h"
#include "subjects/SubjectSummaries.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>

namespace athanor {
namespace {

using test::TempDir;

// A birth goes from the entry's checks through the save into the archive and TMPR, and
// from there into the chart: at every stop it is the moment the entry made.
class BirthMomentFlow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        corrections_ = std::make_unique<TempDir>();
        test::writeZeroCorrectionFiles(corrections_->path());
        files_ = std::make_unique<CorrectionFiles>(DataRoot(corrections_->path()));
    }
    static void TearDownTestSuite() {
        files_.reset();
        corrections_.reset();
    }
    void SetUp() override {
        ensureBaseArchive(root);
        Archive(root, "TMPR").create();
    }

    TempDir dir;
    DataRoot root{dir.path()};
    ChartState settings;
    static inline std::unique_ptr<TempDir> corrections_;
    static inline std::unique_ptr<CorrectionFiles> files_;
};

TEST_F(BirthMomentFlow, TheArchiveAndTheChartGiveBackTheMomentOfTheEntry) {
    struct Case {
        const char* what;
        DateTexts date;
        const char* calendar;
        const char* correction;
        const char* shown;  // the date the save window shows and the stamp holds
        const char* stamp;
    };
    const Case cases[] = {
        {"plain", {"21", "03", "1990", "14", "30"}, "GREG", "-1", "21/03/1990 14:30", "199003211430-1"},
        {"Julian leap day", {"29", "02", "1900", "12", "00"}, "GIUL", "-2", "29/02/1900 12:00", "190002291200-2"},
        {"zone cut to four characters",
         {"21", "03", "1990", "14", "30"},
         "GREG",
         "+10,75",
         "21/03/1990 14:30",
         "199003211430+10,7"},
        {"local mean time",
         {"10", "06", "1850", "23", "59"},
         "GREG",
         "-0,83333333",
         "10/06/1850 23:59",
         "185006102359-0,83"},
    };
    for (const auto& c : cases) {
        EntryForm form;
        form.name = "ROSSI MARIO";
        form.date = c.date;
        form.calendar = c.calendar;
        form.locality = "ROMA";
        form.coordText = "41N54-012E29";
        form.correction = c.correction;
        form.country = "ITALIA";
        const ContinueCheck check = checkContinue(form);
        ASSERT_TRUE(check.ok) << c.what << ": " << check.message;
        const BirthMoment& entered = check.handOff.moment;
        EXPECT_EQ(entered.dateText(), c.shown) << c.what;

        SaveRequest request;
        request.archive = "BASE";
        const SaveResult saved = saveSubject(root, settings, *files_, check.handOff, request);
        const BirthRecord record = Archive(root, "BASE").readRecord(saved.recordNumber);
        EXPECT_EQ(record.birthStamp, c.stamp) << c.what;
        EXPECT_EQ(loadCurrent(root).record, record) << c.what;

        const BirthMoment stored = readBirthStamp(record.birthStamp, record.calendarFlag());
        EXPECT_EQ(stored.julianDay(), entered.julianDay()) << c.what;
        EXPECT_EQ(stored.dateText(), c.shown) << c.what;

        ChartState chart;
        buildChart(chart, *files_, {record.birthStamp, record.coordText(), record.calendarCode});
        EXPECT_EQ(chart.ChartJulianDay, entered.julianDay()) << c.what;

        // The summaries belong to the same moment.
        const Summaries s = computeSummaries(settings, *files_, stored, decodeCoordText(record.coordText()));
        EXPECT_EQ(record.planetSummary, s.planets) << c.what;
        EXPECT_EQ(record.cuspSummary, s.cusps) << c.what;
        EXPECT_EQ(record.aspectSummary, s.aspects) << c.what;
    }
}

TEST(BirthMoment, TheJulianDayIsUniversalTimeInTheMomentsCalendar) {
    // 1 January 2000 13:00 one hour east of Greenwich is 12:00 UT.
    const BirthMoment greenwichNoon({1, 1, 2000, 13, 0}, -1, 1);
    EXPECT_DOUBLE_EQ(static_cast<double>(greenwichNoon.julianDay()), 2451545.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(greenwichNoon.localJulianDay()), 2451545.0 + 1.0 / 24);
    // The same clock date in the Julian calendar is thirteen days later.
    EXPECT_DOUBLE_EQ(static_cast<double>(BirthMoment({1, 1, 2000, 13, 0}, -1, 0).julianDay()), 2451558.0);
    // The range of the minor bodies is that of the local instant, as the chart has always
    // taken it, whatever the correction makes of it in Universal Time.
    EXPECT_TRUE(BirthMoment({1, 1, 1850, 0, 30}, -1, 1).localInAsteroidRange());
    EXPECT_FALSE(BirthMoment({31, 12, 1849, 23, 30}, 1, 1).localInAsteroidRange());
    EXPECT_EQ(birthStampOf(BirthMoment({5, 7, 812, 4, 3}, 5.5L, 0)), "081207050403+5,5");
}

}  // namespace
}  // namespace athanor
