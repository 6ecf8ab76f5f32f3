#include "graphics/WeaveDrawings.h"

#include "Support.h"

#include <gtest/gtest.h>

namespace athanor {
namespace {

using test::Primitive;
using test::record;

constexpr double kPpu = 10;

// The text drawn in the cell whose centre is (Y, X): a text centred there.
const Primitive* textAt(const test::Recording& r, double y, double x) {
    for (const auto* p : r.device.of(Primitive::Text)) {
        const auto at = test::placeOf(*p, 1 / kPpu);
        const double middle = test::textBox(*p).center().y() / kPpu;
        if (std::abs(at.centre - x) < 0.3 && std::abs(middle - y) < 1.5) return p;
    }
    return nullptr;
}

std::optional<QString> numberAt(const test::Recording& r, double y, double x) {
    if (const Primitive* p = textAt(r, y, x)) return p->text;
    return std::nullopt;
}

std::array<int, 8> allIn(int sign) { return {0, sign, sign, sign, sign, sign, sign, sign}; }

TEST(ElementalWeave, SevenPlanetsInAriesFillTheFireSaltCellAndItsTotals) {
    const Weaves w = countWeaves(allIn(1));
    const auto r = record([&](PageCanvas& c) { drawElementalWeave(c, w.elemental, 100, 100, WeaveLook::Screen); });
    // Grid centred on (100, 100): header row and column, then 7-unit cells; rows Fuego,
    // Tierra, Aire, Agua, Tot; columns Sal, Azufre, Mercurio, Tot.
    const auto cell = [](int row, int col) {
        return std::pair{100 - 21 + 7 * (row + 1.5), 100 - 17.5 + 7 * (col + 1.5)};
    };
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 4; ++col) {
            const bool seven = (row == 0 || row == 4) && (col == 0 || col == 3);
            const auto [y, x] = cell(row, col);
            const auto n = numberAt(*r, y, x);
            ASSERT_TRUE(n) << row << "," << col;
            EXPECT_EQ(*n, seven ? "7" : "0") << row << "," << col;
        }
    // Counts grey, the Fuego total in the row's red.
    const auto [fy, fx] = cell(0, 0);
    const auto [ty, tx] = cell(0, 3);
    EXPECT_EQ(textAt(*r, fy, fx)->pen.color(), QColor(128, 128, 128));
    EXPECT_EQ(textAt(*r, ty, tx)->pen.color(), colour::Red);
    // The analysis window's titles at the top left, the tag above the chart centre.
    const auto title = test::textsNamed(*r, "TELA ELEMENTAL");
    ASSERT_EQ(title.size(), 1u);
    EXPECT_NEAR(test::placeOf(*title[0], 1 / kPpu).top, 5, 0.15);
    EXPECT_NEAR(test::placeOf(*title[0], 1 / kPpu).left, 5, 0.15);
    const auto tag = test::textsNamed(*r, "[Elemental]");
    ASSERT_EQ(tag.size(), 1u);
    EXPECT_NEAR(test::placeOf(*tag[0], 1 / kPpu).top, 67, 0.15);
    EXPECT_NEAR(test::placeOf(*tag[0], 1 / kPpu).centre, 100, 0.15);
}

TEST(SeasonalWeave, SummerSignsCountBySeasonAndQuality) {
    // Cancer, Leo, Virgo are summer: cardinal, fixed, mutable.
    const Weaves w = countWeaves(std::array<int, 8>{0, 4, 4, 5, 5, 5, 6, 6});
    const auto r = record([&](PageCanvas& c) { drawSeasonalWeave(c, w.seasonal, 100, 100, WeaveLook::Screen); });
    // No header row: rows Primavera .. Invierno, Tot from the top of the grid (100 - 17.5).
    const auto cell = [](int row, int col) {
        return std::pair{100 - 17.5 + 7 * (row + 0.5), 100 - 17.5 + 7 * (col + 1.5)};
    };
    const int expected[5][4] = {{0, 0, 0, 0}, {2, 3, 2, 7}, {0, 0, 0, 0}, {0, 0, 0, 0}, {2, 3, 2, 7}};
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 4; ++col) {
            const auto [y, x] = cell(row, col);
            const auto n = numberAt(*r, y, x);
            ASSERT_TRUE(n) << row << "," << col;
            EXPECT_EQ(n->toInt(), expected[row][col]) << row << "," << col;
        }
    EXPECT_EQ(test::textsNamed(*r, "TELA ESTACIONAL").size(), 1u);
    EXPECT_EQ(test::textsNamed(*r, "[Estacional]").size(), 1u);
}

