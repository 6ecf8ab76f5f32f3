#include "foundations/FileError.h"
#include "foundations/TextFile.h"
#include "subjects/BirthStamp.h"
#include "subjects/DatiNasc.h"
#include "subjects/SubjectFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace athanor {
namespace {

using test::TempDir;

TEST(BirthStamp, CorrectionIsSignedWithACommaAndReadWithEitherSeparator) {
    struct Case {
        long double value;
        const char* text;
    } cases[] = {
        {-5.5L, "-5,5"}, {-1, "-1"}, {1, "+1"}, {0, "+0"}, {-0.0L, "+0"}, {0.83L, "+0,83"}, {-10.75L, "-10,75"},
    };
    for (const auto& c : cases) EXPECT_EQ(correctionText(c.value), c.text) << static_cast<double>(c.value);

    struct Read {
        const char* text;
        double value;
    } reads[] = {{"-5,5", -5.5}, {"-5.5", -5.5}, {"+1", 1}, {"+10,75", 10.75}, {"", 0}, {"abc", 0}, {"1,2,3", 0}};
    for (const auto& r : reads) EXPECT_DOUBLE_EQ(static_cast<double>(correctionValue(r.text)), r.value) << r.text;

    const StampDate d{1990, 3, 21, 14, 30};
    EXPECT_EQ(makeBirthStamp(d, -1), "199003211430-1");
    EXPECT_EQ(stampCorrectionText("199003211430-5,5"), "-5,5");
    EXPECT_EQ(stampCorrectionText("199003211430+10,75", 5), "+10,7");
    EXPECT_DOUBLE_EQ(static_cast<double>(stampCorrection("199003211430-5.5")), -5.5);
    const StampDate back = stampDate("199003211430-1");
    EXPECT_EQ(stampDigits(back), "199003211430");
    EXPECT_EQ(withCommaSeparator("199003211430-5.5"), "199003211430-5,5");
}

TEST(BirthStamp, JulianDayIsUniversalTimeInTheSubjectsCalendar) {
    // 1 January 2000 13:00 local, one hour east of Greenwich: 12:00 UT.
    EXPECT_DOUBLE_EQ(static_cast<double>(stampJulianDay("200001011300-1", true)), 2451545.0);
    // 4 October 1582 24:00 Julian is 15 October 1582 0:00 Gregorian.
    EXPECT_DOUBLE_EQ(static_cast<double>(stampJulianDay("158210050000+0", false)), 2299160.5);
    EXPECT_DOUBLE_EQ(static_cast<double>(stampJulianDay("158210150000+0", true)), 2299160.5);
}

BirthRecord record(const std::string& stamp) {
    BirthRecord r = BirthRecord::blank();
    r.birthStamp = stamp;
    r.placeText = "41N54-012E29ROMA";
    r.calendarCode = "GR";
    r.notesNumber = "00000";
    return r;
}

TEST(CurrentSubject, StoreKeepsOtherRecordsAndReplaceLeavesOne) {
    TempDir dir;
    DataRoot root(dir.path());
    EXPECT_THROW(loadCurrent(root), FileError);

    storeCurrent(root, "ROSSI MARIO", record("199003211430-5.5"));
    const CurrentSubject s = loadCurrent(root);
    EXPECT_EQ(s.entryText, "ROSSI MARIO");
    EXPECT_EQ(s.record.birthStamp, "199003211430-5,5");
    EXPECT_EQ(s.record.locality(), "ROMA");

    // A second record (a save into TMPR appends) survives a store, not a replace.
    std::string st2 = TempDir::read(dir / "TMPR.ST2");
    dir.write("TMPR.ST2", st2 + st2);
    storeCurrent(root, "BIANCHI ANNA", record("200001011300-1"));
    EXPECT_EQ(TempDir::read(dir / "TMPR.ST2").size(), 2u * 385);
    EXPECT_EQ(loadCurrent(root).entryText, "BIANCHI ANNA");
    replaceCurrent(root, "VERDI", record("200001011300-1"));
    EXPECT_EQ(TempDir::read(dir / "TMPR.ST2").size(), 385u);
    EXPECT_EQ(TempDir::read(dir / "TMPR.ST1").size(), 44u);
    EXPECT_EQ(loadCurrent(root).entryText, "VERDI");
}

TEST(CurrentSubject, HandOffFilesAndTheTextDocumentOfTheCurrentSubject) {
    TempDir dir;
    DataRoot root(dir.path());
    EXPECT_FALSE(currentTextDocument(root));
    writeTextReference(root, {"BASE", "00007"});
    EXPECT_EQ(TempDir::read(dir / "FileDum" / "StrText.dum"), "BASE\r\n00007\r\n");
    EXPECT_FALSE(currentTextDocument(root));  // named, but not there
    dir.write("BASEtxt/00007.txt", "ROSSI\r\n");
    EXPECT_EQ(currentTextDocument(root), "BASEtxt\\00007.txt");
    writeTextReference(root, {"BASE", ""});
    EXPECT_FALSE(currentTextDocument(root));

    noteArchiveWritten(root, "BASE");
    noteArchiveWritten(root, "RICE");
    noteArchiveWritten(root, "BASE");
    EXPECT_EQ(archivesWritten(root), (std::vector<std::string>{"BASE", "RICE"}));

    const NotesRecord notes = NotesRecord::fromNotes({"  PRIMA ", "SECONDA", "", "QUARTA"}, "00007");
    const auto memo = memoLines(notes);
    EXPECT_EQ(memo[0], " PRIMA");
    EXPECT_EQ(memo[2], " ");
    EXPECT_EQ(memo[3], " QUARTA" + std::string(58, ' ') + "00007");
    EXPECT_EQ(memoText(NotesRecord::blank()), "    ");
}

TEST(ChartHandOff, WritesTheChartLineByLineAndReadsBackTheSubject) {
    TempDir dir;
    DataRoot root(dir.path());
    ChartState chart;
    for (int i = 1; i <= 22; ++i) {
        chart.BodyLongitude[i] = 10.0L * i + 0.5L;
        chart.BodyLatitude[i] = -0.25L * i;
        chart.RetroMark[i] = (i == 3 || i == 8) ? 'r' : ' ';
    }
    for (int k = 0; k < 12; ++k) chart.HouseCusp[k] = 30.0L * k + 1;
    ChartHandOff subject{std::string(45, 'N'), "199003211430-1", "41N54-012E29ROMA", "CASE_MEDIE", 2447972.0625L};
    writeChartHandOff(root, subject, chart);

    const auto lines = readLines(dir / "FileTmp" / "DatiNasc.Tmp");
    ASSERT_EQ(lines.size(), 85u);
    EXPECT_EQ(lines[0], std::string(38, 'N'));
    EXPECT_EQ(lines[3], "CASE_MEDIE");
    EXPECT_EQ(lines[4].size(), 23u);
    EXPECT_EQ(lines[5], formatReal(10.5L));    // body 1
    EXPECT_EQ(lines[26], formatReal(220.5L));  // body 22
    EXPECT_EQ(lines[27], formatReal(1));       // cusp 1
    EXPECT_EQ(lines[39], "LATITUDINI");
    EXPECT_EQ(lines[40], formatReal(-0.25L));
    EXPECT_EQ(lines[52], "RETROGRADI");
    EXPECT_EQ(lines[53], " ");
    EXPECT_EQ(lines[55], "r");
    EXPECT_EQ(lines[60], "r");
    EXPECT_EQ(lines[75], formatReal(-3.25L));  // latitude of body 13
    EXPECT_EQ(lines[84], formatReal(-5.5L));   // latitude of body 22

    const ChartHandOff back = readChartHandOff(root);
    EXPECT_EQ(back.name, std::string(38, 'N'));
    EXPECT_EQ(back.birthStamp, subject.birthStamp);
    EXPECT_EQ(back.placeText, subject.placeText);
    EXPECT_DOUBLE_EQ(static_cast<double>(back.julianDay), 2447972.0625);

    // Readers accept any decimal number on line 5; a file cut short is an error.
    dir.write("FileTmp/DatiNasc.Tmp", "A\r\nB\r\nC\r\nPLACIDO\r\n2451545,25\r\n");
    EXPECT_DOUBLE_EQ(static_cast<double>(readChartHandOff(root).julianDay), 2451545.25);
    dir.write("FileTmp/DatiNasc.Tmp", "A\r\nB\r\nC\r\nPLACIDO\r\n");
    EXPECT_THROW(readChartHandOff(root), FileError);
    dir.write("FileTmp/DatiNasc.Tmp", "A\r\nB\r\nC\r\nPLACIDO\r\nxyz\r\n");
    EXPECT_THROW(readChartHandOff(root), FileError);
}

}  // namespace
}  // namespace athanor
