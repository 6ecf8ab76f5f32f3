// The consultation windows' operations: the scans, the page of fourteen rows, the row
// texts, the pop-up, and the two windows of the plant data set.
#include "knowledge/Consultation.h"
#include "knowledge/Rebuild.h"
#include "KbFixture.h"

#include <gtest/gtest.h>

namespace athanor {
namespace {

using namespace test;
using Lines = std::vector<std::string>;

std::vector<RemedyRecord> remediesFor(const std::string& symptom, int n) {
    std::vector<RemedyRecord> r;
    for (int i = 1; i <= n; ++i) r.push_back(remedy("Remedio " + std::to_string(i), symptom));
    return r;
}

TEST(Pager, PagesOfFourteenUpToTenPages) {
    struct Case {
        int matches;
        std::string pageText;
        bool red;
        int rowsOnLastPage;
    } cases[] = {
        {0, "1/1", false, 0},  {1, "1/1", false, 1},    {14, "1/1", false, 14},  {15, "1/2", true, 1},
        {28, "1/2", true, 14}, {140, "1/10", true, 14}, {141, "1/10", true, 14}, {500, "1/10", true, 14},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.matches);
        ResultPager p;
        for (int k = 1; k <= c.matches; ++k) p.offer(k);
        EXPECT_EQ(p.pageText(), c.pageText);
        EXPECT_EQ(p.morePending(), c.red);
        EXPECT_EQ(p.entryCount(), std::min(c.matches, 140));
        EXPECT_EQ(p.rows().size(), static_cast<std::size_t>(std::min(c.matches, 14)));
        while (p.next()) {
        }
        EXPECT_EQ(p.rows().size(), static_cast<std::size_t>(c.rowsOnLastPage));
        EXPECT_FALSE(p.morePending());  // a page shown turns the box aqua
        EXPECT_FALSE(p.next());         // the last page goes nowhere
    }
    // Back and forth: row n of page p is entry (p-1)*14+n; an empty row is -1.
    ResultPager p;
    for (int k = 101; k <= 130; ++k) p.offer(k);
    EXPECT_FALSE(p.previous());
    ASSERT_TRUE(p.next());
    EXPECT_EQ(p.rowRecord(1), 115);
    ASSERT_TRUE(p.next());
    EXPECT_EQ(p.pageText(), "3/3");
    EXPECT_EQ(p.rowRecord(2), 130);
    EXPECT_EQ(p.rowRecord(3), -1);
    ASSERT_TRUE(p.previous());
    EXPECT_EQ(p.rowRecord(14), 128);
}

TEST(Consultation, SymptomRemedyAndTherapyScans) {
    std::vector<RemedyRecord> records = remediesFor("Tos", 3);
    const std::string longIndication = std::string(250, 'a') + "bb";
    records.push_back(remedy("MSA - Ortica", longIndication, "Sol-Luna", "Aries", "Marte"));
    records.push_back(remedy("MSA - Ortica", "Anemia"));
    records.push_back(remedy("Salvia", "tos"));
    const KbFolder kb(records,
                      {therapy("Gripe", "Salvia", "10 gotas"), therapy("Gripe", "Tilo"), therapy("Tos", "Salvia")});
    rebuildDerivedFiles(kb.root());

    // Whole indication, exact letter case, from record 1 on.
    EXPECT_EQ(findSymptom(kb.root(), "Tos").records, (std::vector<std::int64_t>{1, 2, 3}));
    EXPECT_EQ(findSymptom(kb.root(), longIndication).records, (std::vector<std::int64_t>{4}));
    EXPECT_EQ(findSymptom(kb.root(), std::string(250, 'a')).total, 0);
    // The remedy window finds a remedy by its line, or by the name an alias line holds.
    const Lines lines = remedyLineList(kb.root());
    const auto alias =
        std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.starts_with("Ortica (MSA)"); });
    ASSERT_NE(alias, lines.end());
    const Matches byAlias = findRemedy(kb.root(), *alias);
    EXPECT_EQ(byAlias.records, (std::vector<std::int64_t>{4, 5}));
    EXPECT_EQ(byAlias.name, "MSA - Ortica");
    EXPECT_EQ(byAlias.last, 5);
    EXPECT_EQ(findRemedy(kb.root(), "Ortica").total, 0);
    EXPECT_EQ(findTherapy(kb.root(), "Gripe").records, (std::vector<std::int64_t>{1, 2}));

    const auto rows = remedyRows(kb.root(), byAlias.records);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].planets, "Sol-Luna Marte");
    EXPECT_EQ(rows[0].signs, "Aries");
    EXPECT_EQ(rows[0].fourth, longIndication);
    EXPECT_EQ(therapyRows(kb.root(), {1})[0].fourth, "10 gotas");
    EXPECT_EQ(pathologyList(kb.root()), (Lines{"Gripe", "Tos"}));
}

