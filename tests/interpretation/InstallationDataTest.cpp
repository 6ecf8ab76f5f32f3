// The reception tables and the year table shipped in data/.
#include "foundations/TextFile.h"
#include "interpretation/OrbEditor.h"
#include "interpretation/PlanetaryHour.h"
#include "interpretation/Structure.h"

#include <gtest/gtest.h>

namespace athanor {
namespace {

const DataRoot kInstalled{std::filesystem::path(ATHANOR_SOURCE_DIR) / "data"};

TEST(InstalledOrbSettings, SetACurrentAndTheEditorsInitialValues) {
    OrbSettings orbs;
    ChartState chart;
    loadOrbSettings(kInstalled, orbs, chart);
    for (const auto& k : kAspectsByDisplay) EXPECT_EQ(orbs.AspectOrb[k.orbIndex], k.setA) << k.editorName;
    EXPECT_EQ(orbs.OrbSetLetter, "A");
    EXPECT_EQ(chart.HouseSystem, "PLACIDO");
    EXPECT_EQ(chart.NodeKind, "VERO");
    OrbEditor editor(kInstalled);
    editor.activate(orbs, chart);
    EXPECT_TRUE(editor.validate());
    for (int row = 0; row < kAspectKinds; ++row) {
        EXPECT_EQ(editor.field('B', row), kAspectsByDisplay[row].defaultB);
        EXPECT_EQ(editor.field('C', row), kAspectsByDisplay[row].defaultC);
    }
    EXPECT_EQ(editor.visibleFrame(), 'A');
}

TEST(InstalledYearTable, SevenCyclesOf36YearsFrom1765) {
    const auto lines = readLines(kInstalled.resolve(kYearMastersFile));
    ASSERT_EQ(lines.size(), 252u);
    for (int i = 0; i < 252; ++i) {
        ASSERT_EQ(lines[i].size(), 8u);
        EXPECT_EQ(lines[i].substr(0, 4), std::to_string(1765 + i));
    }
    struct Case {
        int year;
        const char* master;
        const char* cycle;
    } cases[] = {
        {1765, "Saturno", "Saturno"}, {1801, "Venus", "Venus"},   {1909, "Marte", "Marte"},
        {1914, "Saturno", "Marte"},   {1944, "Marte", "Marte"},   {1945, "la Luna", "la Luna"},
        {1980, "la Luna", "la Luna"}, {1981, "el Sol", "el Sol"}, {2016, "el Sol", "el Sol"},
    };
    for (const auto& c : cases) {
        const YearMasters m = readYearMasters(kInstalled, c.year);
        EXPECT_EQ(m.tableYear, c.year);
        EXPECT_EQ(m.yearName, c.master) << c.year;
        EXPECT_EQ(m.cycleName, c.cycle) << c.year;
    }
    // A birth in 1600 is read as 1852, in 2020 as 1768.
    EXPECT_EQ(readYearMasters(kInstalled, masterTableYear(1600)).cycleName, "J\xFApiter");
    EXPECT_EQ(readYearMasters(kInstalled, masterTableYear(2020)).cycleName, "Saturno");
}

TEST(InstalledExchangeTables, ReceptionsByDomicile) {
    ExchangeFiles files(kInstalled);
    EXPECT_TRUE(files.contains(2, "01040205"));          // Sun in Cancer, Moon in Leo
    EXPECT_TRUE(files.contains(2, "03020403"));          // Mercury in Taurus, Venus in Gemini
    EXPECT_TRUE(files.contains(2, "03070406"));          // Mercury in Libra, Venus in Virgo
    EXPECT_FALSE(files.contains(2, "01040203"));         // the Moon in Gemini receives nobody
    EXPECT_TRUE(files.contains(3, "030204100703"));      // Mercury > Venus > Saturn > Mercury
    EXPECT_FALSE(files.contains(3, "030204030703"));     // Venus in Gemini: a pair and a third
    EXPECT_TRUE(files.contains(4, "0104020303010505"));  // Sun > Moon > Mercury > Mars > Sun
}

TEST(InstalledExchangeTables, AStructureWithACyclicReception) {
    // Sun, Moon, Mars and Jupiter at home; Mercury in Taurus, Venus in Capricorn and
    // Saturn in Gemini dispose of one another in a ring.
    ExchangeFiles files(kInstalled);
    const std::array<int, 8> signs{0, 5, 4, 2, 10, 1, 9, 3};
    const auto s = computeStructure(signs, files);
    for (int p : {3, 4, 7}) {
        EXPECT_EQ(s.rows[p].code, condition::Reception) << p;
        EXPECT_EQ(s.rows[p].group, reception::Triple) << p;
    }
    ASSERT_EQ(s.columns.size(), 7u);
    EXPECT_EQ(s.columns[0].entries[0].planet, 3);
    EXPECT_EQ(s.columns[3].entries[0].planet, 1);
}

}  // namespace
}  // namespace athanor
