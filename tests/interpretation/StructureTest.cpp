#include "foundations/FileError.h"
#include "interpretation/Structure.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace athanor {
namespace {

using test::TempDir;

// Exchange tables held in memory, recording which sizes were asked for.
class Tables : public ExchangeTables {
public:
    std::map<int, std::set<std::string>> lines;
    std::set<int> asked;
    bool contains(int planets, std::string_view line) override {
        asked.insert(planets);
        return lines[planets].count(std::string(line)) != 0;
    }
};

// Signs of Sun .. Saturn; index 0 unused.
std::array<int, 8> signs(std::initializer_list<int> s) {
    std::array<int, 8> out{};
    int i = 1;
    for (int v : s) out[i++] = v;
    return out;
}

using Slots = std::vector<std::array<int, 3>>;  // planet, level, parent

void expectColumn(const StructureRow& column, int code, int group, const Slots& slots) {
    EXPECT_EQ(column.code, code);
    EXPECT_EQ(column.group, group);
    for (size_t i = 0; i < column.entries.size(); ++i) {
        const auto& s = column.entries[i];
        if (i < slots.size()) EXPECT_EQ((std::array<int, 3>{s.planet, s.level, s.parent}), slots[i]) << "slot " << i;
        else EXPECT_EQ(s.planet, 0) << "slot " << i;
    }
}

std::vector<int> heads(const ArchetypalStructure& s) {
    std::vector<int> h;
    for (const auto& c : s.columns) h.push_back(c.entries[0].planet);
    return h;
}

TEST(Dignities, TheTableHoldsThirtyEightCellsOneCodeEach) {
    int filled = 0;
    for (int p = 1; p <= 7; ++p)
        for (int s = 1; s <= 12; ++s) filled += dignity(p, s) != 0;
    EXPECT_EQ(filled, 38);
    EXPECT_STREQ(dignityCode(3, 6), "Ad");  // Mercury in Virgo: domicile
    EXPECT_STREQ(dignityCode(3, 11), "Ae");
    EXPECT_STREQ(dignityCode(3, 5), "Dc");
    EXPECT_STREQ(dignityCode(7, 1), "Dc");
    EXPECT_STREQ(dignityCode(6, 6), "De");
    EXPECT_STREQ(dignityCode(5, 9), "");
    EXPECT_EQ(domicileRuler(12), 6);
    EXPECT_EQ(domicileRuler(11), 7);
    EXPECT_STREQ(conditionScreenCaption(5), "Intercam.");
    EXPECT_STREQ(conditionPrintCaption(2), "Exaltac");
}

TEST(Structure, ConditionsOrderTheColumnsAndTheTreesGrowByDomicile) {
    // Sun Leo, Moon Taurus, Mercury Pisces, Venus Virgo; Mars and Saturn in Gemini
    // (Mercury's), Jupiter in Aries (Mars's).
    Tables t;
    const auto s = computeStructure(signs({5, 2, 12, 6, 3, 1, 3}), t);
    EXPECT_EQ(heads(s), (std::vector<int>{3, 4, 2, 1}));
    ASSERT_EQ(s.columns.size(), 4u);
    // Venus stands in Virgo, but is a head already; Mercury itself is not placed under
    // Jupiter although Pisces is Jupiter's.
    expectColumn(s.columns[0], condition::Exile, 0, {{3, 1, 0}, {5, 2, 3}, {7, 2, 3}, {6, 3, 5}});
    expectColumn(s.columns[1], condition::Fall, 0, {{4, 1, 0}});
    expectColumn(s.columns[2], condition::Exaltation, 0, {{2, 1, 0}});
    expectColumn(s.columns[3], condition::Domicile, 0, {{1, 1, 0}});
    EXPECT_EQ(filledLevels(s.columns[0]), 4);
    // Three planets are free: pairs and triples are looked for, larger groups are not.
    EXPECT_EQ(t.asked, (std::set<int>{2, 3}));
}

TEST(Structure, MutualReceptionsFormPairsInTheOrderFound) {
    // Sun Cancer / Moon Leo, Mercury Taurus / Venus Gemini, Mars Sagittarius / Jupiter
    // Aries; Saturn in Gemini falls under Mercury.
    Tables t;
    t.lines[2] = {"01040205", "03020403", "05090601"};
    const auto s = computeStructure(signs({4, 5, 2, 3, 9, 1, 3}), t);
    EXPECT_EQ(heads(s), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    expectColumn(s.columns[0], condition::Reception, reception::FirstPair, {{1, 1, 0}});
    expectColumn(s.columns[1], condition::Reception, reception::FirstPair, {{2, 1, 0}});
    expectColumn(s.columns[2], condition::Reception, reception::SecondPair, {{3, 1, 0}, {7, 2, 3}});
    expectColumn(s.columns[3], condition::Reception, reception::SecondPair, {{4, 1, 0}});
    // A third pair keeps its own group, so each pair is bridged on its own.
    expectColumn(s.columns[4], condition::Reception, reception::ThirdPair, {{5, 1, 0}});
    expectColumn(s.columns[5], condition::Reception, reception::ThirdPair, {{6, 1, 0}});
}

TEST(Structure, DignifiedAndPairedPlanetsStayOutOfLaterSearches) {
    Tables t;
    // Sun in Leo has a dignity: its pair line is never asked for. Moon / Mercury form a
    // pair, so the triple Moon, Mercury, Venus cannot be found.
    const auto sg = signs({5, 3, 4, 3, 9, 1, 3});
    t.lines[2] = {exchangeLine({1, 2}, sg), exchangeLine({2, 3}, sg)};
    t.lines[3] = {exchangeLine({2, 3, 4}, sg)};
    const auto s = computeStructure(sg, t);
    EXPECT_EQ(s.rows[1].code, condition::Domicile);
    EXPECT_EQ(s.rows[1].group, 0);
    EXPECT_EQ(s.rows[2].group, reception::FirstPair);
    EXPECT_EQ(s.rows[3].group, reception::FirstPair);
    EXPECT_EQ(s.rows[4].code, condition::None);
}

TEST(Structure, GroupSearchesTryTheirCandidatesInOrder) {
    // No planet has a dignity, so the free planets are f1..f7 = Sun..Saturn.
    const auto sg = signs({3, 3, 2, 3, 5, 1, 3});
    struct Case {
        std::vector<std::vector<int>> present;
        std::vector<int> found;
        int group;
    } cases[] = {
        {{{5, 6, 7}, {4, 5, 7}}, {4, 5, 7}, reception::Triple},
        {{{1, 2, 5}, {3, 4, 5}}, {3, 4, 5}, reception::Triple},
        {{{1, 2, 4}, {1, 2, 6}, {2, 3, 4}}, {2, 3, 4}, reception::Triple},
        {{{1, 2, 7}, {4, 5, 6}, {1, 2, 6}}, {1, 2, 6}, reception::Triple},
        {{{2, 3, 4, 6}, {1, 2, 3, 5}}, {1, 2, 3, 5}, reception::Quadruple},
        {{{3, 4, 5, 6, 7}, {1, 2, 3, 4, 7}, {1, 2, 5, 6, 7}}, {1, 2, 3, 4, 7}, reception::Quintuple},
    };
    for (const auto& c : cases) {
        Tables t;
        for (const auto& planets : c.present) t.lines[int(planets.size())].insert(exchangeLine(planets, sg));
        const auto s = computeStructure(sg, t);
        std::vector<int> found;
        for (int p = 1; p <= 7; ++p)
            if (s.rows[p].group == c.group) found.push_back(p);
        EXPECT_EQ(found, c.found) << exchangeLine(c.found, sg);
    }
}

TEST(Structure, LaterStagesRenumberTheFreePlanets) {
    // The pair Sun / Moon leaves f1..f5 = Mercury..Saturn; the quadruple (f1, f2, f3, f5)
    // is Mercury, Venus, Mars, Saturn.
    const auto sg = signs({3, 3, 2, 3, 5, 1, 3});
    Tables t;
    t.lines[2] = {exchangeLine({1, 2}, sg)};
    t.lines[4] = {exchangeLine({3, 4, 5, 7}, sg)};
    const auto s = computeStructure(sg, t);
    EXPECT_EQ(heads(s), (std::vector<int>{1, 2, 3, 4, 5, 7}));
    EXPECT_EQ(s.rows[7].group, reception::Quadruple);
    EXPECT_EQ(s.rows[6].code, condition::None);
}

TEST(Structure, NoConditionGivesNoColumns) {
    Tables t;
    const auto s = computeStructure(signs({3, 3, 2, 3, 5, 1, 3}), t);
    EXPECT_TRUE(s.columns.empty());
    EXPECT_EQ(t.asked, (std::set<int>{2, 3, 4, 5}));
}

TEST(ExchangeFilesTest, WholeLinesOfTheProgramFolderFiles) {
    TempDir dir;
    dir.write("Scambi/Scambio22.txt", "01040205\r\n0302040\r\n03020403 \r\n");
    ExchangeFiles files{DataRoot(dir.path())};
    EXPECT_TRUE(files.contains(2, "01040205"));
    EXPECT_FALSE(files.contains(2, "03020403"));  // the file's line has a trailing blank
    EXPECT_FALSE(files.contains(2, "0104"));
    EXPECT_THROW(files.contains(3, "010402050301"), FileError);
}

TEST(ExchangeFilesTest, AMissingFileEndsTheComputationOnlyWhenNeeded) {
    TempDir dir;
    ExchangeFiles files{DataRoot(dir.path())};
    // Every planet has a dignity: no file is read.
    ChartState chart;
    const std::array<long double, 8> lon = {0, 125, 35, 65, 40, 5, 255, 285};
    for (int p = 1; p <= 7; ++p) chart.BodyLongitude[p] = lon[p];
    EXPECT_EQ(computeStructure(chart, files).columns.size(), 7u);
    chart.BodyLongitude[1] = 95;   // the Sun in Cancer and
    chart.BodyLongitude[2] = 125;  // the Moon in Leo are free
    EXPECT_THROW(computeStructure(chart, files), FileError);
}

}  // namespace
}  // namespace athanor
