// The interpretation texts and messages shipped in data/: every key the analysis window
// and the printed pages can ask for has its text, in the columns the readers take.
#include "foundations/Format.h"
#include "foundations/TextFile.h"
#include "interpretation/Sectors.h"
#include "knowledge/InterpretationTexts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>

namespace athanor {
namespace {

const DataRoot kInstalled{std::filesystem::path(ATHANOR_SOURCE_DIR) / "data"};

// Aspects the sky never shows, with any orb up to 15°: Mercury stays within 28° of the
// Sun, Venus within 48°, the two within 76° of each other; the nodes are always opposite.
const std::set<std::string> kImpossibleAspects = {"SolSeMer", "SolQuMer", "SolTrMer", "SolOpMer", "SolQuVen",
                                                  "SolTrVen", "SolOpVen", "MerTrVen", "MerOpVen", "NonCoNos",
                                                  "NonSeNos", "NonQuNos", "NonTrNos"};

std::vector<std::string> everyPositionKey() {
    std::vector<std::string> keys;
    for (int b = 1; b <= kChartBodies; ++b) {
        for (int s = 1; s <= 12; ++s) {
            keys.push_back(std::string(kBodyCode4[b]) + kSignTag4[s]);
            keys.push_back(std::string(kBodyCode4[b]) + kHouseTag4[s]);
            keys.push_back(std::string(kBodyTag3[b]) + "An" + signAbbreviation(s));
            keys.push_back(std::string(kBodyTag3[b]) + "Ca" + signAbbreviation(s));
        }
        for (int k = 1; k <= 60; ++k) keys.push_back(kBodyCode4[b] + zeroPadded(k, 2));
        for (int d = 1; d <= 36; ++d) {
            keys.push_back(decanCode(b, d));
            keys.push_back(kBodyCode2[b] + zeroPadded(d, 2));
        }
    }
    for (int i = 1; i <= 9; ++i)
        for (int j = i + 1; j <= kChartBodies; ++j)
            for (const char* kind : {"Co", "Se", "Qu", "Tr", "Op"}) {
                std::string key = std::string(kBodyTag3[i]) + kind + kBodyTag3[j];
                if (!kImpossibleAspects.count(key)) keys.push_back(std::move(key));
            }
    return keys;
}

KeyedTexts load(std::string_view file, KeyedLayout layout) { return KeyedTexts::load(kInstalled, file, layout); }

// No line is cut by its reader: the key, blanks up to the text column, then a text that
// fits the reader's width. keyWidth 0: keys of several lengths.
void expectLayout(std::string_view file, std::size_t keyWidth, std::size_t textColumn, std::size_t textWidth) {
    for (const auto& line : readLines(kInstalled.resolve(file))) {
        ASSERT_GT(line.size(), textColumn - 1) << file << ": " << line;
        EXPECT_LE(line.size(), textColumn - 1 + textWidth) << file << ": " << line;
        const std::string keyArea = line.substr(0, textColumn - 1);
        const std::size_t keyEnd = keyArea.find(' ');
        ASSERT_NE(keyEnd, std::string::npos) << file << ": " << line;
        EXPECT_GT(keyEnd, 0u) << file << ": " << line;
        if (keyWidth > 0) {
            EXPECT_EQ(keyEnd, keyWidth) << file << ": " << line;
        }
        EXPECT_EQ(keyArea.find_first_not_of(' ', keyEnd), std::string::npos) << file << ": " << line;
        EXPECT_NE(line[textColumn - 1], ' ') << file << ": " << line;
    }
}

TEST(InstalledTexts, EveryPositionCodeHasItsTexts) {
    const auto specific = load(kPlanetSpecificFile, kPlanetTextLayout);
    const auto printed = load(kPrintedPlanetFile, kPlanetTextLayout);
    const auto keys = everyPositionKey();
    EXPECT_EQ(keys.size(), 11u * (12 * 4 + 60 + 72) + 257);
    for (const auto& key : keys) {
        const auto lines = specific.lookup(key);
        ASSERT_FALSE(lines.empty()) << key;
        for (const auto& t : lines) EXPECT_FALSE(t.empty()) << key;
        EXPECT_EQ(printed.lookup(key).size(), 1u) << key;
    }
    // Every line of both files belongs to one of those keys: nothing is keyed wrongly.
    const std::set<std::string> known(keys.begin(), keys.end());
    for (const char* file : {kPlanetSpecificFile, kPrintedPlanetFile})
        for (const auto& line : readLines(kInstalled.resolve(file)))
            EXPECT_TRUE(known.count(line.substr(0, line.find(' ')))) << file << ": " << line;
    expectLayout(kPlanetSpecificFile, 0, 22, 60);
    expectLayout(kPrintedPlanetFile, 0, 22, 60);
}

TEST(InstalledTexts, ChartsFindTextsForEveryCodeTheyWrite) {
    // Charts drawn at random, with the inner planets where the sky allows them and the
    // widest orbs, go through the position codes and the lists of the analysis window.
    const auto specific = load(kPlanetSpecificFile, kPlanetTextLayout);
    const auto printed = load(kPrintedPlanetFile, kPlanetTextLayout);
    const SpecificTexts lists = SpecificTexts::load(kInstalled);
    OrbSettings orbs;
    orbs.AspectOrb.fill(15);
    std::mt19937 rng(20240611);
    std::uniform_real_distribution<double> circle(0, 360), near(-1, 1);
    for (int n = 0; n < 300; ++n) {
        ChartState chart;
        auto& lon = chart.BodyLongitude;
        for (int b = 1; b <= kChartBodies; ++b) lon[b] = circle(rng);
        lon[body::Mercury] = normalize360(lon[body::Sun] + 27.5L * near(rng));
        lon[body::Venus] = normalize360(lon[body::Sun] + 47.5L * near(rng));
        lon[body::SouthNode] = normalize360(lon[body::NorthNode] + 180);
        lon[body::Midheaven] = normalize360(lon[body::Ascendant] - 90 + 35 * near(rng));
        for (int h = 0; h < 12; ++h) chart.HouseCusp[h] = normalize360(lon[body::Ascendant] + 30 * h + 8 * near(rng));
        for (const auto& code : positionCodes(chart, orbs)) {
            EXPECT_FALSE(specific.lookup(code).empty()) << code;
            EXPECT_TRUE(printed.first(code).has_value()) << code;
        }
        for (bool dodecatemoria : {false, true})
            for (const auto& list : sectorLists(computeSectors(chart), lists, dodecatemoria))
                EXPECT_EQ(list.lines.size(), 11u) << list.title;
    }
}

TEST(InstalledTexts, BodiesSignsAndSignCodes) {
    const auto general = load(kPlanetGeneralFile, kPlanetTextLayout);
    for (int b = 1; b <= kChartBodies; ++b) EXPECT_GE(bodyGeneralTexts(b, general).size(), 4u) << b;
    expectLayout(kPlanetGeneralFile, 4, 22, 60);

    // The sign-code file is what the wheel rewrites: the installed copy is the same.
    const auto signCodes = readLines(kInstalled.resolve(kSignCodeListFile));
    EXPECT_EQ(signCodes, signAntisciaCodes());
    const auto signSpecific = load(kSignSpecificFile, kSignSpecificLayout);
    const auto signGeneral = load(kSignGeneralFile, kSignGeneralLayout);
    for (int s = 1; s <= 12; ++s) {
        EXPECT_EQ(signSpecificTexts(s, signCodes, signSpecific).size(), 8u) << s;  // two codes, four lines each
        EXPECT_GE(signGeneralTexts(s, signGeneral).size(), 8u) << s;
    }
    expectLayout(kSignSpecificFile, 7, 21, 50);
    expectLayout(kSignGeneralFile, 2, 4, 80);
}

TEST(InstalledTexts, EveryViewHasItsMessageSection) {
    const auto messages = MessageSections::load(kInstalled);
    ASSERT_GE(messages.count(), 34);
    for (int n = 1; n <= 34; ++n) {
        const auto& section = messages.section(n);
        ASSERT_FALSE(section.empty()) << n;
        EXPECT_FALSE(section.front().empty()) << n;  // the view's title comes first
    }
}

TEST(InstalledTexts, Windows1252WithCrLf) {
    for (const char* file : {kMessagesFile, kPlanetGeneralFile, kPlanetSpecificFile, kPrintedPlanetFile,
                             kSignGeneralFile, kSignSpecificFile, kSignCodeListFile}) {
        const std::string bytes = test::TempDir::read(kInstalled.resolve(file));
        ASSERT_FALSE(bytes.empty()) << file;
        EXPECT_TRUE(bytes.ends_with("\r\n")) << file;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const auto c = static_cast<unsigned char>(bytes[i]);
            if (c == '\n') {
                ASSERT_EQ(bytes[i - 1], '\r') << file << " byte " << i;
            }
            // Undefined in Windows-1252, or the lead byte of UTF-8 text written by mistake.
            ASSERT_TRUE(c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D && c != 0xC2 && c != 0xC3)
                << file << " byte " << i;
        }
    }
}

TEST(InstalledTexts, RegeneratedByTheirTool) {
    if (std::system("python3 --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "python3 is not installed";
    test::TempDir out;
    const std::string command = "python3 '" + std::string(ATHANOR_SOURCE_DIR) +
                                "/tools/gen-texts/gen_texts.py' --out '" + out.path().string() + "' > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const DataRoot fresh(out.path());
    for (const char* file : {kMessagesFile, kPlanetGeneralFile, kPlanetSpecificFile, kPrintedPlanetFile,
                             kSignGeneralFile, kSignSpecificFile, kSignCodeListFile})
        EXPECT_TRUE(test::TempDir::read(fresh.resolve(file)) == test::TempDir::read(kInstalled.resolve(file)))
            << file << " differs from what tools/gen-texts writes";
}

}  // namespace
}  // namespace athanor
