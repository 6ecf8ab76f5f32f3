#include "foundations/Calendar.h"
#include "foundations/FileError.h"
#include "subjects/TimeZones.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <limits>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

using namespace athanor;
using athanor::test::TempDir;

namespace {

constexpr long double kNoReform = 1721423.5L;

long double jdOf(int y, int m, int d, int h = 0, int mi = 0) { return julianDayFromCivil(1, mi, h, y, m, d).jd; }

// Hand-made tables: dated records, continuations, end marks.
struct Table {
    std::string bytes;
    Table& add(long double date, const std::string& code, double c) { return raw(date + kZoneDateOffset, code, c); }
    Table& greg(long double day) { return add(day, "GREG", 0); }
    Table& rich(long double number) { return raw(number, "RICH", 0); }
    Table& end() { return raw(0, "****", 0); }
    Table& raw(long double value, const std::string& code, double c) {
        const Bytes b = encodeZoneRecord(ZoneRecord{value, code, c});
        bytes.append(b.begin(), b.end());
        return *this;
    }
};

// A program folder with Italian tables as files and foreign ones in the data base.
struct Folder {
    TempDir dir;
    DataRoot root() const { return DataRoot(dir.path()); }
    void italian(const std::string& name, const Table& t) { dir.write("Calendar/" + name, t.bytes); }
    // Foreign tables in the order given, each closed by an end record, and their index.
    void foreign(const std::vector<std::pair<std::string, Table>>& tables) {
        std::string db, index;
        for (const auto& [name, t] : tables) {
            char line[64];
            std::snprintf(line, sizeof line, "%s  %06zu\r\n", name.c_str(), db.size() / kZoneRecordSize);
            index += line;
            db += t.bytes;
            db += Table().end().bytes;
        }
        dir.write("Calendar/Database.cll", db);
        dir.write("Calendar/Elencal.002", index);
    }
};

LocalityRecord placeWith(std::int32_t table, long double longitude = 12.5L) {
    return LocalityRecord{"VILLA *BZ*", 41.9L, longitude, table, "TESTLANDIA"};
}

LocalDateTime at(int d, int m, int y, int h = 12, int mi = 0) { return LocalDateTime{d, m, y, h, mi}; }

// Temporary files go to a folder of the test's own, so that what a look-up leaves behind shows.
class TempFolderScope {
public:
    TempFolderScope() {
        if (const char* old = std::getenv("TMPDIR")) saved_ = old;
        ::setenv("TMPDIR", dir_.path().c_str(), 1);
    }
    ~TempFolderScope() {
        if (saved_) ::setenv("TMPDIR", saved_->c_str(), 1);
        else ::unsetenv("TMPDIR");
    }
    bool empty() const { return std::filesystem::is_empty(dir_.path()); }

private:
    TempDir dir_;
    std::optional<std::string> saved_;
};

}  // namespace

TEST(ZoneRecordTest, FieldsSitAtTheirOffsetsAndRoundTrip) {
    const ZoneRecord r{jdOf(1950, 6, 1) + kZoneDateOffset, "CEST", -2.0};
    const Bytes b = encodeZoneRecord(r);
    ASSERT_EQ(b.size(), 24u);
    EXPECT_EQ(b[10], 4);
    EXPECT_EQ(std::string(b.begin() + 11, b.begin() + 15), "CEST");
    EXPECT_EQ(b[15], 0);
    double c;
    std::memcpy(&c, b.data() + 16, 8);
    EXPECT_EQ(c, -2.0);
    EXPECT_EQ(decodeZoneRecord(b), r);
    EXPECT_NEAR(static_cast<double>(decodeZoneRecord(b).date()), static_cast<double>(jdOf(1950, 6, 1)), 1e-9);
    EXPECT_EQ(zoneRecordLine(r), "01/06/1950 00:00 -2 CEST");
    EXPECT_EQ(zoneRecordLine(ZoneRecord{jdOf(1893, 11, 1) + kZoneDateOffset, "RMT", -0.8322222222222222}),
              "01/11/1893 00:00 -0,832 RMT");
    EXPECT_EQ(zoneRecordLine(ZoneRecord{jdOf(1970, 1, 1) + kZoneDateOffset, "EST", 5.0}), "01/01/1970 00:00 +5 EST");
}

