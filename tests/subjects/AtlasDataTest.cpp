// The installed atlas (data/Localita, data/Calendar) checked against the IANA time-zone
// database through the sample the generator writes, and against the calendar reforms.

#include "foundations/Cp1252.h"
#include "foundations/Format.h"
#include "foundations/TextFile.h"
#include "subjects/Localities.h"
#include "subjects/LocalityBrowser.h"
#include "subjects/TimeZones.h"

#include <gtest/gtest.h>

#include <cstring>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace athanor;

namespace {

const DataRoot kData(std::filesystem::path(ATHANOR_SOURCE_DIR) / "data");

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> out;
    std::stringstream ss(line);
    std::string field;
    while (std::getline(ss, field, '\t')) out.push_back(field);
    return out;
}

LocalDateTime parseDateTime(const std::string& date, const std::string& time) {
    LocalDateTime w;
    std::sscanf(date.c_str(), "%d/%d/%d", &w.day, &w.month, &w.year);
    std::sscanf(time.c_str(), "%d:%d", &w.hour, &w.minute);
    return w;
}

// The place of a list named exactly so, in the country given.
std::int64_t findPlace(const LocalityList& list, const std::string& name, const std::string& country) {
    const std::int64_t mid = list.bisect(name);
    for (std::int64_t k = std::max<std::int64_t>(1, mid - 200); k <= std::min(list.count(), mid + 5); ++k) {
        const LocalityRecord r = list.record(k);
        if (r.name == name && r.country == country) return k;
    }
    return 0;
}

std::vector<LocalityRecord> wholeList(LocalityListKind kind) {
    std::ifstream in(kData.resolve(localityListFile(kind)), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    std::vector<LocalityRecord> out;
    for (std::size_t off = kLocalityRecordSize; off + kLocalityRecordSize <= bytes.size(); off += kLocalityRecordSize)
        out.push_back(
            decodeLocality(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()) + off, kLocalityRecordSize)));
    return out;
}

}  // namespace

// Every pair of the sample: the correction of the look-up equals the IANA offset of that
// zone at that local time, except in local mean time (before a zone's first standard
// time), where it follows the place's own longitude. A mean time in legal use after that
// (Lagos 1908-1913) is an ordinary change: IANA names it LMT, the table has its offset.
// At the skipped hour of a change the offset before it applies, at the repeated hour the
// first one, as zoneinfo's fold=0 does.
TEST(AtlasDataTest, CorrectionsAgreeWithTheIanaDatabase) {
    // ATHANOR_ATLAS_SAMPLE names a larger sample made by the generator (--sample-size).
    const char* other = std::getenv("ATHANOR_ATLAS_SAMPLE");
    std::ifstream in(other ? std::filesystem::path(other)
                           : std::filesystem::path(ATHANOR_SOURCE_DIR) / "tests/fixtures/atlas/iana-sample.tsv");
    ASSERT_TRUE(in) << "sample missing";
    const LocalityList italian(kData, LocalityListKind::Italian);
    const LocalityList foreign(kData, LocalityListKind::Foreign);
    std::map<std::string, int> kinds;
    int rows = 0, lmtRows = 0, legalMeanTimeRows = 0;
    std::vector<std::string> failures;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        const auto f = splitTabs(line);
        ASSERT_EQ(f.size(), 9u) << line;
        const bool isItalian = f[0] == "italia";
        const LocalityList& list = isItalian ? italian : foreign;
        const LocalityRecord place = list.record(std::stoll(f[1]));
        ASSERT_EQ(cp1252ToUtf8(place.name), f[2]) << line;
        const ZoneLookup z = lookUpZone(kData, place, list.kind(), parseDateTime(f[4], f[5]), 1);
        ++rows;
        ++kinds[f[8]];
        const bool ianaMeanTime = f[7] == "LMT" || f[7] == "-00";
        const double expected = -std::stod(f[6]) / 3600.0;
        bool agrees;
        if (z.localMeanTime) {
            ++lmtRows;
            agrees = ianaMeanTime && std::fabs(static_cast<double>(z.correction + place.longitude / 15)) <= 1e-7;
        } else {
            legalMeanTimeRows += ianaMeanTime;
            agrees = std::fabs(static_cast<double>(z.correction) - expected) <= 1e-9;
        }
        if (!agrees) failures.push_back(line + " -> " + z.correctionText + (z.localMeanTime ? " LMT" : ""));
    }
    EXPECT_GE(rows, 3000);
    EXPECT_GT(lmtRows, 0);
    EXPECT_GT(kinds["gap"], 0);
    EXPECT_GT(kinds["fold"], 0);
    std::string shown;
    for (std::size_t i = 0; i < failures.size() && i < 20; ++i) shown += failures[i] + "\n";
    EXPECT_TRUE(failures.empty()) << failures.size() << " of " << rows << " differ:\n" << shown;
    std::printf("atlas sample: %d pairs, %d in local mean time, %d in a legal mean time, %d at a skipped hour, "
                "%d at a repeated hour, %zu differ\n",
                rows, lmtRows, legalMeanTimeRows, kinds["gap"], kinds["fold"], failures.size());
}

