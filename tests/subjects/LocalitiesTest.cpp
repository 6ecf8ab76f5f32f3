#include "foundations/FileError.h"
#include "subjects/Localities.h"
#include "support/AtlasFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace athanor;
using athanor::test::listBytes;
using athanor::test::TempDir;

namespace {

LocalityRecord place(std::string name, std::string country = "ITALIA") {
    return LocalityRecord{std::move(name), 45.5L, 9.25L, 100000001, std::move(country)};
}

}  // namespace

TEST(LocalityRecordTest, FieldsSitAtTheirOffsetsAndRoundTrip) {
    const LocalityRecord p{"MILANO", 45.46427L, 9.18951L, 100000001, "ITALIA"};
    const Bytes b = encodeLocality(p);
    ASSERT_EQ(b.size(), 88u);
    EXPECT_EQ(b[0], 6);
    EXPECT_EQ(std::string(b.begin() + 1, b.begin() + 7), "MILANO");
    EXPECT_EQ(b[7], 0);  // bytes after the text are written as zero
    // 80-bit reals: exponent word of 45.46... is 0x4004, of 9.18... 0x4002.
    EXPECT_EQ(b[41], 0x40);
    EXPECT_EQ(b[40], 0x04);
    EXPECT_EQ(b[57], 0x40);
    EXPECT_EQ(b[56], 0x02);
    for (int k : {42, 43, 44, 45, 46, 47, 58, 59}) EXPECT_EQ(b[static_cast<std::size_t>(k)], 0) << k;
    // 100000001 = 0x05F5E101, little-endian at 60.
    EXPECT_EQ(b[60], 0x01);
    EXPECT_EQ(b[61], 0xE1);
    EXPECT_EQ(b[62], 0xF5);
    EXPECT_EQ(b[63], 0x05);
    EXPECT_EQ(b[64], 6);
    EXPECT_EQ(std::string(b.begin() + 65, b.begin() + 71), "ITALIA");
    EXPECT_EQ(decodeLocality(b), p);
}

TEST(LocalityRecordTest, OverlongLengthBytesAreClamped) {
    Bytes b = encodeLocality(place("ROMA"));
    b[0] = 200;  // name capacity 31
    b[64] = 99;  // country capacity 23
    const LocalityRecord r = decodeLocality(b);
    EXPECT_EQ(r.name.size(), 31u);
    EXPECT_EQ(r.country.size(), 23u);
}

TEST(LocalityNamesTest, Folding) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"Z\xFCrich", "ZURICH"},  // u umlaut
        {"Z\xDCRICH", "ZURICH"},  // capital U umlaut
        {"\xE0\xE1\xE2\xE3\xE4\xE5\xE6", "AAAAAAA"},
        {"\xF2\xF3\xF4\xF6\xF8", "OOOOO"},
        {"\xF5", "\xF5"},  // o tilde is not in the table
        {"Stra\xDF"
         "e",
         "STRASE"},  // sharp s becomes one S
        {"\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF\xF1\xE7", "EEEEIIIINC"},
        {"\xC1\xC2\xC4\xC5\xC6", "AAAAA"},
        {"\xC0\xC3", "\xC0\xC3"},  // A grave and A tilde stay
        {"\xD3\xD4\xD6\xD8\xDA\xDC\xCD\xCE\xCF\xC8\xC9\xCB\xC7", "OOOOUUIIIEEEC"},
        {"\xD1", "\xD1"},  // capital N tilde stays
        {"Saint-\xC9tienne (Loire)", "SAINT ETIENNE  LOIRE)"},
        {"'Ajl\xFBn", "AJLUN"},    // a leading apostrophe goes
        {"L'Aquila", "L'AQUILA"},  // an inner one stays
        {"ROMA *RM*", "ROMA *RM*"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(foldLocalityName(c.in), c.out) << c.in;
}

TEST(LocalityNamesTest, TableFileNames) {
    EXPECT_EQ(tableFileName(100920000), "00920000.CAL");
    EXPECT_EQ(tableFileName(100001234), "00001234.CAL");
    EXPECT_EQ(continuationFileName(920000), "00920000.CAL");
    EXPECT_EQ(continuationFileName(1001001), "01001001.CAL");
}

TEST(LocalityNamesTest, WindowLineShowsBracketsAndJoinsTheCountry) {
    EXPECT_EQ(shownLocalityName("SAN MARTINO *TO*"), "SAN MARTINO (TO)");
    EXPECT_EQ(shownLocalityName("A*B*C*D"), "A(B)C)D");
    EXPECT_EQ(localityLine(LocalityRecord{"ROMA   ", 0, 0, 0, "ITALIA  "}), "ROMA \x97 ITALIA");
    EXPECT_EQ(localityLine(LocalityRecord{"VILLA *BZ*", 0, 0, 0, "ITALIA"}), "VILLA (BZ) \x97 ITALIA");
}

