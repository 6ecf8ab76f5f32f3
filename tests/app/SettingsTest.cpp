#include "foundations/FileError.h"
#include "foundations/TextFile.h"
#include "app/Login.h"
#include "app/Settings.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace athanor::test {
namespace {

TEST(SettingsTest, AMissingFileIsCreatedWithTheDefaultsKeepingTheBackupText) {
    TempDir dir;
    DataRoot root(dir.path());
    GeneralSettings s;
    s.backupFolder = "E:\\OrdalisBck";
    s.printerType = 1;
    loadSettings(root, s);
    EXPECT_EQ(s.printerType, 0);
    EXPECT_EQ(TempDir::read(dir / "FileSet/MMVarLas.stt"),
              "1\r\n0\r\n0\r\n1\r\n 1.00000000000000E+0000\r\nE:\\OrdalisBck\r\n 1.00000000000000E+0000\r\n"
              " 1.00000000000000E+0000\r\n");
}

TEST(SettingsTest, ADamagedFileStopsTheReadAndIsNotRewritten) {
    const char* damaged[] = {
        "1\r\n0\r\n0\r\n1\r\n1.0\r\n\r\n1.0\r\n",            // seven lines
        "1\r\n0\r\nzero\r\n1\r\n1.0\r\n\r\n1.0\r\n1.0\r\n",  // a word where a number belongs
    };
    for (const char* contents : damaged) {
        TempDir dir;
        dir.write("FileSet/MMVarLas.stt", contents);
        GeneralSettings s;
        s.calendarRule = 7;
        EXPECT_THROW(loadSettings(DataRoot(dir.path()), s), FileError);
        EXPECT_EQ(s.calendarRule, 7) << "nothing taken from a damaged file";
        EXPECT_EQ(TempDir::read(dir / "FileSet/MMVarLas.stt"), contents);
    }
}

TEST(SettingsTest, OnlyTheOlderBackupFolderIsReset) {
    struct Case {
        const char* line6;
        const char* after;
    } cases[] = {
        {"D:\\Or6Backup\\Testi", "Da definire"},
        {"Or6Backup", "Da definire"},
        {"D:\\OrdalisBck", "D:\\OrdalisBck"},
        {"", ""},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string contents = std::string("1\r\n0\r\n0\r\n1\r\n1,5\r\n") + c.line6 + "\r\n0.9\r\n1.1\r\n";
        dir.write("FileSet/MMVarLas.stt", contents);
        const bool rewritten = resetOldBackupLine(DataRoot(dir.path()));
        const auto lines = readLines(dir / "FileSet/MMVarLas.stt");
        EXPECT_EQ(lines[5], c.after) << c.line6;
        EXPECT_EQ(lines[4], "1,5") << "the other lines as they were";
        EXPECT_EQ(rewritten, std::string(c.line6) != c.after);
    }
}

TEST(SettingsTest, SaveRewritesEveryLineFromTheRecord) {
    TempDir dir;
    DataRoot root(dir.path());
    GeneralSettings s;
    loadSettings(root, s);
    s.lineFactor = 0.5;
    s.reserved3 = 42;
    saveSettings(root, s);
    GeneralSettings again;
    ASSERT_TRUE(readSettings(root, again));
    EXPECT_EQ(again.lineFactor, 0.5L);
    EXPECT_EQ(again.reserved3, 42);
    EXPECT_EQ(again.calendarRule, 1);
}

TEST(LoginDatesTest, TheListShowsTheDayOfTheLogin) {
    // 0 h of 1 January 2000 is JD 2451544.5; the file keeps 2451544.
    EXPECT_EQ(dayNumberText(2451544.5L), "2451544");
    EXPECT_EQ(loginDateText("2451544"), "01/01/2000");
    EXPECT_EQ(loginDateText("2460000"), "25/02/2023");
}

TEST(LoginDatesTest, TheUpdateWindowStampsTheLoginsBeforeAndThePreviousDate) {
    TempDir dir;
    DataRoot root(dir.path());
    EXPECT_THROW(usageStamp(root), FileError);
    dir.write("OpzioneT/Sole.tm1", "2460000\r\n2460010\r\n7\r\n");
    EXPECT_EQ(usageStamp(root), "6/25/02/23");
}

}  // namespace
}  // namespace athanor::test
