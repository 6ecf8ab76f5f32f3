// The state of the page windows between events: selection, page moves, "Limpiar" and the
// row buttons; where the remedy list holds a name.
#include "knowledge/ConsultationPage.h"
#include "foundations/Collation.h"
#include "knowledge/PrefixSearch.h"
#include "knowledge/Rebuild.h"
#include "foundations/TextFile.h"
#include "knowledge/TextLists.h"
#include "KbFixture.h"

#include <gtest/gtest.h>

namespace athanor {
namespace {

using namespace test;

TEST(ConsultationPage, StepsSurvivePagingAndClearingButNotANewSelection) {
    std::vector<RemedyRecord> records;
    for (int i = 1; i <= 16; ++i) {
        RemedyRecord r = remedy("Remedio " + std::to_string(i), "Tos");
        r.setWarnings("Aviso " + std::to_string(i));
        records.push_back(r);
    }
    const KbFolder kb(records);
    ConsultationPage page(kb.root(), ConsultationKind::Symptom);
    EXPECT_FALSE(page.press(1));  // nothing selected yet
    page.select("Tos");
    EXPECT_EQ(page.pager().pageText(), "1/2");
    EXPECT_EQ(page.rows().size(), 14u);
    EXPECT_EQ(page.press(2)->text, "Aviso 2");
    EXPECT_EQ(page.press(2)->caption, "Remedio 2 - S\xEDntesis Ps\xEDquica");

    page.clear();
    EXPECT_TRUE(page.rows().empty());
    EXPECT_FALSE(page.press(2));  // an emptied row does nothing and takes no step
    EXPECT_FALSE(page.previous());
    EXPECT_FALSE(page.rowsShown());  // a move that goes nowhere shows nothing
    ASSERT_TRUE(page.next());
    EXPECT_EQ(page.rows().size(), 2u);
    EXPECT_EQ(page.rows()[1].remedy, "Remedio 16");
    EXPECT_FALSE(page.press(3));
    ASSERT_TRUE(page.previous());
    EXPECT_EQ(page.press(2)->caption, "Remedio 2 - Notas");  // the counter kept its place

    page.select("Tos");
    EXPECT_EQ(page.press(2)->caption, "Remedio 2 - Advertencias");
    page.select("Fiebre");
    EXPECT_TRUE(page.nothingFound());
    EXPECT_TRUE(page.rows().empty());
    EXPECT_EQ(page.pager().pageText(), "1/1");
}

TEST(ConsultationPage, TherapyRowsAlternateNotesAndWarnings) {
    RemedyRecord tilo = remedy("Tilo", "Nervios");
    tilo.setWarnings("Somnolencia.");
    TherapyRecord pairing = therapy("Insomnio", "Tilo", "20 gotas");
    pairing.setNotes("De noche");
    const KbFolder kb({tilo}, {therapy("Gripe", "Tilo"), pairing, therapy("Insomnio", "Melisa")});
    ConsultationPage page(kb.root(), ConsultationKind::Therapy);
    page.select("Insomnio");
    ASSERT_EQ(page.rows().size(), 2u);
    EXPECT_EQ(page.rows()[0].fourth, "20 gotas");
    EXPECT_EQ(*page.press(1), (NoteText{"Notas sobre Tilo / Insomnio", "De noche"}));
    EXPECT_EQ(*page.press(1), (NoteText{"Tilo - Advertencias", "Somnolencia."}));
    EXPECT_EQ(page.press(1)->text, "De noche");
    EXPECT_EQ(page.press(2)->caption, "Notas sobre Melisa / Insomnio");
    EXPECT_EQ(page.press(2)->caption, "Melisa No se ha encontrado en la base de datos principal");
}

TEST(ConsultationPage, RemedyHeaderComesFromTheLastMatchOfTheAliasName) {
    RemedyRecord first = remedy("MSA - Ortica", "Anemia");
    first.setWarnings("Primero");
    RemedyRecord last = remedy("MSA - Ortica", "Reuma");
    last.setWarnings("Segundo");
    const KbFolder kb({first, remedy("Salvia", "Tos"), last});
    rebuildDerivedFiles(kb.root());
    const auto lines = readLines(kb.path(kRemedyAliasListFile));
    const int alias = remedyLineIndex(lines, "MSA - Ortica ");
    ASSERT_GE(alias, 0);
    // The name's own line comes first; the alias line reads "Ortica (MSA)".
    EXPECT_EQ(lines[static_cast<std::size_t>(alias)], "MSA - Ortica");
    std::size_t aliasLine = 0;
    while (aliasLine < lines.size() && !lines[aliasLine].starts_with("Ortica (MSA)")) ++aliasLine;
    ASSERT_LT(aliasLine, lines.size());
    EXPECT_EQ(remedyLineIndex(std::vector<std::string>{lines[aliasLine]}, "MSA - Ortica"), 0);
    EXPECT_EQ(remedyLineIndex(lines, "Ortica"), -1);
    EXPECT_EQ(remedyLineIndex(lines, ""), -1);

    ConsultationPage page(kb.root(), ConsultationKind::Remedy);
    page.select(lines[aliasLine]);
    EXPECT_EQ(page.rowRecords(), (std::vector<std::int64_t>{1, 3}));
    const auto header = page.remedyHeader();
    ASSERT_TRUE(header);
    EXPECT_EQ(header->warnings, "Segundo");
    EXPECT_EQ(header->productType, "(Alchemical-Spagyric Macerated of Tessaran)");
    page.select("Ortica");
    EXPECT_FALSE(page.remedyHeader());
}

TEST(ListPosition, TheTypedTextFindsItsEntriesInTheListsOwnOrder) {
    setCollationLocale("es");
    const std::vector<std::string> list = {"Gordolobo (TSA)", "HINOJO (QSPC)", "Hinojo (TSA)", "Hip\xE9rico (MSA)",
                                           "Lavanda"};
    ASSERT_EQ(list, sortedAscending(list));
    struct Case {
        const char* typed;
        int at;
    } cases[] = {{"HIP", 3}, {"HIN", 1}, {"hinojo (t", 2}, {"I", 4}, {"Z", 4}, {"", 0}, {"A", 0}};
    for (const auto& c : cases) EXPECT_EQ(sortedPrefixPosition(list, c.typed), c.at) << c.typed;
    EXPECT_EQ(sortedPrefixPosition({}, "A"), -1);
    // The byte bisection stops short of them in a mixed-case list.
    EXPECT_EQ(prefixPosition(list, "HIP"), 1);
}

TEST(PlantPages, ArrowsStayWithinThePages) {
    PlantPages p;
    p.reset(3);
    EXPECT_FALSE(p.back());
    EXPECT_TRUE(p.forward());
    EXPECT_TRUE(p.forward());
    EXPECT_FALSE(p.forward());
    EXPECT_EQ(p.label(), "Pagina 3/3");
    p.reset(0);
    EXPECT_EQ(p.label(), "Pagina 1/1");
}

}  // namespace
}  // namespace athanor