TEST(TimeZoneLookupTest, TheCorrectionIsThatOfTheLastChangeBeforeTheMoment) {
    Folder f;
    f.italian("00000001.CAL", Table()
                                  .greg(2299160)
                                  .add(jdOf(1900, 1, 1), "EET", -2)
                                  .add(jdOf(1950, 1, 1), "CET", -1)
                                  .add(jdOf(1950, 6, 1, 2), "CEST", -2)
                                  .add(jdOf(1950, 10, 1, 3), "CET", -1));
    struct Case {
        LocalDateTime when;
        const char* correction;
        std::size_t listed;  // record 0 and the records scanned
    };
    const Case cases[] = {
        {at(1, 1, 1880), "-2", 2},  // before the first record: the first record's
        {at(1, 1, 1920), "-2", 3},       {at(1, 7, 1950), "-2", 5}, {at(1, 6, 1950, 1, 59), "-1", 4},
        {at(1, 6, 1950, 2, 1), "-2", 5}, {at(1, 1, 2000), "-1", 5},  // after the last record: the last record's
    };
    for (const auto& c : cases) {
        const ZoneLookup z = lookUpZone(f.root(), placeWith(100000001), LocalityListKind::Italian, c.when, 1);
        EXPECT_EQ(z.correctionText, c.correction) << c.when.year;
        EXPECT_EQ(z.recordList.size(), c.listed) << c.when.year;
        EXPECT_FALSE(z.localMeanTime);
    }
    const ZoneLookup z =
        lookUpZone(f.root(), placeWith(100000001), LocalityListKind::Italian, at(1, 7, 1950, 14, 30), 1);
    EXPECT_EQ(z.recordList[0], "04/10/1582 12:00 +0 GREG");
    EXPECT_EQ(z.recordList[1], "01/01/1900 00:00 -2 EET");
    EXPECT_EQ(z.recordList[4], "01/10/1950 03:00 -1 CET");
    EXPECT_EQ(z.tableName, "00000001.CAL");
    EXPECT_EQ(z.calendar, "GREG");
    EXPECT_EQ(z.dateText, "01/07/1950 14:30");
    EXPECT_DOUBLE_EQ(static_cast<double>(z.julianDay), static_cast<double>(jdOf(1950, 7, 1, 14, 30) - 2.0L / 24));
    EXPECT_EQ(z.julianDayText, "2433464,020");
    EXPECT_EQ(z.placeName, "VILLA *BZ*");
    EXPECT_EQ(z.country, "TESTLANDIA");
    EXPECT_EQ(z.coordText, "41N54-012E30");
}

TEST(TimeZoneLookupTest, AContinuationGoesOnInTheNamedTableWithWhatWasRemembered) {
    Folder f;
    f.foreign({
        {"00001001.CAL", Table()
                             .greg(kNoReform)
                             .add(jdOf(1880, 1, 1), "LMT ", -0.5)
                             .add(jdOf(1890, 1, 1), "CET", -1)
                             .rich(1002)
                             .add(jdOf(1990, 1, 1), "NOT", -9)},  // never reached
        {"00001002.CAL", Table()
                             .greg(kNoReform)
                             .add(jdOf(1885, 1, 1), "OLD", -3)  // scanned, not listed: before 1890
                             .add(jdOf(1900, 1, 1), "CET", -1.5)
                             .add(jdOf(1940, 1, 1), "CEST", -2)},
    });
    const LocalityRecord place = placeWith(100001001);
    ZoneLookup z = lookUpZone(f.root(), place, LocalityListKind::Foreign, at(1, 1, 1945), 1);
    EXPECT_EQ(z.correctionText, "-2");
    const std::vector<std::string> expected = {
        "01/01/0001 00:00 +0 GREG",  "01/01/1880 00:00 -0,5 LMT ", "01/01/1890 00:00 -1 CET",
        "CAMBIO FILE: 00001002.CAL", "01/01/1900 00:00 -1,5 CET",  "01/01/1940 00:00 -2 CEST",
    };
    EXPECT_EQ(z.recordList, expected);

    z = lookUpZone(f.root(), place, LocalityListKind::Foreign, at(1, 1, 1895), 1);
    EXPECT_EQ(z.correctionText, "-3");
    z = lookUpZone(f.root(), place, LocalityListKind::Foreign, at(1, 1, 1889), 1);
    EXPECT_EQ(z.correctionText, "-0,5");  // the first table's record before the stop
}