TEST(HumoralTable, QualityTotalsAndTheTitlesOfScreenAndPaper) {
    const Humors fire = countWeaves(allIn(1)).humoralElemental;
    const auto r = record([&](PageCanvas& c) { drawHumoralTable(c, fire, false, 100, 104, WeaveLook::Screen); });
    // Rows Aire, Fuego, Tierra, Agua from Y 86; counts at X - 3, quality totals at X + 10
    // (hot, moist, cold, dry).
    const int counts[4] = {0, 7, 0, 0}, totals[4] = {7, 0, 0, 7};
    for (int row = 0; row < 4; ++row) {
        const double y = 86 + 7 * (row + 0.5);
        EXPECT_EQ(numberAt(*r, y, 101).value_or("?").toInt(), counts[row]) << row;
        EXPECT_EQ(numberAt(*r, y, 114).value_or("?").toInt(), totals[row]) << row;
    }
    EXPECT_EQ(test::textsNamed(*r, "C=caliente").size(), 1u);

    struct Case {
        bool seasonal;
        WeaveLook look;
        const char* title;
        const char* legend;
    };
    const Case cases[] = {
        {false, WeaveLook::Screen, "ATRIBUCIÓN HUMORAL", "U=húmedo"},
        {true, WeaveLook::Screen, "HUMORAL ATTRIBUTION", "F=frío"},
        {true, WeaveLook::Print, "ATRIBUCIÓN HUMORAL", "C = cálido"},
    };
    for (const Case& k : cases) {
        const auto t = record([&](PageCanvas& c) { drawHumoralTable(c, fire, k.seasonal, 100, 104, k.look); });
        EXPECT_EQ(test::textsNamed(*t, QString::fromUtf8(k.title)).size(), 1u) << k.title;
        EXPECT_EQ(test::textsNamed(*t, QString::fromUtf8(k.legend)).size(), 1u) << k.legend;
        EXPECT_EQ(test::textsNamed(*t, k.seasonal ? "(Estacional)" : "(Elemental)").size(), 1u);
    }
}

TEST(Weaves, NoTextRunsIntoAnotherOnScreenOrOnPaper) {
    // Crowded counts (two-digit totals cannot occur; every table sums to 7) with the
    // widest captions, on screen and on paper.
    const Weaves w = countWeaves(std::array<int, 8>{0, 1, 5, 9, 2, 6, 10, 3});
    for (const bool paper : {false, true}) {
        const WeaveLook look = paper ? WeaveLook::Print : WeaveLook::Screen;
        const std::function<void(PageCanvas&)> draws[] = {
            [&](PageCanvas& c) { drawElementalWeave(c, w.elemental, 100, 100, look); },
            [&](PageCanvas& c) { drawSeasonalWeave(c, w.seasonal, 100, 100, look); },
            [&](PageCanvas& c) { drawHumoralTable(c, w.humoralElemental, false, 100, 100, look); },
            [&](PageCanvas& c) { drawHumoralTable(c, w.humoralSeasonal, true, 100, 100, look); },
        };
        for (const auto& draw : draws) {
            const auto r = record(draw, 6, paper);
            const auto overlaps = test::overlappingTexts(r->device.of(Primitive::Text));
            for (const auto& [a, b] : overlaps) ADD_FAILURE() << a.toStdString() << " / " << b.toStdString();
        }
    }
}

}  // namespace
}  // namespace athanor