TEST(AtlasDataTest, CalendarsAroundTheReformsUnderBothRules) {
    const LocalityList italian(kData, LocalityListKind::Italian);
    const LocalityList foreign(kData, LocalityListKind::Foreign);
    struct Place {
        const LocalityList* list;
        const char* name;
        const char* country;
    };
    const std::map<std::string, Place> places = {
        {"Roma", {&italian, "ROMA", "ITALIA"}},
        {"London", {&foreign, "London", "REINO UNIDO"}},
        {"Moscow", {&foreign, "Moscow", "RUSIA"}},
        {"Athens", {&foreign, "Athens", "GRECIA"}},
    };
    struct Case {
        const char* place;
        LocalDateTime when;
        const char* rule0;
        const char* rule1;
    };
    const Case cases[] = {
        {"Roma", {1, 6, 1500, 12, 0}, "GIUL", "GIUL"},    {"Roma", {4, 10, 1582, 23, 59}, "GIUL", "GIUL"},
        {"Roma", {15, 10, 1582, 0, 0}, "GREG", "GREG"},   {"London", {1, 6, 1700, 12, 0}, "GIUL", "GREG"},
        {"London", {2, 9, 1752, 23, 59}, "GIUL", "GREG"}, {"London", {14, 9, 1752, 0, 0}, "GREG", "GREG"},
        {"Moscow", {1, 1, 1900, 12, 0}, "GIUL", "GREG"},  {"Moscow", {31, 1, 1918, 23, 59}, "GIUL", "GREG"},
        {"Moscow", {14, 2, 1918, 0, 0}, "GREG", "GREG"},  {"Athens", {15, 2, 1923, 23, 59}, "GIUL", "GREG"},
        {"Athens", {1, 3, 1923, 0, 0}, "GREG", "GREG"},   {"Athens", {1, 6, 1500, 12, 0}, "GIUL", "GIUL"},
    };
    std::map<std::string, LocalityRecord> records;
    for (const auto& [key, p] : places) {
        const std::int64_t k = findPlace(*p.list, p.name, p.country);
        ASSERT_GT(k, 0) << key;
        records[key] = p.list->record(k);
    }
    for (const auto& c : cases) {
        const Place& p = places.at(c.place);
        for (int rule : {0, 1}) {
            const ZoneLookup z = lookUpZone(kData, records[c.place], p.list->kind(), c.when, rule);
            EXPECT_EQ(z.calendar, rule == 0 ? c.rule0 : c.rule1)
                << c.place << " " << c.when.day << "/" << c.when.month << "/" << c.when.year << " rule " << rule;
        }
    }
    // Under the countries' own dates the last Julian day and the first Gregorian one follow
    // each other.
    const struct {
        const char* place;
        LocalDateTime last, first;
    } reforms[] = {
        {"Roma", {4, 10, 1582, 0, 0}, {15, 10, 1582, 0, 0}},
        {"London", {2, 9, 1752, 0, 0}, {14, 9, 1752, 0, 0}},
        {"Moscow", {31, 1, 1918, 0, 0}, {14, 2, 1918, 0, 0}},
        {"Athens", {15, 2, 1923, 0, 0}, {1, 3, 1923, 0, 0}},
    };
    for (const auto& r : reforms) {
        const Place& p = places.at(r.place);
        const auto a = lookUpZone(kData, records[r.place], p.list->kind(), r.last, 0);
        const auto b = lookUpZone(kData, records[r.place], p.list->kind(), r.first, 0);
        EXPECT_DOUBLE_EQ(static_cast<double>(b.localJulianDay - a.localJulianDay), 1.0) << r.place;
    }
}