// Look-ups keep what they have read: whatever happens to a table or the index between two
// look-ups, the second gives the new answer. Rewrites come at once and at the same size, so
// neither the size nor the modification time tells them apart.
TEST(TimeZoneLookupTest, AnAtlasChangedBetweenLookUpsGivesTheNewAnswer) {
    Folder f;
    const auto italian = LocalityListKind::Italian, foreign = LocalityListKind::Foreign;
    auto correction = [&](std::int32_t table, LocalityListKind list) {
        return lookUpZone(f.root(), placeWith(table), list, at(1, 1, 2000), 1).correctionText;
    };
    auto table = [](const char* code, double c) {
        return Table().greg(kNoReform).add(jdOf(1880, 1, 1), "LMT ", 0).add(jdOf(1950, 1, 1), code, c);
    };

    f.italian("00000007.CAL", table("AAA", -1));
    EXPECT_EQ(correction(100000007, italian), "-1");
    f.italian("00000007.CAL", table("BBB", -2));
    const ZoneLookup z = lookUpZone(f.root(), placeWith(100000007), italian, at(1, 1, 2000), 1);
    EXPECT_EQ(z.correctionText, "-2");
    EXPECT_EQ(z.recordList.back(), "01/01/1950 00:00 -2 BBB");
    f.italian("00000007.CAL", table("BBB", -2).add(jdOf(1990, 1, 1), "CCC", -3));  // one record more
    EXPECT_EQ(correction(100000007, italian), "-3");
    // Renamed in another case it is found again, until a file spelt exactly comes back;
    // removed, it is missing.
    std::filesystem::rename(f.dir / "Calendar/00000007.CAL", f.dir / "Calendar/00000007.cal");
    EXPECT_EQ(correction(100000007, italian), "-3");
    f.italian("00000007.CAL", table("FFF", -6));
    EXPECT_EQ(correction(100000007, italian), "-6");
    std::filesystem::remove(f.dir / "Calendar/00000007.CAL");
    std::filesystem::remove(f.dir / "Calendar/00000007.cal");
    EXPECT_THROW(correction(100000007, italian), FileError);

    f.foreign(
        {{"00001001.CAL", table("AAA", -1)}, {"00001002.CAL", table("BBB", -2).add(jdOf(1960, 1, 1), "EEE", -5)}});
    EXPECT_EQ(correction(100001001, foreign), "-1");
    // The end record moved one record on: the same first records, a longer table.
    f.foreign(
        {{"00001001.CAL", table("AAA", -1).add(jdOf(1990, 1, 1), "DDD", -4)}, {"00001002.CAL", table("BBB", -2)}});
    EXPECT_EQ(correction(100001001, foreign), "-4");
    // The tables swapped: only the index says where each one starts now.
    f.foreign(
        {{"00001002.CAL", table("BBB", -2)}, {"00001001.CAL", table("AAA", -1).add(jdOf(1990, 1, 1), "DDD", -4)}});
    EXPECT_EQ(correction(100001001, foreign), "-4");
    EXPECT_EQ(correction(100001002, foreign), "-2");
}

TEST(TimeZoneLookupTest, AnEndRecordClosesAForeignTable) {
    Folder f;
    f.foreign({
        {"00001001.CAL", Table().greg(kNoReform).add(jdOf(1880, 1, 1), "LMT ", 0).add(jdOf(1900, 1, 1), "AAA", -3)},
        {"00001002.CAL", Table().greg(kNoReform).add(jdOf(1880, 1, 1), "LMT ", 0).add(jdOf(1950, 1, 1), "BBB", -4)},
    });
    const ZoneLookup z = lookUpZone(f.root(), placeWith(100001001), LocalityListKind::Foreign, at(1, 1, 2000), 1);
    EXPECT_EQ(z.correctionText, "-3");
    EXPECT_EQ(z.recordList.size(), 3u);
    const ZoneLookup z2 = lookUpZone(f.root(), placeWith(100001002), LocalityListKind::Foreign, at(1, 1, 2000), 1);
    EXPECT_EQ(z2.correctionText, "-4");
}

