// Text lists, alias lines, the remedy-name list with Prdts.dum, and prefix positioning.
#include "foundations/Collation.h"
#include "foundations/TextFile.h"
#include "knowledge/PrefixSearch.h"
#include "knowledge/TextLists.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace athanor {
namespace {

using test::TempDir;
using Lines = std::vector<std::string>;

class Lists : public ::testing::Test {
protected:
    void SetUp() override { setCollationLocale("es"); }
};

TEST_F(Lists, AscendingWithoutRepetitionsIgnoresCaseButKeepsCaseVariants) {
    const Lines sorted = sortedWithoutRepetitions(
        {"ortica", "Melisa", "\xC1rnica", "Ortica", "melisa", "Melisa", "Zarzaparrilla", "Abedul", "Abedul"});
    // Case-insensitive order, accented letters in their place; exact duplicates go, even
    // when a case variant came between them.
    ASSERT_EQ(sorted.size(), 7u);
    EXPECT_EQ(std::count(sorted.begin(), sorted.end(), "Melisa"), 1);
    EXPECT_EQ(sorted[0], "Abedul");
    EXPECT_EQ(sorted[1], "\xC1rnica");
    EXPECT_EQ(sorted.back(), "Zarzaparrilla");
    for (std::size_t i = 1; i < sorted.size(); ++i) {
        EXPECT_LE(collate(sorted[i - 1], sorted[i]), 0) << sorted[i];
        EXPECT_NE(sorted[i - 1], sorted[i]);
    }
}

TEST_F(Lists, AliasLinesByProductPrefix) {
    auto pad = [](std::string s) {
        s.resize(70, ' ');
        return s;
    };
    struct Case {
        std::string line;
        Lines aliases;
    } cases[] = {
        {"MSA Ortica", {pad("Ortica (MSA)") + "MSA Ortica"}},
        // The usual " - " between prefix and name is not part of the rest.
        {"MSA - Ortica", {pad("Ortica (MSA)") + "MSA - Ortica"}},
        {"TSA -Salvia", {pad("Salvia (TSA)") + "TSA -Salvia"}},
        {"QSPC - Hip\xE9rico", {pad("HIP\xE9RICO (QSPC)") + "QSPC - Hip\xE9rico"}},
        {"TSA Romero (2)", {pad("Romero (2) (TSA)") + "TSA Romero (2)"}},
        // Only the alias part is upper-cased; the remedy line keeps its case.
        {"QSPC Hip\xE9rico", {pad("HIP\xE9RICO (QSPC)") + "QSPC Hip\xE9rico"}},
        {"HS 120 - Salvia", {pad("Salvia (HS 120)") + "HS 120 - Salvia"}},
        // "HS 8 -" also begins with "HS": two aliases, the second one cut as the HS rule cuts.
        {"HS 8 - Tomillo", {pad("Tomillo (HS 8)") + "HS 8 - Tomillo", pad("millo (HS 8 -)") + "HS 8 - Tomillo"}},
        {"Ortica", {}},
        {"msa minúsculas", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(aliasLines(c.line), c.aliases) << c.line;
        for (const auto& a : c.aliases) EXPECT_EQ(aliasTarget(a), c.line);
    }
    // A 40-character window from character 71: a longer name is cut, a plain line has none.
    EXPECT_EQ(aliasTarget(pad("x") + std::string(45, 'n')), std::string(40, 'n'));
    EXPECT_EQ(aliasTarget("MSA Ortica"), "");
}

RemedyRecord named(const std::string& name) {
    RemedyRecord r;
    r.name = name;
    return r;
}

TEST_F(Lists, RemedyNameListAndItsNumbersFile) {
    const std::vector<RemedyRecord> records = {
        named("Errore registro"), named("Salvia  "), named("Ortica"), named("Salvia"),
        named("Arnica"),          named("ortica"),   named("Ortica"), named("MSA Errore"),
    };
    const auto list = remedyNameList(records);
    const std::vector<RemedyNameEntry> expected = {{"Arnica", 4}, {"Ortica", 2}, {"ortica", 5}, {"Salvia", 1}};
    ASSERT_EQ(list.size(), 4u);
    // Case variants stay apart, each with its own first record.
    EXPECT_EQ(list, expected);

    TempDir dir;
    const auto path = dir / "Prdts.dum";
    writeRemedyNumbers(path, list);
    EXPECT_EQ(TempDir::read(path), "4\r\n2\r\n5\r\n1\r\n");
    EXPECT_EQ(readRemedyNumbers(path), (std::vector<std::int64_t>{4, 2, 5, 1}));
    dir.write("bad.dum", "3\r\nxx\r\n7");
    EXPECT_EQ(readRemedyNumbers(dir / "bad.dum"), (std::vector<std::int64_t>{3, -1, 7}));

    // Only record 0, and it is a placeholder: the list still shows it.
    EXPECT_EQ(remedyNameList({named("Registro vac\xEDo")}), (std::vector<RemedyNameEntry>{{"Registro vac\xEDo", 0}}));
}

TEST(PrefixPosition, BisectionOverTheFirstCharacters) {
    const Lines entries = {"ABEDUL", "ARNICA", "MELISA", "MENTA", "ORTICA", "ROMERO", "SALVIA", "TOMILLO"};
    struct Case {
        std::string p;
        int expected;
    } cases[] = {
        {"M", 2}, {"ME", 2}, {"MEN", 3}, {"ORT", 4}, {"T", 7}, {"TOMILLO", 7}, {"Z", 7},
        {"", 4},  {"A", 1},  {"AB", 0},  {"MF", 3},  {"0", 0}, {"SALVIAX", 6},
    };
    for (const auto& c : cases) EXPECT_EQ(prefixPosition(entries, c.p), c.expected) << c.p;
    // The last entry of a short list is reachable too.
    EXPECT_EQ(prefixPosition({"ROMERO", "SALVIA"}, "SAL"), 1);
    EXPECT_EQ(prefixPosition({}, "A"), -1);
    EXPECT_EQ(prefixPosition({"UNO"}, "Z"), 0);
    // Bytes compare unsigned: an accented capital sorts after Z.
    EXPECT_EQ(prefixPosition({"A", "B", "Z"}, "\xC1"), 2);
}

TEST(PrefixPosition, InTheOrderOfTheListWhateverTheLetterCase) {
    setCollationLocale("es");
    const std::vector<std::string> entries = {"MSA Arnica", "TSA \xC1rnica", "TSA Ortiga", "TSA Romero", "TSA Tilo"};
    struct Case {
        const char* p;
        int expected;
    } cases[] = {{"TSA ROM", 3}, {"TSA ROMERO", 3}, {"tsa r", 3}, {"TSA AR", 1}, {"TSA P", 3}, {"Z", 4}, {"", 0}, {"A", 0}, {"msa", 0}};
    for (const auto& c : cases) EXPECT_EQ(sortedPrefixPosition(entries, c.p), c.expected) << c.p;
    EXPECT_EQ(sortedPrefixPosition({}, "A"), -1);
}

TEST(PrefixPosition, TypedText) {
    TypedPrefix upper(TypedPrefix::Case::Upper);
    for (char c : std::string("ort\xE9\r")) upper.type(c);
    EXPECT_EQ(upper.text(), "ORT\xE9");  // accented letters stay; Enter is not part of it
    upper.type('\b');
    upper.backspace();
    EXPECT_EQ(upper.text(), "OR");
    upper.clear();
    EXPECT_EQ(upper.text(), "");

    TypedPrefix first(TypedPrefix::Case::FirstUpper);
    for (char c : std::string("dolor")) first.type(c);
    EXPECT_EQ(first.text(), "Dolor");
    for (int i = 0; i < 6; ++i) first.backspace();
    first.type('t');
    EXPECT_EQ(first.text(), "T");
}

}  // namespace
}  // namespace athanor
