// From a chart's weaknesses to the remedies of the base that answer them.
#include "knowledge/ChartRemedies.h"
#include "KbFixture.h"

#include <gtest/gtest.h>

namespace athanor {
namespace {

using namespace test;

std::vector<std::string> names(const std::vector<RemedyForChart>& ranked) {
    std::vector<std::string> out;
    for (const auto& r : ranked) out.push_back(r.name);
    return out;
}

TEST(ChartRemedies, RankedByWeaknessesAnsweredThenByNameWithTheirPathologies) {
    // Mars weakened in Libra searches Aries; Saturn weakened in Cancer searches Capricorn.
    const std::vector<ChartWeakness> weaknesses = {{"Marte", "Libra", "Marte en exilio en Libra"},
                                                   {"Saturno", "C\xE1ncer", "Saturno en exilio en C\xE1ncer"}};
    const KbFolder kb(
        {remedy("Ruda", "dolores", "Marte", "Aries"),
         remedy("Ortiga   ", "anemia", "Marte-Saturno", "Aries-Capricornio"),
         remedy("Ajenjo", "x", "Marte", "Libra"),                           // the weakened sign itself does not answer
         remedy("Cola de caballo", "x", "Luna", "Capricornio", "Saturno"),  // the secondary signature counts
         remedy("Ortiga", "otra", "Sol", "Leo"),          // a later record of a name found: counted once
         remedy("Ruda", "x", "Saturno", "Capricornio")},  // a later record answering another weakness
        {therapy("Anemia", "Ortiga"), therapy("Cansancio", "Ortiga"), therapy("Anemia", "Ortiga"),
         therapy("Reuma", "Ruda"), therapy("Gota", "Ajenjo")});
    const KnowledgeFile<RemedyRecord> database(kb.path("OpzioneH\\DBmain.rnd"));
    const KnowledgeFile<TherapyRecord> repertory(kb.path("OpzioneH\\Repertorio.rnd"));

    const auto ranked = remediesForWeaknesses(database, repertory, weaknesses);
    EXPECT_EQ(names(ranked), (std::vector<std::string>{"Ortiga", "Ruda", "Cola de caballo"}));
    EXPECT_EQ(ranked[0].answers, (std::vector<int>{0, 1}));
    EXPECT_EQ(ranked[1].answers, (std::vector<int>{0, 1}));
    EXPECT_EQ(ranked[2].answers, (std::vector<int>{1}));
    EXPECT_EQ(ranked[0].pathologies, (std::vector<std::string>{"Anemia", "Cansancio"}));
    EXPECT_EQ(ranked[0].record.indicationText(), "anemia");  // the first record that answered
    EXPECT_EQ(ranked[1].pathologies, (std::vector<std::string>{"Reuma"}));
    EXPECT_TRUE(ranked[2].pathologies.empty());

    EXPECT_TRUE(remediesForWeaknesses(database, repertory, {}).empty());
}

}  // namespace
}  // namespace athanor
