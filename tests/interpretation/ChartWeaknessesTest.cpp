// The weaknesses a chart's structure shows: exile, fall, and planets left without condition.
#include "interpretation/ChartWeaknesses.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace athanor {
namespace {

class Tables : public ExchangeTables {
public:
    std::map<int, std::set<std::string>> lines;
    bool contains(int planets, std::string_view line) override { return lines[planets].count(std::string(line)) != 0; }
};

struct Case {
    const char* what;
    std::array<int, 8> signs;  // [1] Sun .. [7] Saturn
    std::vector<std::string> reasons;
};

TEST(ChartWeaknesses, ExileFallAndNoConditionInPlanetOrder) {
    const std::vector<Case> cases = {
        {"every planet in domicile", {0, 5, 4, 3, 2, 1, 9, 10}, {}},
        {"Mars in exile in Libra, Saturn in fall in Aries",
         {0, 5, 4, 3, 2, 7, 9, 1},
         {"Marte en exilio en Libra", "Saturno en ca\xED"
                                      "da en Aries"}},
        {"Sun in Gemini without condition, Moon in fall in Scorpio",
         {0, 3, 8, 6, 2, 1, 9, 10},
         {"Sol en G\xE9minis, sin dignidad, debilidad ni recepci\xF3n", "Luna en ca\xED"
                                                                        "da en Escorpio"}},
    };
    for (const auto& c : cases) {
        Tables none;
        const auto found = chartWeaknesses(computeStructure(c.signs, none), c.signs);
        std::vector<std::string> reasons;
        for (const auto& w : found) reasons.push_back(w.reason);
        EXPECT_EQ(reasons, c.reasons) << c.what;
    }

    // Mercury in Aries and Mars in Gemini, each in the other's domicile: weak alone, not in reception.
    const std::array<int, 8> signs = {0, 5, 4, 1, 2, 3, 9, 10};
    Tables none, pair;
    pair.lines[2] = {exchangeLine({3, 5}, signs)};
    const auto alone = chartWeaknesses(computeStructure(signs, none), signs);
    ASSERT_EQ(alone.size(), 2u);
    EXPECT_EQ(alone[0].planet, "Mercurio");
    EXPECT_EQ(alone[0].weakenedSign, "Aries");
    EXPECT_EQ(alone[1].planet, "Marte");
    EXPECT_TRUE(chartWeaknesses(computeStructure(signs, pair), signs).empty());
}

}  // namespace
}  // namespace athanor
