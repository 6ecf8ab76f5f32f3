#include "foundations/FileError.h"
#include "foundations/TextFile.h"
#include "interpretation/Sectors.h"
#include "interpretation/SignFigures.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace athanor {
namespace {

using test::TempDir;

TEST(Sectors, DerivedLongitudes) {
    struct Case {
        long double lon, dodec, anti, contra;
    } cases[] = {
        {15, 195, 345, 165}, {29.5L, 23.5L, 330.5L, 150.5L}, {100, 220, 260, 80},
        {0, 0, 360, 180},    {359.5L, 353.5L, 0.5L, 180.5L},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(double(dodecatemorion(c.lon)), double(c.dodec), 1e-12) << c.lon;
        EXPECT_NEAR(double(antiscion(c.lon)), double(c.anti), 1e-12) << c.lon;
        EXPECT_NEAR(double(contrantiscion(c.lon)), double(c.contra), 1e-12) << c.lon;
    }
    EXPECT_EQ(signOf(dodecatemorion(15)), 7);
}

TEST(Sectors, DecansAndTheirBoundaries) {
    struct Case {
        long double lon;
        int decan, ruler;
    } cases[] = {
        {0, 1, 5}, {9.99L, 1, 5}, {10, 2, 1}, {45, 5, 2}, {200, 21, 6}, {350, 36, 5}, {359.99L, 36, 5},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decanOf(c.lon), c.decan) << c.lon;
        EXPECT_EQ(decanFaceRuler(c.decan), c.ruler) << c.lon;
    }
    EXPECT_EQ(decanCode(1, 5), "SolDec05");
    EXPECT_EQ(decanCode(11, 36), "MciDec36");
}

TEST(Sectors, SixDegreeSectorsStartFifteenDegreesBeforeTheAscendant) {
    struct Case {
        long double lon, asc;
        int sector;
    } cases[] = {
        {85, 100, 1},      {90.99L, 100, 1}, {91, 100, 2},    {100, 100, 3},
        {84.99L, 100, 60}, {350, 5, 1},      {349.9L, 5, 60}, {10, 5, 4},
    };
    for (const auto& c : cases) EXPECT_EQ(sectorOf(c.lon, c.asc), c.sector) << c.lon << " asc " << c.asc;
}

TEST(Sectors, AntisciaCodesOfBodiesAndSigns) {
    ChartState chart;
    chart.BodyLongitude[1] = 100;
    chart.BodyLongitude[2] = 0;  // no antiscia at exactly 0°
    for (int b = 3; b <= 11; ++b) chart.BodyLongitude[b] = 15;
    const auto codes = antisciaCodes(chart);
    ASSERT_EQ(codes.size(), 20u);
    EXPECT_EQ(codes[0], "SolAnSag");
    EXPECT_EQ(codes[1], "MerAnPis");
    EXPECT_EQ(codes[9], "MciAnPis");
    EXPECT_EQ(codes[10], "SolCaG\xE9m");
    EXPECT_EQ(codes[11], "MerCaVir");

    const auto signs = signAntisciaCodes();
    ASSERT_EQ(signs.size(), 24u);
    EXPECT_EQ(signs[0], "ArAnPis");
    EXPECT_EQ(signs[3], "CnAnSag");
    EXPECT_EQ(signs[12], "ArCaVir");
    EXPECT_EQ(signs[23], "PeCaLib");
}

TEST(Sectors, TheAntisciaFiguresJoinMirroredSigns) {
    auto mid = [](int sign) { return 30.0L * sign - 15.0L; };
    for (const auto& c : kAntisciaChords) EXPECT_EQ(signOf(antiscion(mid(c.from))), c.to) << c.from;
    for (const auto& c : kContrantisciaChords) EXPECT_EQ(signOf(contrantiscion(mid(c.from))), c.to) << c.from;
    // Each side of a quadrilateral joins two signs mirrored by one axis or the other,
    // the axes taking turns.
    for (const auto& q : kAntisciaQuadrilaterals) {
        const bool antiFirst = signOf(antiscion(mid(q.signs[0]))) == q.signs[1];
        for (int i = 0; i < 4; ++i) {
            const long double m = mid(q.signs[i]);
            const bool anti = (i % 2 == 0) == antiFirst;
            EXPECT_EQ(signOf(anti ? antiscion(m) : contrantiscion(m)), q.signs[(i + 1) % 4]) << q.pen << " side " << i;
        }
    }
}

// Sun 10, Moon 100, Mercury 25, Venus 50, Mars 103, Jupiter 200, Saturn 0, nodes 300 and
// 120, ascendant 180, midheaven 90; equal houses from the ascendant; set A orbs.
ChartState sampleChart() {
    ChartState c;
    const long double lon[] = {0, 10, 100, 25, 50, 103, 200, 0, 300, 120, 180, 90};
    for (int b = 1; b <= 11; ++b) c.BodyLongitude[b] = lon[b];
    for (int k = 0; k < 12; ++k) c.HouseCusp[k] = normalize360(180.0L + 30.0L * k);
    return c;
}