TEST(AtlasDataTest, ListsAreSortedForTheSearchAndEveryTableIsThere) {
    const auto italian = wholeList(LocalityListKind::Italian);
    const auto foreign = wholeList(LocalityListKind::Foreign);
    ASSERT_GT(italian.size(), 7000u);
    ASSERT_GT(foreign.size(), 100000u);
    for (std::size_t k = 1; k < italian.size(); ++k)
        ASSERT_LE(italian[k - 1].name, italian[k].name) << "Italian record " << k + 1;
    for (std::size_t k = 1; k < foreign.size(); ++k)
        ASSERT_LE(foldLocalityName(foreign[k - 1].name), foldLocalityName(foreign[k].name))
            << "foreign record " << k + 1;

    std::set<std::string> indexed;
    for (const auto& line : readLines(kData.resolve(kForeignTableIndex))) indexed.insert(line.substr(0, 12));
    std::set<std::int32_t> italianTables, foreignTables;
    for (const auto& p : italian) {
        EXPECT_EQ(p.country, "ITALIA");
        EXPECT_EQ(p.name, upperCased(p.name)) << p.name;
        italianTables.insert(p.tableNumber);
    }
    for (const auto& p : foreign) foreignTables.insert(p.tableNumber);
    for (std::int32_t t : italianTables) {
        EXPECT_NE(tableFileName(t), kSpecialTable);
        EXPECT_TRUE(kData.exists(std::string("Calendar\\") + tableFileName(t))) << t;
    }
    for (std::int32_t t : foreignTables) {
        EXPECT_NE(tableFileName(t), kSpecialTable);
        EXPECT_TRUE(indexed.count(tableFileName(t))) << t;
    }
}

TEST(AtlasDataTest, TypedNamesAndEnterChooseThePlaces) {
    auto typeAndEnter = [](LocalityListKind kind, const std::string& typed) {
        LocalityPicker picker(kData, kind);
        for (char c : typed) picker.typeKey(c);
        const auto enter = picker.enter(true);
        return enter.outcome == LocalityPicker::EnterOutcome::Chosen ? picker.list().record(enter.record).name
                                                                     : std::string("(no choice)");
    };
    for (const char* name : {"ROMA", "MILANO", "NAPOLI", "TORINO", "FIRENZE", "VENEZIA", "GENOVA", "CANTU'"})
        EXPECT_EQ(typeAndEnter(LocalityListKind::Italian, name), name);
    EXPECT_EQ(typeAndEnter(LocalityListKind::Italian, "reggio di calabria"), "REGGIO DI CALABRIA");
    // With or without the accented capital.
    EXPECT_EQ(typeAndEnter(LocalityListKind::Foreign, "\xC4lmhult"), "\xC4lmhult");
    EXPECT_EQ(typeAndEnter(LocalityListKind::Foreign, "almhult"), "\xC4lmhult");
    const LocalityList foreign(kData, LocalityListKind::Foreign);
    EXPECT_EQ(foreign.bisect("\xC4lmhult"), foreign.bisect("Almhult"));
}