TEST(TimeZoneLookupTest, CalendarFromTheReformDateAndTheCalendarRule) {
    Folder f;
    f.foreign({
        {"00001001.CAL", Table().greg(kNoReform).add(jdOf(1880, 1, 1), "LMT ", 0).add(jdOf(1880, 1, 1), "UT", 0)},
        {"00001002.CAL", Table().greg(2361221).add(jdOf(1880, 1, 1), "LMT ", 0).add(jdOf(1880, 1, 1), "GMT", 0)},
        {"00001003.CAL",
         Table().add(jdOf(1500, 1, 1), "XXX", 0).add(jdOf(1880, 1, 1), "LMT ", 0).add(jdOf(1880, 1, 1), "UT", 0)},
    });
    f.italian("00000001.CAL", Table().greg(2299160).add(jdOf(1880, 1, 1), "LMT ", 0).add(jdOf(1880, 1, 1), "CET", -1));
    struct Case {
        std::int32_t table;
        LocalityListKind list;
        LocalDateTime when;
        int rule;
        const char* calendar;
    };
    const auto foreign = LocalityListKind::Foreign, italian = LocalityListKind::Italian;
    const Case cases[] = {
        // No reform date known.
        {100001001, foreign, at(1, 6, 1500), 1, "GIUL"},
        {100001001, foreign, at(1, 6, 1600), 1, "GREG"},
        {100001001, foreign, at(1, 6, 1500), 0, "GREG"},
        // Reform in 1752: 2 September (Julian) was followed by 14 September.
        {100001002, foreign, at(1, 6, 1700), 1, "GREG"},
        {100001002, foreign, at(1, 6, 1700), 0, "GIUL"},
        {100001002, foreign, at(2, 9, 1752, 23, 59), 0, "GIUL"},
        {100001002, foreign, at(14, 9, 1752, 0, 0), 0, "GREG"},
        {100001002, foreign, at(1, 6, 1500), 1, "GIUL"},
        // Italian tables: 4 October 1582 was followed by 15 October.
        {100000001, italian, at(4, 10, 1582, 23, 59), 0, "GIUL"},
        {100000001, italian, at(15, 10, 1582, 0, 0), 0, "GREG"},
        {100000001, italian, at(4, 10, 1582, 23, 59), 1, "GIUL"},
        // A table without a calendar record is Gregorian.
        {100001003, foreign, at(1, 6, 1500), 1, "GREG"},
        {100001003, foreign, at(1, 6, 1500), 0, "GREG"},
    };
    for (const auto& c : cases) {
        const ZoneLookup z = lookUpZone(f.root(), placeWith(c.table), c.list, c.when, c.rule);
        EXPECT_EQ(z.calendar, c.calendar)
            << c.table << " " << c.when.day << "/" << c.when.month << "/" << c.when.year << " rule " << c.rule;
        EXPECT_EQ(z.gregorian, std::string(c.calendar) == "GREG");
    }
    // Across the reform the two calendars meet: the last Julian day and the first Gregorian
    // one are one Julian day apart.
    const auto last = lookUpZone(f.root(), placeWith(100001002), foreign, at(2, 9, 1752, 0, 0), 0);
    const auto first = lookUpZone(f.root(), placeWith(100001002), foreign, at(14, 9, 1752, 0, 0), 0);
    EXPECT_DOUBLE_EQ(static_cast<double>(first.localJulianDay - last.localJulianDay), 1.0);
    EXPECT_EQ(last.dateText, "02/09/1752 00:00");
}

TEST(TimeZoneLookupTest, LocalMeanTimeFollowsThePlacesLongitude) {
    Folder f;
    f.italian(
        "00000001.CAL",
        Table().greg(2299160).add(jdOf(1893, 11, 1), "LMT ", -0.8322222222222222).add(jdOf(1893, 11, 1), "CET", -1));
    struct Case {
        long double longitude;
        int year;
        bool lmt;
        const char* text;
        long double value;
    };
    const Case cases[] = {
        {12.5L, 1880, true, "-0,83333333", -0.83333333L},
        {-12.5L, 1880, true, "+0,83333333", 0.83333333L},
        {0.0L, 1880, true, "-0", 0.0L},
        {12.5L, 1900, false, "-1", -1.0L},
    };
    for (const auto& c : cases) {
        const ZoneLookup z = lookUpZone(f.root(), placeWith(100000001, c.longitude), LocalityListKind::Italian,
                                        at(1, 6, c.year, 12, 0), 1);
        EXPECT_EQ(z.localMeanTime, c.lmt) << c.longitude;
        EXPECT_EQ(z.correctionText, c.text) << c.longitude;
        EXPECT_DOUBLE_EQ(static_cast<double>(z.correction), static_cast<double>(c.value));
        EXPECT_NEAR(static_cast<double>(z.julianDay), static_cast<double>(jdOf(c.year, 6, 1, 12) + c.value / 24), 1e-9);
    }
}