OrbSettings setA() {
    OrbSettings o;
    for (const auto& k : kAspectsByDisplay) o.AspectOrb[k.orbIndex] = k.setA;
    return o;
}

TEST(PositionCodes, TheWholeFileInItsOrder) {
    const auto codes = positionCodes(sampleChart(), setA());
    ASSERT_EQ(codes.size(), 88u);
    const std::vector<std::string> signs(codes.begin(), codes.begin() + 11);
    EXPECT_EQ(signs, (std::vector<std::string>{"SoleArie", "LunaCanc", "MercArie", "VeneToro", "MartCanc", "GiovBila",
                                               "SatuArie", "NNorAcqu", "NSudLeon", "AsceBila", "McieCanc"}));
    // Mercury at 25 is 5° before the eighth cusp: it counts in the eighth house.
    EXPECT_EQ(codes[11], "SoleSett");
    EXPECT_EQ(codes[13], "MercOtta");
    EXPECT_EQ(codes[17], "SatuSett");
    EXPECT_EQ(codes[20], "AscePrim");
    EXPECT_EQ(codes[21], "McieDeci");
    EXPECT_EQ(codes[22], "Sole35");
    EXPECT_EQ(codes[31], "Asce03");
    EXPECT_EQ(codes[33], "SolDec02");
    EXPECT_EQ(codes[39], "SatDec01");
    EXPECT_EQ(codes[44], "SO02");
    EXPECT_EQ(codes[54], "MC10");
    EXPECT_EQ(codes[55], "SolAnPis");
    EXPECT_EQ(codes[65], "SolCaVir");
    const std::vector<std::string> aspects(codes.begin() + 75, codes.end());
    EXPECT_EQ(aspects, (std::vector<std::string>{"SolQuLun", "SolQuMar", "LunCoMar", "MerOpGio", "MerQuNon", "MerQuNos",
                                                 "SatSeNon", "SatTrNos", "SatOpAsc", "SatQuMci", "NonOpNos", "NonTrAsc",
                                                 "NosSeAsc"}));
}

TEST(PositionCodes, WrittenWithTheSignCodes) {
    TempDir dir;
    DataRoot root(dir.path());
    writePositionCodes(root, sampleChart(), setA());
    const auto pian = readLines(dir / "OpzioneT/PosiPian.txt");
    EXPECT_EQ(pian, positionCodes(sampleChart(), setA()));
    const std::string segn = TempDir::read(dir / "OpzioneT/PosiSegn.txt");
    EXPECT_EQ(segn.substr(0, 9), "ArAnPis\r\n");
}

std::string textLine(const std::string& key, const std::string& text) {
    return key + std::string(21 - key.size(), ' ') + text;
}

TEST(SectorLists, TextsOfTheFirstMatchingLines) {
    const SpecificTexts texts({
        textLine("SolDec02", "El Sol en el segundo decanato"),
        textLine("SolDec02", "segunda entrada, nunca mostrada"),
        textLine("Sole35", "Sol en el sector treinta y cinco"),
        textLine("SO02", "Sol en la segunda d\xE9"
                         "cada"),
        textLine("SolDec14", "dodecatemoria del Sol"),
        "Sole55",
        textLine("Lune03", std::string(80, 'x')),
    });
    const auto sectors = computeSectors(sampleChart());
    const auto natal = sectorLists(sectors, texts, false);
    EXPECT_EQ(natal[0].title, "PLANETAS EN LOS T\xC9RMINOS");
    EXPECT_EQ(natal[0].lines, (std::vector<std::string>{"Sol en el sector treinta y cinco"}));
    EXPECT_EQ(natal[1].title, "PLANETAS EN LOS DECANOS");
    EXPECT_EQ(natal[1].lines, (std::vector<std::string>{"El Sol en el segundo decanato"}));
    EXPECT_EQ(natal[2].title, "PLANETAS EN LAS D\xC9"
                              "CADAS");
    EXPECT_EQ(natal[2].lines, (std::vector<std::string>{"Sol en la segunda d\xE9"
                                                        "cada"}));

    // The Sun's dodecatemorion at 130°: decan 14, sector 55 (a key line without text).
    const auto dodec = sectorLists(sectors, texts, true);
    EXPECT_EQ(dodec[0].title, "DODECATEMORIAS EN LOS T\xC9RMINOS");
    EXPECT_EQ(dodec[0].lines, (std::vector<std::string>{""}));
    EXPECT_EQ(dodec[1].lines, (std::vector<std::string>{"dodecatemoria del Sol"}));
    EXPECT_TRUE(dodec[2].lines.empty());
    EXPECT_EQ(texts.find("Lune03")->size(), 70u);
}

TEST(SectorLists, TheTextFileMustExist) {
    TempDir dir;
    EXPECT_THROW(SpecificTexts::load(DataRoot(dir.path())), FileError);
}

}  // namespace
}  // namespace athanor
