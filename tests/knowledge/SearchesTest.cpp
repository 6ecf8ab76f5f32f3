// The signature window's search with Prdts.dum and Segnat.dum, the weakness window, and
// the plants and psychic-synthesis searches with the principles archive.
#include "foundations/FileError.h"
#include "foundations/Format.h"
#include "foundations/TextFile.h"
#include "knowledge/SignatureSearch.h"
#include "knowledge/TextSearch.h"
#include "KbFixture.h"

#include <gtest/gtest.h>

#include <random>

namespace athanor {
namespace {

using namespace test;
using Lines = std::vector<std::string>;

TEST(SignatureWindow, ThirtyRemediesInThreePages) {
    std::vector<RemedyRecord> records;
    for (int i = 1; i <= 30; ++i) records.push_back(remedy("Remedio " + zeroPadded(i, 2), "x", "Sol"));
    records.push_back(remedy("Registro Errore", "x", "Sol"));
    const KbFolder kb(records);
    const auto list = openRemedyNameList(kb.root());
    // Record 0 is blank and lists as an empty name; "Errore" never lists.
    ASSERT_EQ(list.size(), 31u);
    EXPECT_EQ(list[0].name, "");
    EXPECT_EQ(readLines(kb.path("FileDum\\Prdts.dum")).size(), 31u);

    const std::size_t found = runSignatureSearch(kb.root(), list, kAnyCriterion, kAnyCriterion);
    EXPECT_EQ(found, 31u);
    EXPECT_EQ(signaturePageCount(found), 3);
    EXPECT_EQ(signatureResultPage(kb.root(), 3).size(), 3u);
    EXPECT_EQ(runSignatureSearch(kb.root(), list, "Sol", kAnyCriterion), 30u);
    EXPECT_EQ(signatureResultPage(kb.root(), 1)[0].name, "Remedio 01");
    EXPECT_EQ(readLines(kb.path("FileDum\\Segnat.dum")).size(), 120u);
    EXPECT_EQ(runSignatureSearch(kb.root(), list, "Luna", kAnyCriterion), 0u);
    EXPECT_EQ(signaturePageCount(0), 0);

    // The page box: red until a page is turned, never past either end; a choice empties it.
    SignaturePages pages;
    EXPECT_FALSE(pages.next());
    pages.found(30);
    EXPECT_EQ(pages.text(), "1/3");
    EXPECT_TRUE(pages.red());
    EXPECT_FALSE(pages.previous());
    EXPECT_TRUE(pages.next());
    EXPECT_TRUE(pages.next());
    EXPECT_FALSE(pages.next());
    EXPECT_EQ(pages.text(), "3/3");
    EXPECT_FALSE(pages.red());
    pages.found(14);
    EXPECT_FALSE(pages.red());
    EXPECT_EQ(pages.text(), "1/1");
    pages.found(0);
    EXPECT_EQ(pages.text(), "1/0");
    EXPECT_FALSE(pages.next());
    pages.clear();
    EXPECT_EQ(pages.text(), "");

    ChosenSignatures chosen;
    for (int i = 0; i < 15; ++i) chosen.choose(records[static_cast<std::size_t>(i)]);
    EXPECT_EQ(chosen.rows().size(), 1u);  // the fifteenth starts again from row 1
    EXPECT_EQ(chosen.rows()[0].name, "Remedio 15");
}

TEST(SignatureWindow, EachRemedyIsJudgedByItsFirstRecord) {
    const KbFolder kb(
        {remedy("Romero", "x", "", ""), remedy("Romero", "y", "Sol", "Leo"), remedy("Ruda", "z", "Marte", "Aries")});
    const auto list = openRemedyNameList(kb.root());
    EXPECT_EQ(runSignatureSearch(kb.root(), list, "Sol", "Leo"), 0u);
    EXPECT_EQ(firstRecordNamed(kb.root(), "Romero")->indicationText(), "x");
    EXPECT_FALSE(firstRecordNamed(kb.root(), "Salvia"));
}

TEST(SignatureWindow, OnePassEqualsOneReadPerEntry) {
    std::mt19937 random(63);
    const Lines names = {"Arnica", "arnica ", "Salvia", "Tilo", "Melisa", "MSA Errore", "Romero"};
    const Lines planets = {"Sol", "Luna", "Marte-Sol", "", "NodoNorte", "J\xFApiter"};
    const Lines signs = {"Aries", "Leo Aries", "", "Piscis"};
    std::vector<RemedyRecord> records;
    for (int i = 0; i < 120; ++i)
        records.push_back(remedy(names[random() % names.size()], "x", planets[random() % planets.size()],
                                 signs[random() % signs.size()], planets[random() % planets.size()]));
    const KbFolder kb(records);
    const KnowledgeFile<RemedyRecord> database(kb.path("OpzioneH\\DBmain.rnd"));
    const auto list = openRemedyNameList(kb.root());
    const auto numbers = readRemedyNumbers(kb.path("FileDum\\Prdts.dum"));
    for (const char* planet : {"Sol", "Luna", "NodoNorte", "Cualquier"})
        for (const char* sign : {"Aries", "Leo", "Cualquier"}) {
            std::vector<RemedyRecord> reference;
            for (std::size_t i = 0; i < list.size(); ++i) {
                RemedyRecord r = database.read(numbers[i]);
                std::string name = r.name;
                trimTrailingBlanks(name);
                if (name == list[i].name && answersSignature(r, planet, sign)) reference.push_back(r);
            }
            EXPECT_EQ(signatureSearch(database, list, numbers, planet, sign), reference) << planet << " " << sign;
        }
}

TEST(WeaknessWindow, TheWeakenedSignSearchesItsOpposite) {
    const KbFolder kb({remedy("Romero", "x", "Sol", "Aries"), remedy("Tilo", "x", "Venus", "Libra"),
                       remedy("Romero Bis", "x", "Sol-Marte", "Aries Leo")},
                      {therapy("Gripe", "ROMERO"), therapy("Gripe", "Tilo"), therapy("Cefalea", "Romero"),
                       therapy("Insomnio", "Tilo")});
    // Weakened Libra: the remedies with Aries; the repertory names them exactly.
    EXPECT_EQ(weaknessPathologies(kb.root(), "Sol", "Libra"), (Lines{"Cefalea"}));
    EXPECT_EQ(weaknessPathologies(kb.root(), kAnyCriterion, "Aries"), (Lines{"Gripe", "Insomnio"}));
    // A repertory remedy in capitals is still marked by the database's mixed-case name.
    EXPECT_EQ(weaknessRemedies(kb.root(), "Gripe", "Sol", "Libra"), (Lines{">>> ROMERO <<<", "Tilo"}));
}

TEST(TextSearch, ThePlantFoundIsWrittenInCapitals) {
    RemedyRecord ortica = remedy("Ortica", "x");
    ortica.setNotes("Ortica dioica, hojas; ortica otra vez");
    RemedyRecord ortica2 = remedy("Ortica", "y");
    ortica2.setNotes("Tambi\xE9n ORTICA");
    RemedyRecord empty = remedy("Vac\xEDo", "x");
    RemedyRecord longNotes = remedy("Compuesto", "x");
    longNotes.setNotes(std::string(245, '.') + "Hierba de San Juan" + std::string(300, '.'));  // across two parts
    const KbFolder kb({ortica, ortica2, empty, longNotes});
    const auto list = openRemedyNameList(kb.root());

    EXPECT_EQ(searchRemedyTexts(kb.root(), RemedyText::Composition, list, "ortica"), (Lines{"Ortica"}));
    EXPECT_EQ(searchRemedyTexts(kb.root(), RemedyText::Composition, list, "san juan"), (Lines{"Compuesto"}));
    EXPECT_TRUE(searchRemedyTexts(kb.root(), RemedyText::Composition, list, "").empty());
    EXPECT_TRUE(searchRemedyTexts(kb.root(), RemedyText::Synthesis, list, "ortica").empty());
    EXPECT_EQ(noResultEntry(RemedyText::Composition), std::string("**NING\xDAN RESULTADO**"));

    const std::string text = remedyText(kb.root(), RemedyText::Composition, "Ortica");
    EXPECT_EQ(withCapitalisedHit(text, "ortica"), "ORTICA dioica, hojas; ortica otra vez");
    EXPECT_EQ(withCapitalisedHit("Hojas de ortica", "ortica"), "Hojas de ORTICA");
    EXPECT_EQ(withCapitalisedHit("nada", "ortica"), "nada");
    EXPECT_EQ(remedyText(kb.root(), RemedyText::Composition, "Vac\xEDo"), "");
    // An empty composition is still a remedy's; an unknown name is nobody's.
    EXPECT_EQ(findRemedyText(kb.root(), RemedyText::Composition, "Vac\xEDo"), std::optional<std::string>(""));
    EXPECT_EQ(findRemedyText(kb.root(), RemedyText::Composition, "Nadie"), std::nullopt);
    EXPECT_EQ(findRemedyText(kb.root(), RemedyText::Synthesis, "Vac\xEDo"),
              remedyText(kb.root(), RemedyText::Synthesis, "Vac\xEDo"));
    EXPECT_EQ(remedyText(kb.root(), RemedyText::Synthesis, "Vac\xEDo"),
              "Todav\xED"
              "a no se ha confirmado una s\xEDntesis ps\xEDquica");
    EXPECT_EQ(remedyTexts(kb.root(), RemedyText::Composition, {"Compuesto", "Ortica", "Nadie"})[1], text);
}

TEST(TextSearch, OnePassEqualsOneScanPerEntry) {
    std::mt19937 random(65);
    const Lines names = {"Arnica", "Salvia", "Tilo ", "Melisa", "Romero"};
    const Lines notes = {"Salvia officinalis", "", "hojas de TILO", "melisa y tilo", "Romero"};
    std::vector<RemedyRecord> records;
    for (int i = 0; i < 60; ++i) {
        RemedyRecord r = remedy(names[random() % names.size()], "x");
        r.setNotes(notes[random() % notes.size()]);
        records.push_back(r);
    }
    const KbFolder kb(records);
    const auto list = openRemedyNameList(kb.root());
    const auto all = readAllRecords<RemedyRecord>(kb.path("OpzioneH\\DBmain.rnd"));
    for (const char* word : {"tilo", "SALVIA", "romero", "y", "zzz"}) {
        Lines reference;
        for (const auto& entry : list)
            for (const auto& r : all) {
                std::string name = r.name;
                trimTrailingBlanks(name);
                if (name == entry.name && upperCased(r.notesText()).find(upperCased(word)) != std::string::npos) {
                    reference.push_back(entry.name);
                    break;
                }
            }
        EXPECT_EQ(searchRemedyTexts(kb.root(), RemedyText::Composition, list, word), reference) << word;
    }
}

TEST(Principles, FifteenRecordsOfFiveUpperCasedLines) {
    const KbFolder kb({});
    Lines lines;
    for (int i = 0; i < 75; ++i) lines.push_back("principio n\xFAmero " + std::to_string(i) + std::string(40, 'x'));
    writeLines(kb.folder() / "Principi.txt", lines);
    generatePrinciples(kb.root());
    const std::string sto = TempDir::read(kb.folder() / "Principi.sto");
    ASSERT_EQ(sto.size(), 15u * 205u);
    const auto* b = reinterpret_cast<const std::uint8_t*>(sto.data());
    EXPECT_EQ(readField(b, 40), ("PRINCIPIO N\xFAMERO 0" + std::string(40, 'X')).substr(0, 40));
    EXPECT_EQ(readField(b + 14 * 205 + 4 * 41, 40).substr(0, 19), "PRINCIPIO N\xFAMERO 74");
    const auto shown = readPrinciples(kb.root());
    ASSERT_EQ(shown.size(), 15u);
    EXPECT_EQ(shown[14][4], readField(b + 14 * 205 + 4 * 41, 40));

    // A short source stops at its first missing line and leaves the archive as it was.
    lines.resize(74);
    writeLines(kb.folder() / "Principi.txt", lines);
    EXPECT_THROW(generatePrinciples(kb.root()), FileError);
    EXPECT_EQ(TempDir::read(kb.folder() / "Principi.sto"), sto);
}

}  // namespace
}  // namespace athanor
