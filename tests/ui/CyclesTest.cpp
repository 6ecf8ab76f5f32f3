#include "interpretation/AnalysisCycles.h"

#include <gtest/gtest.h>

#include <vector>

namespace athanor::test {
namespace {

struct Shown {
    int view, message;
    bool operator==(const Shown&) const = default;
};

std::vector<Shown> pressTimes(AnalysisCycles& c, AnalysisButton b, int times) {
    std::vector<Shown> out;
    for (int i = 0; i < times; ++i) {
        const AnalysisStep s = c.press(b);
        out.push_back({s.view, s.message});
    }
    return out;
}

TEST(AnalysisCyclesTest, EveryButtonCyclesThroughItsViewsWithTheirMessages) {
    struct Case {
        AnalysisButton button;
        std::vector<Shown> expected;  // one full cycle and the first view again
    } cases[] = {
        {AnalysisButton::Coordinates, {{1, 2}, {2, 3}, {3, 4}, {1, 2}}},
        {AnalysisButton::Structure, {{1, 9}, {1, 9}}},
        {AnalysisButton::Constitution, {{1, 5}, {2, 6}, {3, 7}, {4, 8}, {1, 5}}},
        {AnalysisButton::Aspects, {{1, 10}, {2, 24}, {3, 25}, {4, 26}, {1, 10}}},
        {AnalysisButton::Energies, {{1, 11}, {2, 12}, {3, 13}, {1, 11}}},
        {AnalysisButton::Antiscia, {{1, 14}, {2, 15}, {3, 16}, {4, 17}, {1, 14}}},
        {AnalysisButton::Dodecatemoria, {{1, 18}, {1, 18}}},
        {AnalysisButton::Masters, {{1, 22}, {2, 23}, {1, 22}}},
        {AnalysisButton::Powers, {{1, 19}, {1, 19}}},
    };
    for (const Case& c : cases) {
        AnalysisCycles cycles;
        EXPECT_EQ(pressTimes(cycles, c.button, static_cast<int>(c.expected.size())), c.expected)
            << "button " << static_cast<int>(c.button);
    }
}

TEST(AnalysisCyclesTest, AnotherButtonStartsTheCycleAgain) {
    AnalysisCycles c;
    EXPECT_EQ(c.press(AnalysisButton::Coordinates).view, 1);
    EXPECT_EQ(c.press(AnalysisButton::Aspects).view, 1);
    EXPECT_EQ(c.press(AnalysisButton::Coordinates).view, 1) << "relative longitudes again";
    EXPECT_EQ(c.press(AnalysisButton::Coordinates).view, 2);

    c.press(AnalysisButton::Constitution);
    c.press(AnalysisButton::Constitution);
    c.clickBody(1);
    c.clickSign(4);
    EXPECT_EQ(c.press(AnalysisButton::Constitution).view, 3) << "glyph clicks leave the buttons alone";
    c.press(AnalysisButton::Masters);
    EXPECT_EQ(c.bodyCounter(1), 0) << "a button clears the glyph counters";
    EXPECT_EQ(c.signCounter(4), 0);
    EXPECT_EQ(c.press(AnalysisButton::Constitution).view, 1);
}

TEST(AnalysisCyclesTest, ABodyCyclesThroughTextsPlantsNothingAndAntiscia) {
    using A = GlyphAction;
    struct Case {
        int body;
        std::vector<GlyphAction> actions;  // five clicks
        std::vector<int> messages;
    } cases[] = {
        {1, {A::Texts, A::Plants, A::HidePlants, A::Antiscia, A::Texts}, {28, 29, 28, 30, 28}},
        {7, {A::Texts, A::Plants, A::HidePlants, A::Antiscia, A::Texts}, {28, 29, 28, 30, 28}},
        {8, {A::Texts, A::Plants, A::HidePlants, A::Texts, A::Plants}, {28, 29, 28, 28, 29}},
        {10, {A::Texts, A::Texts, A::Texts, A::Texts, A::Texts}, {28, 28, 28, 28, 28}},
    };
    for (const Case& c : cases) {
        AnalysisCycles cycles;
        std::vector<GlyphAction> actions;
        std::vector<int> messages;
        for (int i = 0; i < 5; ++i) {
            const GlyphStep s = cycles.clickBody(c.body);
            actions.push_back(s.action);
            messages.push_back(s.message);
        }
        EXPECT_EQ(actions, c.actions) << "body " << c.body;
        EXPECT_EQ(messages, c.messages) << "body " << c.body;
    }
}

TEST(AnalysisCyclesTest, ASignCyclesThroughAllFourAndBodiesKeepTheirOwnCounters) {
    AnalysisCycles c;
    std::vector<int> messages;
    for (int i = 0; i < 5; ++i) messages.push_back(c.clickSign(12).message);
    EXPECT_EQ(messages, (std::vector<int>{31, 32, 31, 33, 31}));
    EXPECT_EQ(c.clickSign(12).action, GlyphAction::Plants);

    c.clickBody(3);
    EXPECT_EQ(c.clickBody(5).action, GlyphAction::Texts);
    EXPECT_EQ(c.clickBody(3).action, GlyphAction::Plants);
}

}  // namespace
}  // namespace athanor::test