TEST(LocalityListTest, SearchLandsOnTheExactNameOrJustBeforeTheNamesThatContinueIt) {
    TempDir dir;
    dir.write("Localita/ITALIA.LOC",
              listBytes({place("MILANO"), place("NAPOLI"), place("ROMA"), place("ROMA *RM*"), place("ROMAGNANO"),
                         place("ROMANO"), place("TORINO"), place("VENEZIA"), place("VERONA")}));
    const LocalityList list(DataRoot(dir.path()), LocalityListKind::Italian);
    ASSERT_EQ(list.count(), 9);
    struct Case {
        const char* prefix;
        std::int64_t record;
    };
    const Case cases[] = {
        {"ROMA", 4},   // "ROMA *RM*" continues with a blank, which sorts below "!"
        {"roma", 4},   // the typed prefix is folded (upper-cased) for the Italian list too
        {"ROMAG", 4},  // the last name below the prefix
        {"ROMAGNANO", 5}, {"NAPOLI", 2}, {"TORINO", 7}, {"A", 1},  // below every name
        {"ZZZ", 8},  // mid = (lo + hi) div 2 never reaches the last record
    };
    for (const auto& c : cases) EXPECT_EQ(list.bisect(c.prefix), c.record) << c.prefix;
}

TEST(LocalityListTest, ForeignNamesAreFoldedSoAccentedCapitalsNeedNotBeTyped) {
    TempDir dir;
    // Sorted by the folded name, as the foreign list is.
    dir.write("Localita/ESTERO.LOC",
              listBytes({place("\xDCrdingen", "SUIZA"), place("Uster", "SUIZA"), place("Val-d'Or", "CANAD\xC1"),
                         place("Z\xFCrich", "SUIZA"), place("Zwolle", "PA\xCDSES BAJOS")}));
    const LocalityList list(DataRoot(dir.path()), LocalityListKind::Foreign);
    EXPECT_EQ(list.bisect("\xDCrdingen"), 1);
    EXPECT_EQ(list.bisect("Urdingen"), 1);
    EXPECT_EQ(list.bisect("urdingen"), 1);
    EXPECT_EQ(list.bisect("Val d'Or"), 3);  // "-" folds to a blank
    EXPECT_EQ(list.bisect("Zurich"), 4);
    EXPECT_EQ(list.bisect("Z\xFCrich"), 4);
    EXPECT_EQ(list.bisect("Z\xDCRICH"), 4);
}

TEST(LocalityListTest, WindowLinesAroundTheCentre) {
    TempDir dir;
    std::vector<LocalityRecord> places;
    for (char c = 'A'; c <= 'J'; ++c) places.push_back(place(std::string(3, c)));
    dir.write("Localita/ITALIA.LOC", listBytes(places));
    const LocalityList list(DataRoot(dir.path()), LocalityListKind::Italian);
    auto lines = list.windowLines(4);
    EXPECT_EQ(lines[0], "AAA \x97 ITALIA");
    EXPECT_EQ(lines[3], "DDD \x97 ITALIA");
    EXPECT_EQ(lines[6], "GGG \x97 ITALIA");
    lines = list.windowLines(1);  // raised to 3: the header shows on the first line
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "AAA \x97 ITALIA");
    lines = list.windowLines(9);  // past the end: empty lines
    EXPECT_EQ(lines[4], "JJJ \x97 ITALIA");
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[6], "");
}

TEST(LocalityListTest, DamagedOrMissingListsGiveFileErrors) {
    TempDir dir;
    EXPECT_THROW(LocalityList(DataRoot(dir.path()), LocalityListKind::Foreign), FileError);
    dir.write("Localita/ESTERO.LOC", "");
    EXPECT_THROW(LocalityList(DataRoot(dir.path()), LocalityListKind::Foreign), FileError);
    // A short last record is the trace of an interrupted write and is not counted.
    dir.write("Localita/ITALIA.LOC", listBytes({place("ROMA")}) + std::string(40, 'x'));
    const LocalityList list(DataRoot(dir.path()), LocalityListKind::Italian);
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(list.record(1).name, "ROMA");
    EXPECT_THROW(list.record(2), FileError);
}

// A list answers from the file as it was when the list was made: a list file replaced by a
// shorter one meanwhile neither breaks it nor mixes the two; the next list reads the new one.
TEST(LocalityListTest, AListFileReplacedWhileInUse) {
    TempDir dir;
    const auto path = dir.write("Localita/ITALIA.LOC", listBytes({place("MILANO"), place("NAPOLI"), place("ROMA")}));
    const LocalityList list(DataRoot(dir.path()), LocalityListKind::Italian);
    std::filesystem::resize_file(path, kLocalityRecordSize);  // cut to the header, as a copy over it starts
    EXPECT_EQ(list.record(3).name, "ROMA");
    EXPECT_EQ(list.bisect("NAPOLI"), 2);
    EXPECT_EQ(list.windowLines(3)[3], "ROMA \x97 ITALIA");
    dir.write("Localita/ITALIA.LOC", listBytes({place("TORINO")}));
    EXPECT_EQ(list.exactMatches("NAPOLI"), std::vector<std::int64_t>{2});
    const LocalityList next(DataRoot(dir.path()), LocalityListKind::Italian);
    EXPECT_EQ(next.count(), 1);
    EXPECT_EQ(next.record(1).name, "TORINO");
}