TEST(Consultation, RowButtonsCycleThroughTheTextsOrTheirMessages) {
    RemedyRecord r = remedy("Tilo", "Nervios");
    r.setWarnings("No usar en embarazo.  ,");
    r.setNotes("Flores de tilo");
    RowSteps steps(4);
    Lines shown;
    for (int press = 0; press < 5; ++press) shown.push_back(symptomRowNote(r, steps.press(3)).text);
    EXPECT_EQ(shown,
              (Lines{"No usar en embarazo.", "No hay S\xEDntesis Ps\xEDquica para este remedio", "Flores de tilo",
                     "Base de datos principal no informan las notas complementarias", "No usar en embarazo."}));
    EXPECT_EQ(symptomRowNote(r, 0).caption, "Tilo - Advertencias");
    EXPECT_EQ(steps.press(1), 0);  // every row has its own counter
    EXPECT_EQ(remedyRowNote(r, 0), (NoteText{"Tilo - Posolog\xED"
                                             "a",
                                             ""}));
    EXPECT_EQ(remedyRowNote(r, 1).text, "Todav\xED"
                                        "a no se ha confirmado una s\xEDntesis ps\xEDquica");

    const KbFolder kb({r}, {therapy("Nervios", "Tilo"), therapy("Nervios", "Melisa")});
    EXPECT_EQ(therapyPairingNotes(kb.root(), "Nervios", "Tilo").text,
              "No hay notas grabadas para esta combinaci\xF3n Patolog\xED"
              "a-Rimedy");
    EXPECT_EQ(therapyRemedyWarnings(kb.root(), "Tilo"), (NoteText{"Tilo - Advertencias", "No usar en embarazo.  ,"}));
    EXPECT_EQ(therapyRemedyWarnings(kb.root(), "Melisa"),
              (NoteText{"Melisa No se ha encontrado en la base de datos principal", ""}));
}

TEST(Consultation, RemedyHeaderProductTypeAndUseNumber) {
    struct Case {
        const char* name;
        const char* productType;
        bool useNote;
    } cases[] = {
        {"MSA - Ortica", "(Alchemical-Spagyric Macerated of Tessaran)", false},
        {"TSA - Romero (2)", "(Alchemical-Spagyric Tincture of Tessaran)", true},
        {"QSPC MSA mezcla", "(Alchemical-Spagyric Quintessence of Tessaran)", false},  // the last that applies
        {"Salvia (10)", "", false},
        {"Salvia (0)", "", false},
    };
    for (const auto& c : cases) {
        const RemedyHeader h = remedyHeader(remedy(c.name, ""), c.name);
        EXPECT_EQ(h.productType, c.productType) << c.name;
        EXPECT_EQ(h.useNumberNote, c.useNote) << c.name;
        EXPECT_EQ(h.warnings, kNoWarnings);
    }
}

TEST(Consultation, SignaturePopup) {
    struct Case {
        const char* text;
        bool planets;
        Lines lines;
    } cases[] = {
        {"Sol-Luna Marte", true, {"\xA7 Sol", "\xA7 Luna", "Marte"}},
        {"Sol-Luna Marte", false, {"Sol", "Luna", "Marte"}},
        {"Aries ", false, {"Aries", ""}},  // a separator at the end gives an empty last line
        {"Sagitarioooooooooooo", false, {"Sagitariooooooo"}},
        {"a b c d e f g h i j k l m n", false, {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l"}},
    };
    for (const auto& c : cases) EXPECT_EQ(signaturePopup(c.text, c.planets), c.lines) << c.text;
}

TEST(Corvell, APlantWithEightySymptomsFillsFourPages) {
    std::vector<PlantSymptomRecord> records;
    for (int i = 1; i <= 80; ++i)
        records.push_back(
            plantSymptom("Ortiga", "S\xEDntoma " + std::to_string(i), "Marte", "Aries", "Uso tradicional"));
    records.push_back(plantSymptom("Ortiga   ", "El \xFAltimo", "Marte-Sol", "Escorpio"));  // trailing blanks aside
    records.push_back(plantSymptom("Ortigas", "Otra planta"));
    const KbFolder kb({}, {}, records);
    const PlantConsultation c = consultPlant(kb.root(), "Ortiga  ");
    EXPECT_EQ(c.pageCount, 4);
    EXPECT_EQ(c.pages[0].size(), 26u);
    EXPECT_EQ(c.pages[2].size(), 26u);
    EXPECT_EQ(c.pages[3].size(), 3u);
    EXPECT_EQ(c.pages[0][0].first, "S\xEDntoma 1" + std::string(120, '-'));
    EXPECT_EQ(c.pages[0][0].second, "Uso tradicional" + std::string(120, '-'));
    EXPECT_EQ(c.primary, "Marte-Sol");  // the last match stays
    EXPECT_EQ(consultPlant(kb.root(), "Tilo").pageCount, 1);
}

TEST(Corvell, ASymptomListsItsPlantsOrTheAuthorsOfAPlantlessRecord) {
    const KbFolder kb({}, {},
                      {plantSymptom("Tilo", "Insomnio", "Venus", "Tauro", "Uso tradicional"),
                       plantSymptom("", "Insomnio", "", "", "Nota sin planta"), plantSymptom("Melisa", "Insomnio  "),
                       plantSymptom("", "Fiebre", "", "", "Primera"), plantSymptom("", "Fiebre", "", "", "Segunda")});
    const SymptomConsultation c = consultPlantSymptom(kb.root(), "Insomnio");
    ASSERT_EQ(c.plants.size(), 2u);
    EXPECT_EQ(c.plants[0].plantLine, "Tilo" + std::string(40, '-'));
    EXPECT_EQ(c.plants[1].numberText, "0003");
    EXPECT_EQ(c.details.plant, "Melisa");
    EXPECT_FALSE(c.alternative);
    EXPECT_EQ(plantDetails(kb.root(), c.plants[0].record).authors, "Uso tradicional");

    const SymptomConsultation fever = consultPlantSymptom(kb.root(), "Fiebre");
    EXPECT_TRUE(fever.plants.empty());
    EXPECT_EQ(fever.alternative, "Segunda");

    rebuildDerivedFiles(kb.root());
    EXPECT_EQ(plantList(kb.root()), (Lines{"Melisa", "Tilo"}));
    EXPECT_EQ(plantSymptomList(kb.root()), (Lines{"Fiebre", "Insomnio"}));
}

}  // namespace
}  // namespace athanor