TEST(TimeZoneLookupTest, TheSpecialTableAndTheNote) {
    Folder f;
    f.italian("00920000.CAL", Table().greg(2299160).add(jdOf(1900, 1, 1), "LMT ", 0).add(jdOf(1900, 1, 1), "EST", 4));
    f.italian("00000001.CAL", Table().greg(2299160).add(jdOf(1900, 1, 1), "LMT ", 0).add(jdOf(1900, 1, 1), "EST", 4));
    const auto italian = LocalityListKind::Italian;
    // The limit is 30 September 1951 0:00 in Universal Time, 20:00 of the day before here.
    ZoneLookup z = lookUpZone(f.root(), placeWith(100920000), italian, at(29, 9, 1951, 19, 59), 1);
    EXPECT_EQ(z.correctionText, "+4");
    z = lookUpZone(f.root(), placeWith(100920000), italian, at(29, 9, 1951, 20, 1), 1);
    EXPECT_EQ(z.correctionText, "-5");
    EXPECT_DOUBLE_EQ(static_cast<double>(z.julianDay), static_cast<double>(jdOf(1951, 9, 29, 20, 1) + 4.0L / 24));
    z = lookUpZone(f.root(), placeWith(100000001), italian, at(1, 1, 1960), 1);
    EXPECT_EQ(z.correctionText, "+4");

    EXPECT_FALSE(lookUpZone(f.root(), placeWith(100000001), italian, at(31, 12, 2010), 1).outdatedNote);
    EXPECT_TRUE(lookUpZone(f.root(), placeWith(100000001), italian, at(1, 1, 2011), 1).outdatedNote);
}

TEST(TimeZoneLookupTest, FailuresEndWithAFileErrorAndWriteNothing) {
    Folder f;
    TempFolderScope temp;
    f.foreign({
        {"00001001.CAL", Table().greg(kNoReform).add(jdOf(1880, 1, 1), "LMT ", 0).rich(1002)},
        {"00001002.CAL", Table().greg(kNoReform).add(jdOf(1880, 1, 1), "LMT ", 0).rich(1001)},
        {"00001003.CAL", Table().greg(kNoReform).add(jdOf(1880, 1, 1), "LMT ", 0).rich(1009)},
        {"00001004.CAL", Table().greg(kNoReform)},
        {"00001005.CAL", Table().greg(kNoReform).add(jdOf(1880, 1, 1), "LMT ", 0).add(jdOf(1880, 1, 1), "UT", 0)},
        // Damaged records: a date of 1e714 days, a NaN, a correction of 1e300 hours.
        {"00001006.CAL", Table().greg(kNoReform).raw(std::numeric_limits<long double>::max() / 1e4000L, "LMT ", 0)},
        {"00001007.CAL", Table().greg(kNoReform).raw(std::numeric_limits<long double>::quiet_NaN(), "LMT ", 0)},
        {"00001008.CAL", Table().greg(kNoReform).add(jdOf(1880, 1, 1), "LMT ", 1e300)},
    });
    const auto foreign = LocalityListKind::Foreign;
    auto fails = [&](std::int32_t table, const std::string& words) {
        try {
            lookUpZone(f.root(), placeWith(table), foreign, at(1, 1, 1950), 1);
            ADD_FAILURE() << table << " did not fail";
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find(words), std::string::npos) << e.what();
        }
        EXPECT_TRUE(temp.empty()) << table;
    };
    fails(100001001, "00001001.CAL");  // a loop of continuations
    fails(100001003, "00001009.CAL");  // a continuation to a table the index lacks
    fails(100001004, "00001004.CAL");  // no record 1
    fails(100001077, "00001077.CAL");  // not in the index

    // A continuation to a table that is nowhere: the file holding it is the damaged one.
    f.italian("00000005.CAL", Table().greg(kNoReform).add(jdOf(1880, 1, 1), "LMT ", 0).rich(6));
    for (auto [table, list, holder] : {std::tuple{100001003, foreign, "Database.cll"},
                                       std::tuple{100000005, LocalityListKind::Italian, "00000005.CAL"}}) {
        try {
            lookUpZone(f.root(), placeWith(table), list, at(1, 1, 1950), 1);
            ADD_FAILURE() << table << " did not fail";
        } catch (const FileError& e) {
            EXPECT_EQ(e.path().filename(), holder);
            EXPECT_EQ(e.fault(), FileFault::Damaged);
        }
    }
    for (std::int32_t damaged : {100001006, 100001007, 100001008})
        fails(damaged, "registro da\xF1"
                       "ado");

    lookUpZone(f.root(), placeWith(100001005), foreign, at(1, 1, 1950), 1);
    EXPECT_TRUE(temp.empty());

    std::filesystem::remove(f.dir / "Calendar/Database.cll");
    fails(100001005, "Database.cll");
    std::filesystem::remove(f.dir / "Calendar/Elencal.002");
    fails(100001005, "Elencal.002");
    EXPECT_THROW(lookUpZone(f.root(), placeWith(100000001), LocalityListKind::Italian, at(1, 1, 1950), 1), FileError);
    EXPECT_TRUE(temp.empty());
}