TEST(AtlasDataTest, HomonymsWithinACountryCarryTheirRegion) {
    const LocalityList foreign(kData, LocalityListKind::Foreign);
    for (const char* name : {"New York Mills *Minnesota*", "New York Mills *New York*", "Newark *New Jersey*",
                             "Newark *Ohio*", "London *Kentucky*", "London *Ohio*"})
        EXPECT_NE(findPlace(foreign, name, "ESTADOS UNIDOS"), 0) << name;
    // A name found once in its country keeps it bare, though other countries have it too.
    EXPECT_NE(findPlace(foreign, "London", "REINO UNIDO"), 0);
    EXPECT_NE(findPlace(foreign, "London", "CANAD\xC1"), 0);
    EXPECT_NE(findPlace(foreign, "New York City", "ESTADOS UNIDOS"), 0);

    // The list shows the region in brackets and the country apart.
    LocalityPicker picker(kData, LocalityListKind::Foreign);
    for (char c : std::string("New York Mills")) picker.typeKey(c);
    const auto shown = picker.lines();
    const std::set<std::string> lines(shown.begin(), shown.end());
    EXPECT_TRUE(lines.count("New York Mills (Minnesota) \x97 ESTADOS UNIDOS")) << *lines.rbegin();
    EXPECT_TRUE(lines.count("New York Mills (New York) \x97 ESTADOS UNIDOS")) << *lines.rbegin();
}

TEST(AtlasDataTest, TheSelectedLineIsInViewAndIsWhatEnterChooses) {
    LocalityPicker picker(kData, LocalityListKind::Foreign);
    for (const char* typed : {"New York", "Sydney", "London", "San", "Zur"}) {
        picker.clickField();
        for (const char* c = typed; *c; ++c) picker.typeKey(*c);
        const auto line = picker.selectedLine();
        ASSERT_TRUE(line) << typed;
        const std::string shown = picker.lines()[static_cast<std::size_t>(*line)];
        EXPECT_EQ(foldLocalityName(shown.substr(0, std::strlen(typed))), foldLocalityName(typed)) << shown;
        // "Sydney" names places in two countries: typed alone, it asks for a pick by hand.
        if (picker.list().exactMatches(typed).size() > 1) {
            EXPECT_EQ(picker.enter(true).outcome, LocalityPicker::EnterOutcome::DoubleClickNeeded) << typed;
            picker.selectLine(*line);
        }
        const auto enter = picker.enter(true);
        ASSERT_EQ(enter.outcome, LocalityPicker::EnterOutcome::Chosen) << typed;
        EXPECT_EQ(localityLine(picker.list().record(enter.record)), shown) << typed;
    }
    picker.clickField();
    for (char c : std::string("New York")) picker.typeKey(c);
    EXPECT_EQ(picker.list().record(picker.enter(true).record).name, "New York City");
}

TEST(AtlasDataTest, CommandLineLookUp) {
    const std::string cmd = std::string(ATHANOR_CLI) +
                            " lookup --list italia --place roma --date 21/03/1990 --time 14:30 --data '" +
                            (std::filesystem::path(ATHANOR_SOURCE_DIR) / "data").string() + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(cmd.c_str(), "r"), ::pclose);
    ASSERT_TRUE(pipe);
    std::string out;
    char buf[4096];
    while (std::fgets(buf, sizeof buf, pipe.get())) out += buf;
    for (const char* part :
         {"\"name\":\"ROMA\"", "\"country\":\"ITALIA\"", "\"coordText\":\"41N54-012E31\"", "\"calendar\":\"GREG\"",
          "\"correction\":\"-1\"", "\"localMeanTime\":false", "\"julianDay\":\"2447972,062\"",
          "\"dateText\":\"21/03/1990 14:30\"", "\"25/03/1990 03:00 -2 CEST\""})
        EXPECT_NE(out.find(part), std::string::npos) << part << "\n" << out;
}
