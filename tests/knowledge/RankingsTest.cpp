// The multiple-symptom and composite-therapy rankings and their counter files.
#include "foundations/TextFile.h"
#include "knowledge/ListFind.h"
#include "knowledge/Rankings.h"
#include "knowledge/Rebuild.h"
#include "knowledge/TextLists.h"
#include "KbFixture.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace athanor {
namespace {

using namespace test;
using Slots = std::array<std::string, kComplaintSlots>;
using Ranking = std::vector<RankedRemedy>;

Slots slots(std::initializer_list<std::string> picked) {
    ComplaintSlots s;
    for (const auto& p : picked) s.pick(p);
    return s.texts();
}

// The search as the window makes it: the file read once per filled slot and, for each
// matching record, the counter file from its start - with the count kept whole.
Ranking perSlotReference(const KbFolder& kb, const Slots& picked) {
    const auto universe = readLines(kb.path("OpzioneH\\ProdotA.txt"));
    const auto records = readAllRecords<RemedyRecord>(kb.path("OpzioneH\\DBmain.rnd"));
    std::vector<std::int64_t> counts(universe.size(), 0);
    for (const auto& slot : picked) {
        if (slot.empty()) continue;
        for (const auto& r : records) {
            if (r.indication[0] != slot) continue;
            for (std::size_t c = 0; c < universe.size(); ++c)
                if (universe[c].substr(0, 50) == r.name) {
                    ++counts[c];
                    break;
                }
        }
    }
    std::vector<std::string> texts;
    std::map<std::string, RankedRemedy> byText;
    for (std::size_t c = 0; c < universe.size(); ++c)
        if (counts[c] > 0) {
            RankedRemedy r{universe[c], counts[c]};
            texts.push_back(r.text());
            byText[r.text()] = r;
        }
    texts = sortedAscending(texts);
    Ranking out;
    for (auto it = texts.rbegin(); it != texts.rend(); ++it) out.push_back(byText[*it]);
    return out;
}

TEST(Rankings, FallingCountThenDescendingName) {
    const KbFolder kb({
        remedy("Alfa", "Tos"),
        remedy("Beta", "Fiebre"),
        remedy("A", "Tos"),
        remedy("A", "Fiebre"),
        remedy("A", "Dolor"),
        remedy("B", "Tos"),
        remedy("B", "Dolor"),
        remedy("Gamma", "Otra"),
        remedy("Fuera de la lista", "Tos"),
    });
    rebuildDerivedFiles(kb.root());
    // A remedy that is no line of ProdotA.txt is never ranked.
    auto universe = readLines(kb.path("OpzioneH\\ProdotA.txt"));
    std::erase(universe, "Fuera de la lista");
    writeLines(kb.path("OpzioneH\\ProdotA.txt"), universe);

    const Slots picked = slots({"Tos", "Fiebre", "Dolor"});
    const Ranking r = rankRemedies(kb.root(), RankingKind::Symptoms, picked);
    EXPECT_EQ(r, (Ranking{{"A", 3}, {"B", 2}, {"Beta", 1}, {"Alfa", 1}}));
    EXPECT_EQ(r[0].text(), "03 A");
    EXPECT_EQ(r, perSlotReference(kb, picked));
    // A complaint picked twice counts twice.
    EXPECT_EQ(rankRemedies(kb.root(), RankingKind::Symptoms, slots({"Otra", "Otra"})), (Ranking{{"Gamma", 2}}));
    EXPECT_TRUE(rankRemedies(kb.root(), RankingKind::Symptoms, slots({"Nada"})).empty());
}

TEST(Rankings, OnlyThePartOneOfAnIndicationIsCompared) {
    const std::string longer = std::string(250, 'x') + "y";
    const KbFolder kb({remedy("Largo", longer), remedy("Corto", std::string(250, 'x'))});
    rebuildDerivedFiles(kb.root());
    EXPECT_EQ(rankRemedies(kb.root(), RankingKind::Symptoms, slots({longer})), Ranking{});
    // ... so the first 250 characters match both.
    EXPECT_EQ(rankRemedies(kb.root(), RankingKind::Symptoms, slots({std::string(250, 'x')})).size(), 2u);
}

TEST(Rankings, ACountAbove255RanksByItsTrueValueAndIsStoredAs255) {
    std::vector<RemedyRecord> records(300, remedy("Muchas", "Tos"));
    records.push_back(remedy("Pocas", "Tos"));
    records.push_back(remedy("Pocas", "Tos"));
    const KbFolder kb(records);
    rebuildDerivedFiles(kb.root());
    const Ranking r = rankRemedies(kb.root(), RankingKind::Symptoms, slots({"Tos"}));
    // A byte counter would have wrapped to 44 and put "Muchas" last.
    EXPECT_EQ(r, (Ranking{{"Muchas", 300}, {"Pocas", 2}}));
    EXPECT_EQ(r[0].text(), "300 Muchas");
    EXPECT_EQ(readAllRecords<CounterRecord>(kb.path("OpzioneH\\RicCom.Rnd")),
              (std::vector<CounterRecord>{{"Muchas", 255}, {"Pocas", 2}}));
}

TEST(Rankings, OnePassEqualsOneScanPerSlotOnARandomBase) {
    std::mt19937 random(16);
    const std::vector<std::string> names = {"Arnica", "arnica", "Salvia", "Tilo", "Melisa", "Ortica", "Romero", "Ruda"};
    const std::vector<std::string> symptoms = {"Tos", "Fiebre", "Dolor", "Insomnio", "Anemia", "tos"};
    std::vector<RemedyRecord> records;
    for (int i = 0; i < 200; ++i)
        records.push_back(remedy(names[random() % names.size()], symptoms[random() % symptoms.size()]));
    const KbFolder kb(records);
    rebuildDerivedFiles(kb.root());
    for (int trial = 0; trial < 20; ++trial) {
        ComplaintSlots s;
        // Up to five slots keep the counts below 100, where the list's text order is the count's.
        for (int k = 0, n = 1 + static_cast<int>(random() % 5); k < n; ++k)
            s.pick(symptoms[random() % symptoms.size()]);
        EXPECT_EQ(rankRemedies(kb.root(), RankingKind::Symptoms, s.texts()), perSlotReference(kb, s.texts()));
    }
}

TEST(Rankings, CompositeTherapiesOverTheRepertory) {
    TherapyRecord withPosology = therapy("Gripe", "Salvia", "20 gotas");
    const KbFolder kb({}, {withPosology, therapy("Tos", "Salvia", "10 gotas"), therapy("Gripe", "Tilo"),
                           therapy("Tos", "Salvia", "otra vez")});
    const auto complaints = openComplaints(kb.root(), RankingKind::Therapies);
    EXPECT_TRUE(complaints.empty());  // no Patolog.txt yet
    EXPECT_EQ(readLines(kb.path("OpzioneH\\ProdotR.txt")), (std::vector<std::string>{"Salvia", "Tilo"}));

    const Slots picked = slots({"Gripe", "Tos"});
    EXPECT_EQ(rankRemedies(kb.root(), RankingKind::Therapies, picked), (Ranking{{"Salvia", 3}, {"Tilo", 1}}));
    const RankingDetail d = rankingDetail(kb.root(), RankingKind::Therapies, picked, "Salvia");
    EXPECT_EQ(d.lines, (std::vector<std::string>{"= Gripe", "- 20 gotas", "= Tos", "- 10 gotas", "= Tos", "- otra vez",
                                                 kDetailSeparator}));
    EXPECT_TRUE(d.highlighted[0] && d.highlighted[1]);
    EXPECT_FALSE(d.highlighted[2]);
}

TEST(Rankings, SlotsAndTheFindButton) {
    ComplaintSlots s;
    for (int i = 0; i < kComplaintSlots; ++i) EXPECT_TRUE(s.pick("S" + std::to_string(i)));
    EXPECT_FALSE(s.pick("decimosexto"));  // all fifteen filled: nothing changes
    EXPECT_EQ(s.texts().back(), "S14");
    s.clear(3);
    EXPECT_TRUE(s.pick("nuevo"));
    EXPECT_EQ(s.texts()[2], "nuevo");
    s.clearAll();
    EXPECT_FALSE(s.anyFilled());

    const std::vector<std::string> list = {"Tos seca", "Fiebre", "tos nerviosa", "Dolor"};
    ListFinder trova(ListFinder::AtEnd::StayOnFirst);
    EXPECT_EQ(trova.find(list, "TOS"), 0);
    EXPECT_EQ(trova.find(list, "tos"), 2);
    EXPECT_EQ(trova.find(list, "tos"), 0);  // none left: the first entry, the position kept
    EXPECT_EQ(trova.position(), 3);
    EXPECT_EQ(ListFinder(ListFinder::AtEnd::StayOnFirst).find(list, "nada"), 0);

    ListFinder editor(ListFinder::AtEnd::RestartFromTop);
    EXPECT_EQ(editor.find(list, "tos"), 0);
    EXPECT_EQ(editor.find(list, "tos"), 2);
    EXPECT_EQ(editor.find(list, "tos"), -1);  // the end: nothing selected, the next press starts over
    EXPECT_EQ(editor.find(list, "tos"), 0);
}

}  // namespace
}  // namespace athanor
