#include "foundations/FileError.h"
#include "foundations/TextFile.h"
#include "interpretation/Aspects.h"
#include "interpretation/OrbEditor.h"
#include "interpretation/OrbFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace athanor {
namespace {

using test::TempDir;

OrbSettings orbsOf(int orbIndex, long double orb) {
    OrbSettings o;
    o.AspectOrb[orbIndex] = orb;
    return o;
}

TEST(AspectTest, BoundsAreStrict) {
    struct Case {
        long double s;
        int kind;
        long double orb;
        bool expected;
    } cases[] = {
        {172.0L, aspect::Opposition, 8, false},
        {172.1L, aspect::Opposition, 8, true},
        {180.0L, aspect::Opposition, 8, true},
        {0.0L, aspect::Conjunction, 0, false},
        {4.9L, aspect::Conjunction, 5, true},
        {5.0L, aspect::Conjunction, 5, false},
        {60.0L, aspect::Sextile, 3, true},
        {63.0L, aspect::Sextile, 3, false},
        {57.0L, aspect::Sextile, 3, false},
        {90.0L, aspect::Square, 0, false},
        {360.0L / 7.0L, aspect::Septile, 0.5L, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(aspectTest(c.s, c.kind, orbsOf(c.kind, c.orb)), c.expected) << c.s << " kind " << c.kind;
}

TEST(AspectTest, ClassificationFollowsItsOrderAndSkipsTheMinorKinds) {
    OrbSettings orbs;
    for (const auto& k : kAspectsByDisplay) orbs.AspectOrb[k.orbIndex] = k.setA;
    EXPECT_EQ(classifyAspect(150.5L, orbs), aspect::Quincunx);
    EXPECT_EQ(classifyAspect(3.0L, orbs), aspect::Conjunction);
    EXPECT_EQ(classifyAspect(100.0L, orbs), std::nullopt);
    // Decile, novile and septile pass their own test but are never reported.
    EXPECT_TRUE(aspectTest(36.2L, aspect::Decile, orbs));
    EXPECT_EQ(classifyAspect(36.2L, orbs), std::nullopt);
    EXPECT_EQ(classifyAspect(51.5L, orbs), std::nullopt);
    // Overlapping orbs: the sesquiquadrate is tried before the trine.
    orbs.AspectOrb[aspect::Trine] = 12;
    orbs.AspectOrb[aspect::Sesquiquadrate] = 6;
    EXPECT_EQ(classifyAspect(130.0L, orbs), aspect::Sesquiquadrate);
    EXPECT_EQ(classifyAspect(128.0L, orbs), aspect::Trine);
}

TEST(AspectTest, EclipticSeparationFoldsIntoHalfACircle) {
    EXPECT_DOUBLE_EQ(double(eclipticSeparation(10, 350)), 20.0);
    EXPECT_DOUBLE_EQ(double(eclipticSeparation(350, 10)), 20.0);
    EXPECT_DOUBLE_EQ(double(eclipticSeparation(0, 180)), 180.0);
    EXPECT_DOUBLE_EQ(double(eclipticSeparation(100, 100)), 0.0);
}

// The settings file as the program writes it; `values` in display order.
std::vector<std::string> settingsLines(const std::vector<long double>& values, const std::string& house,
                                       const std::string& node, const std::string& letter,
                                       const std::string& blackMoon) {
    std::vector<std::string> lines;
    for (long double v : values) lines.push_back(formatReal(v));
    lines.insert(lines.end(), {house, node, letter, blackMoon});
    return lines;
}

std::vector<long double> sequence(long double first, int n = 16) {
    std::vector<long double> v;
    for (int i = 0; i < n; ++i) v.push_back(first + i);
    return v;
}

TEST(OrbSettingsFile, LoadsOrbsByDisplayOrderAndTheEngineSettings) {
    TempDir dir;
    DataRoot root(dir.path());
    std::filesystem::create_directories(dir / "FileSet");
    writeLines(dir / "FileSet/OrbiDomi.stt", settingsLines(sequence(1), "PLACIDO", "MEDIO", "B", "VERA"));
    OrbSettings orbs;
    ChartState chart;
    loadOrbSettings(root, orbs, chart);
    // Line 7 is the sextile (orb index 1), line 9 the square, line 14 the opposition.
    EXPECT_EQ(orbs.AspectOrb[aspect::Conjunction], 1);
    EXPECT_EQ(orbs.AspectOrb[aspect::Semisextile], 2);
    EXPECT_EQ(orbs.AspectOrb[aspect::Sextile], 7);
    EXPECT_EQ(orbs.AspectOrb[aspect::Square], 9);
    EXPECT_EQ(orbs.AspectOrb[aspect::Opposition], 14);
    EXPECT_EQ(orbs.ParallelOrb, 15);
    EXPECT_EQ(orbs.AntisciaOrb, 16);
    EXPECT_EQ(orbs.OrbSetLetter, "B");
    EXPECT_EQ(chart.HouseSystem, "PLACIDO");
    EXPECT_EQ(chart.NodeKind, "MEDIO");
    EXPECT_EQ(chart.BlackMoonKind, "VERA");
}

TEST(OrbSettingsFile, AShortOrMissingFileFailsAndChangesNothing) {
    TempDir dir;
    DataRoot root(dir.path());
    OrbSettings orbs;
    orbs.OrbSetLetter = "C";
    ChartState chart;
    EXPECT_THROW(loadOrbSettings(root, orbs, chart), FileError);

    auto lines = settingsLines(sequence(1), "KOCH", "VERO", "A", "VERA");
    lines.pop_back();
    std::filesystem::create_directories(dir / "FileSet");
    writeLines(dir / "FileSet/OrbiDomi.stt", lines);
    EXPECT_THROW(loadOrbSettings(root, orbs, chart), FileError);
    EXPECT_THROW(replaceSettingsLine(root, 18, "VERO", orbs, chart), FileError);
    EXPECT_EQ(orbs.OrbSetLetter, "C");
    EXPECT_EQ(chart.HouseSystem, "PLACIDO");
}

TEST(OrbSettingsFile, ReplacingALineKeepsTheOthersCutTo25Characters) {
    TempDir dir;
    DataRoot root(dir.path());
    std::filesystem::create_directories(dir / "FileSet");
    auto lines = settingsLines(sequence(0.5L), "CASE_MEDIE", "MEDIO", "A", "VERA");
    lines[16] = "CASE_MEDIE and a long tail beyond";
    lines[1] = "    2.5000000000000000000E+0000";
    writeLines(dir / "FileSet/OrbiDomi.stt", lines);
    OrbSettings orbs;
    ChartState chart;
    replaceSettingsLine(root, 18, "VERO", orbs, chart);

    const auto after = readLines(dir / "FileSet/OrbiDomi.stt");
    ASSERT_EQ(after.size(), 20u);
    for (int i = 0; i < 20; ++i) {
        if (i == 17) EXPECT_EQ(after[i], "VERO");
        else EXPECT_EQ(after[i], lines[i].substr(0, 25)) << "line " << i + 1;
    }
    EXPECT_EQ(chart.NodeKind, "VERO");
    EXPECT_EQ(chart.HouseSystem, "CASE_MEDIE and ");
    EXPECT_EQ(orbs.AspectOrb[aspect::Semisextile], 2.5L);
    EXPECT_EQ(TempDir::read(dir / "FileSet/OrbiDomi.stt").substr(0, 25), formatReal(0.5L) + "\r\n");
}

void writeSets(const TempDir& dir, const std::string& letter) {
    std::vector<std::string> lines;
    for (int set = 0; set < 3; ++set)
        for (long double v : sequence(100 * (set + 1))) lines.push_back(formatReal(v));
    lines.push_back(letter);
    std::filesystem::create_directories(dir / "FileDum");
    writeLines(dir / "FileDum/MMVarOrb.dum", lines);
}

TEST(OrbSetSwitch, MakesTheChosenSetCurrentWithTheEngineSettingsHeld) {
    TempDir dir;
    DataRoot root(dir.path());
    writeSets(dir, "A");
    OrbSettings orbs;
    ChartState chart;
    chart.HouseSystem = "CASE_MEDIE";
    chart.NodeKind = "MEDIO";
    chart.BlackMoonKind = "VERA";

    EXPECT_EQ(switchOrbSet(root, 'B', orbs, chart), 'B');
    for (int row = 0; row < kAspectKinds; ++row) EXPECT_EQ(orbs.AspectOrb[kAspectsByDisplay[row].orbIndex], 200 + row);
    EXPECT_EQ(orbs.ParallelOrb, 214);
    EXPECT_EQ(orbs.AntisciaOrb, 215);
    const auto settings = readLines(dir / "FileSet/OrbiDomi.Stt");
    ASSERT_EQ(settings.size(), 20u);
    EXPECT_EQ(settings[0], formatReal(200));
    EXPECT_EQ(std::vector<std::string>(settings.begin() + 16, settings.end()),
              (std::vector<std::string>{"CASE_MEDIE", "MEDIO", "B", "VERA"}));
    const auto sets = readLines(dir / "FileDum/MMVarOrb.dum");
    ASSERT_EQ(sets.size(), 49u);
    EXPECT_EQ(sets[48], "B");
    EXPECT_EQ(sets[32], formatReal(300));

    EXPECT_EQ(switchOrbSet(root, 'C', orbs, chart), 'C');
    EXPECT_EQ(orbs.AspectOrb[aspect::Opposition], 313);
}

TEST(OrbSetSwitch, AMissingSetsFileIsReportedAndTouchesNothing) {
    TempDir dir;
    DataRoot root(dir.path());
    OrbSettings orbs;
    ChartState chart;
    EXPECT_TRUE(orbSetsFileMissing(root));
    EXPECT_THROW(switchOrbSet(root, 'B', orbs, chart), FileError);
    EXPECT_FALSE(std::filesystem::exists(dir / "FileSet"));
    writeSets(dir, "A");
    EXPECT_FALSE(orbSetsFileMissing(root));
}

class OrbEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeSets(dir, "C");
        std::filesystem::create_directories(dir / "FileSet");
        std::vector<long double> c(16);
        for (int i = 0; i < 16; ++i) c[i] = 300 + i;
        writeLines(dir / "FileSet/OrbiDomi.Stt", settingsLines(c, "CASE_MEDIE", "VERO", "C", "VERA"));
        chart.HouseSystem = "CASE_MEDIE";
        chart.NodeKind = "VERO";
        chart.BlackMoonKind = "VERA";
        editor.activate(orbs, chart);
        // Bring every field into range.
        for (int row = 0; row < kAspectKinds; ++row) {
            editor.setField('B', row, "1,5");
            editor.setField('C', row, "2");
        }
        editor.setParallelField("1");
        editor.setAntisciaField("2");
    }
    TempDir dir;
    DataRoot root{dir.path()};
    OrbSettings orbs;
    ChartState chart;
    OrbEditor editor{root};
};

TEST_F(OrbEditorTest, ActivationShowsTheStoredSets) {
    OrbEditor fresh(root);
    fresh.activate(orbs, chart);
    EXPECT_EQ(fresh.field('B', 0), "200,0");
    EXPECT_EQ(fresh.field('C', 13), "313,0");
    EXPECT_EQ(fresh.parallelField(), "314,0");  // the last copy of the extra orbs
    EXPECT_EQ(fresh.visibleFrame(), 'C');
    EXPECT_EQ(fresh.edit1(), "C");
    EXPECT_FALSE(fresh.validate());  // 200 is out of range
    EXPECT_EQ(fresh.fieldState('B', 0), FieldState::Invalid);
    EXPECT_EQ(fresh.field('B', 0), "");
    EXPECT_EQ(OrbEditor::setAText(0), "\xB1 10");
    EXPECT_EQ(OrbEditor::fieldText(0.25L), "0,25");
}

TEST_F(OrbEditorTest, FieldsAreCheckedAgainstTheirBounds) {
    struct Case {
        const char* text;
        bool extra;
        bool ok;
    } cases[] = {
        {"15", false, true},  {"15,5", false, false}, {"0", false, true}, {"-0,5", false, false},
        {"4.5", false, true}, {"abc", false, false},  {"", false, false}, {"6,0", true, true},
        {"6,1", true, false}, {"0,25", true, true},
    };
    for (const auto& c : cases) {
        SetUp();
        if (c.extra) editor.setParallelField(c.text);
        else editor.setField('B', 3, c.text);
        EXPECT_EQ(editor.validate(), c.ok) << c.text;
        const FieldState state = c.extra ? editor.parallelState() : editor.fieldState('B', 3);
        const std::string& text = c.extra ? editor.parallelField() : editor.field('B', 3);
        EXPECT_EQ(state, c.ok ? FieldState::Valid : FieldState::Invalid) << c.text;
        EXPECT_EQ(text, c.ok ? c.text : "") << c.text;
    }
}

TEST_F(OrbEditorTest, AdoptingIsRefusedWhileAFieldIsInvalid) {
    const std::string before = TempDir::read(dir / "FileSet/OrbiDomi.Stt");
    editor.setField('C', 7, "16");
    const auto r = editor.adopt('B', orbs, chart);
    EXPECT_FALSE(r.adopted);
    EXPECT_EQ(r.message, kBadOrbsMessage);
    EXPECT_EQ(TempDir::read(dir / "FileSet/OrbiDomi.Stt"), before);
    EXPECT_EQ(orbs.OrbSetLetter, "C");
}

TEST_F(OrbEditorTest, AdoptingAPersonalSetWritesBothFiles) {
    editor.setField('B', 6, "3,25");  // the sextile row
    const auto r = editor.adopt('B', orbs, chart);
    ASSERT_TRUE(r.adopted);
    EXPECT_EQ(r.comboCaption, "B (personali)");
    EXPECT_EQ(editor.edit1(), "B");
    EXPECT_EQ(editor.visibleFrame(), 'B');
    EXPECT_EQ(orbs.OrbSetLetter, "B");
    EXPECT_EQ(orbs.AspectOrb[aspect::Sextile], 3.25L);
    EXPECT_EQ(orbs.AspectOrb[aspect::Opposition], 1.5L);
    EXPECT_EQ(orbs.ParallelOrb, 1);
    EXPECT_EQ(orbs.AntisciaOrb, 2);

    const auto sets = readLines(dir / "FileDum/MMVarOrb.dum");
    ASSERT_EQ(sets.size(), 49u);
    EXPECT_EQ(sets[0], formatReal(10));  // set A from its fixed values
    EXPECT_EQ(sets[6], formatReal(4));
    EXPECT_EQ(sets[14], formatReal(1));
    EXPECT_EQ(sets[15], formatReal(2));
    EXPECT_EQ(sets[16 + 6], formatReal(3.25L));
    EXPECT_EQ(sets[32], formatReal(2));
    EXPECT_EQ(sets[47], formatReal(2));
    EXPECT_EQ(sets[48], "B");
    const auto settings = readLines(dir / "FileSet/OrbiDomi.Stt");
    EXPECT_EQ(settings[18], "B");
    EXPECT_EQ(settings[17], "VERO");
}

TEST_F(OrbEditorTest, AdoptingSetATakesItsFixedOrbs) {
    const auto r = editor.adopt('A', orbs, chart);
    ASSERT_TRUE(r.adopted);
    EXPECT_EQ(r.comboCaption, "A (normali)");
    for (const auto& k : kAspectsByDisplay) EXPECT_EQ(orbs.AspectOrb[k.orbIndex], k.setA) << k.editorName;
}

TEST_F(OrbEditorTest, ClosingKeepsTheFieldsAndBringsNewExtraOrbsIntoTheSettings) {
    editor.close(orbs, chart);
    const auto sets = readLines(dir / "FileDum/MMVarOrb.dum");
    EXPECT_EQ(sets[16], formatReal(1.5L));
    EXPECT_EQ(sets[48], "C");
    const auto settings = readLines(dir / "FileSet/OrbiDomi.Stt");
    EXPECT_EQ(settings[14], formatReal(1));  // the new parallel orb reached the settings
    EXPECT_EQ(settings[0], formatReal(2));   // with set C, as named in Edit1
    EXPECT_EQ(orbs.ParallelOrb, 1);
}

TEST_F(OrbEditorTest, ClosingWhileInvalidWritesNothing) {
    const std::string before = TempDir::read(dir / "FileDum/MMVarOrb.dum");
    editor.setAntisciaField("7");
    editor.close(orbs, chart);
    EXPECT_EQ(TempDir::read(dir / "FileDum/MMVarOrb.dum"), before);
}

}  // namespace
}  // namespace athanor
