// Readers of the message sections and of the keyed interpretation files.
#include "foundations/FileError.h"
#include "knowledge/InterpretationTexts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace athanor {
namespace {

using test::TempDir;
using Lines = std::vector<std::string>;

TEST(MessageSectionsTest, TextBetweenSeparatorLines) {
    const MessageSections m(
        Lines{"cabecera ignorada", "# 1", "uno", "", "uno bis", "## 2 ##", "###", "tres", "fin # 4", "sin cierre"});
    ASSERT_EQ(m.count(), 3);
    EXPECT_EQ(m.section(1), (Lines{"uno", "", "uno bis"}));
    EXPECT_TRUE(m.section(2).empty());
    EXPECT_EQ(m.section(3), (Lines{"tres"}));
    EXPECT_TRUE(m.section(4).empty());  // text after the last separator belongs to no section
    EXPECT_TRUE(m.section(0).empty());
    EXPECT_EQ(MessageSections(Lines{}).count(), 0);

    TempDir dir;
    EXPECT_THROW(MessageSections::load(DataRoot(dir.path())), FileError);
    dir.write("appoggio/MESSAGGI.TXT", "#\r\nHola\r\n#\r\n");
    EXPECT_EQ(MessageSections::load(DataRoot(dir.path())).section(1), (Lines{"Hola"}));
}

std::string keyed(const std::string& key, int column, const std::string& text) {
    std::string line = key;
    line.resize(static_cast<std::size_t>(column - 1), ' ');
    return line + text;
}

TEST(KeyedTextsTest, KeysAndTextColumns) {
    const KeyedTexts planets(
        Lines{keyed("SoleArie", 22, "Sol en Aries: exaltado."), keyed("Sole03", 22, "Sol sobre el Ascendente."),
              keyed("SoleArie", 22, "Segunda l\xEDnea del Sol en Aries.   "), keyed("SO05", 22, std::string(75, 'x')),
              "SolDec05", keyed("SolAnG\xE9m", 22, "Antiscio en G\xE9minis.")},
        kPlanetTextLayout);
    EXPECT_EQ(planets.lookup("SoleArie"), (Lines{"Sol en Aries: exaltado.", "Segunda l\xEDnea del Sol en Aries."}));
    EXPECT_EQ(planets.first("Sole03"), "Sol sobre el Ascendente.");
    EXPECT_EQ(planets.first("SO05"), std::string(60, 'x'));  // 60 characters from column 22
    EXPECT_EQ(planets.first("SolDec05"), "");                // a key without text
    EXPECT_EQ(planets.first("SolAnG\xE9m"), "Antiscio en G\xE9minis.");
    EXPECT_EQ(planets.first("SoleToro"), std::nullopt);
    EXPECT_EQ(planets.first(""), std::nullopt);

    const KeyedTexts signs(Lines{keyed("Ar", 4, "Fuego cardinal."), keyed("Ar", 4, std::string(85, 'z'))},
                           kSignGeneralLayout);
    EXPECT_EQ(signs.lookup("Ar"), (Lines{"Fuego cardinal.", std::string(80, 'z')}));
    const KeyedTexts signCodes(Lines{keyed("ArAnPis", 21, std::string(55, 'y'))}, kSignSpecificLayout);
    EXPECT_EQ(signCodes.first("ArAnPis"), std::string(50, 'y'));
    EXPECT_EQ(signCodes.first("Ar"), std::nullopt);  // a sign code has seven characters
}

TEST(BodyCodes, TheCodesOfTheClickedBody) {
    const Lines codes = {"SoleLeon", "LunaCanc", "SolePrim", "Sole03",   "Luna17",   "SolDec13", "LunDec10",
                         "SO13",     "LU10",     "SolAnTau", "LunAnSag", "SolCaPis", "SolCoLun", "LunTrMar",
                         "MarSeSat", "NonOpNos", "SatQuMci", "MciDec28", "MC28"};
    struct Case {
        int body;
        Lines mine;
    } cases[] = {
        {1, {"SoleLeon", "SolePrim", "Sole03", "SolDec13", "SO13", "SolAnTau", "SolCaPis", "SolCoLun"}},
        {2, {"LunaCanc", "Luna17", "LunDec10", "LU10", "LunAnSag", "SolCoLun", "LunTrMar"}},
        {5, {"LunTrMar", "MarSeSat"}},
        {9, {"NonOpNos"}},
        {11, {"SatQuMci", "MciDec28", "MC28"}},
    };
    for (const auto& c : cases) EXPECT_EQ(codesOfBody(c.body, codes), c.mine) << c.body;

    const KeyedTexts specific(Lines{keyed("SolDec13", 22, "decano"), keyed("SoleLeon", 22, "domicilio"),
                                    keyed("SoleLeon", 22, "segunda"), keyed("SolCoLun", 22, "novilunio")},
                              kPlanetTextLayout);
    EXPECT_EQ(bodySpecificTexts(1, codes, specific), (Lines{"domicilio", "segunda", "decano", "novilunio"}));
    EXPECT_THROW(codesOfBody(12, codes), std::out_of_range);
}

TEST(SignCodes, SpecificAndGeneralTextsOfASign) {
    const Lines signCodes = {"ArAnPis", "ToAnAcu", "ArCaVir", "ToCaLeo"};
    const KeyedTexts specific(Lines{keyed("ArCaVir", 21, "contrantiscio"), keyed("ArAnPis", 21, "antiscio"),
                                    keyed("ToAnAcu", 21, "otro signo")},
                              kSignSpecificLayout);
    EXPECT_EQ(signSpecificTexts(1, signCodes, specific), (Lines{"antiscio", "contrantiscio"}));
    const KeyedTexts general(Lines{keyed("To", 4, "Tierra fija."), keyed("Ar", 4, "Fuego cardinal.")},
                             kSignGeneralLayout);
    EXPECT_EQ(signGeneralTexts(2, general), (Lines{"Tierra fija."}));
    EXPECT_TRUE(signGeneralTexts(12, general).empty());
}

}  // namespace
}  // namespace athanor
