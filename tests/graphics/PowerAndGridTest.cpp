#include "graphics/AnalysisViews.h"
#include "graphics/GridDrawings.h"
#include "graphics/PowerDrawings.h"

#include "Support.h"
#include "interpretation/AspectViews.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace athanor {
namespace {

using test::chartWith;
using test::Primitive;
using test::record;

constexpr double kPpu = 10;

TEST(PowerBars, StandOnTheBaseLineScaledToThirtyUnitsRedWhenNegative) {
    std::array<long double, 11> scores{};
    const long double given[11] = {0, 60, 30, -10, 1, 12, 24, 36, 48, 54, 6};
    for (int b = 1; b <= 10; ++b) scores[b] = given[b];
    const Powers powers = computePowers(scores);
    const double x0 = 40, y0 = 20;
    const auto r = record([&](PageCanvas& c) { drawPowerBars(c, powers, x0, y0); }, kPpu);

    // The first four bars of the edge case: 30, 15, 5 (red), 3 (the minimum) units high.
    struct Bar {
        int i, height;
        QColor fill;
    };
    const Bar bars[] = {{1, 30, colour::Blue}, {2, 15, colour::Blue}, {3, 5, colour::Red}, {4, 3, colour::Blue}};
    for (const Bar& b : bars) {
        const double left = x0 + 0.7 - 5 + 6 * b.i;
        const QRectF expected(QPointF(std::lround(left * kPpu), std::lround((y0 + 30 - b.height) * kPpu)),
                              QPointF(std::lround((left + 5) * kPpu), std::lround((y0 + 30) * kPpu)));
        bool found = false;
        for (const auto* p : r->device.of(Primitive::Rect))
            if (p->rect == expected) {
                found = true;
                EXPECT_EQ(p->brush.color(), b.fill) << b.i;
            }
        EXPECT_TRUE(found) << "bar " << b.i;
    }
    // Each score's text centred under its bar, silver on screen.
    const auto minus = test::textsNamed(*r, "-10");
    ASSERT_EQ(minus.size(), 1u);
    const auto at = test::placeOf(*minus[0], 1 / kPpu);
    EXPECT_NEAR(at.top, y0 + 36, 0.15);
    EXPECT_NEAR(at.centre, powerBarLeft(x0, 3) + 2.5, 0.15);
    EXPECT_EQ(minus[0]->pen.color(), colour::Silver);
}

TEST(PowerBars, WideScoresDoNotRunIntoEachOther) {
    std::array<long double, 11> scores{};
    const long double given[11] = {0, 100, -100, 120, -99, 1000, 88, -1000, 5, 250, 111};
    for (int b = 1; b <= 10; ++b) scores[b] = given[b];
    const Powers powers = computePowers(scores);
    for (const bool paper : {false, true}) {
        const auto r = record([&](PageCanvas& c) { drawPowerBars(c, powers, 40, 20); }, 6, paper);
        EXPECT_EQ(r->device.of(Primitive::Text).size(), 10u);
        for (const auto& [a, b] : test::overlappingTexts(r->device.of(Primitive::Text)))
            ADD_FAILURE() << a.toStdString() << " / " << b.toStdString();
    }
}

TEST(PowersOfAChart, ScoredAsTheAnalysisWindowDoesAndTheFolderLeftAsItWas) {
    const test::TestFolder folder;
    const auto listing = [&] {
        std::vector<std::string> files;
        for (const auto& e : std::filesystem::recursive_directory_iterator(folder.dir.path()))
            files.push_back(e.path().string());
        std::sort(files.begin(), files.end());
        return files;
    };
    const auto before = listing();
    const ChartState chart = test::chartOf(test::births()[0].subject);
    const Powers p = powersOf(chart, folder.root());
    EXPECT_EQ(listing(), before);
    // The tallest bar is the dominant body's, 30 units.
    EXPECT_EQ(p.bars[p.dominant].height, 30);
    for (int b = 1; b <= 10; ++b) EXPECT_LE(p.bars[b].score, p.maximum);
}

// Sun at 10 Aries, Mars at 13 Cancer; the others far from any aspect with them.
ChartState squareChart() { return chartWith({0, 10, 0, 0, 0, 103, 0, 0, 0, 0, 0, 0}, 0); }

const Primitive* textInCell(const test::Recording& r, const QString& text, double y, double x, int first, int second) {
    const double top = gridCellTop(y, second), left = gridCellLeft(x, first);
    for (const auto* p : test::textsNamed(r, text)) {
        const QRectF box = test::textBox(*p);
        if (box.left() >= left * kPpu && box.right() <= (left + kGridCellWidth) * kPpu && box.top() >= top * kPpu &&
            box.bottom() <= (top + kGridCellHeight) * kPpu)
            return p;
    }
    return nullptr;
}

TEST(EclipticGrid, TheSquareGlyphAndItsDeviationStandInTheirCell) {
    ChartState chart = squareChart();
    const double y = 70, x = 56;
    const auto r = record([&](PageCanvas& c) { drawEclipticGrid(c, chart, test::setA(), y, x, true); }, kPpu);
    EXPECT_NE(textInCell(*r, "03", y, x, 1, 5), nullptr);
    // The square's glyph: red strokes inside the cell.
    const double top = gridCellTop(y, 5), left = gridCellLeft(x, 1);
    int strokes = 0;
    for (const auto* p : r->device.of(Primitive::Polyline)) {
        if (p->pen.color() != colour::Red) continue;
        bool inside = true;
        for (const QPointF& q : p->points)
            inside &= q.x() >= left * kPpu && q.x() <= (left + kGridCellWidth) * kPpu && q.y() >= top * kPpu &&
                      q.y() <= (top + kGridCellHeight) * kPpu;
        strokes += inside;
    }
    EXPECT_EQ(strokes, 1);
    EXPECT_EQ(test::textsNamed(*r, QString::fromUtf8("ASPECTOS y ÓRBITAS")).size(), 1u);
    // The printed variant has no titles.
    const auto printed =
        record([&](PageCanvas& c) { drawEclipticGrid(c, chart, test::setA(), y, x, false); }, kPpu, true);
    EXPECT_TRUE(test::textsNamed(*printed, QString::fromUtf8("ASPECTOS y ÓRBITAS")).empty());
    EXPECT_TRUE(test::textsNamed(*printed, QString::fromUtf8("en la eclíptica")).empty());
}

TEST(SphericalGrid, DistancesColouredByTheirKindWithTheirRule) {
    const double y = 70, x = 56;
    ChartState chart = squareChart();
    struct Case {
        double moonLatitude, conjunctionOrb;
        QColor moonColour;
    };
    // A Moon 5 degrees north of an exact conjunction: yellow with an orb above 5, grey
    // with a smaller one.
    for (const Case& k : {Case{5, 10, colour::Yellow}, Case{5, 4.5, colour::Grey}}) {
        chart.BodyLongitude[body::Moon] = 10;
        chart.BodyLatitude[body::Moon] = k.moonLatitude;
        OrbSettings orbs = test::setA();
        orbs.AspectOrb[aspect::Conjunction] = k.conjunctionOrb;
        const auto r = record([&](PageCanvas& c) { drawSphericalGrid(c, chart, orbs, y, x); }, kPpu);
        const Primitive* mars = textInCell(*r, "93.00", y, x, 1, 5);
        ASSERT_NE(mars, nullptr);
        EXPECT_EQ(mars->pen.color(), colour::Red);
        std::string moonText;
        for (const SphericalCell& cell : sphericalGrid(chart, orbs))
            if (cell.first == 1 && cell.second == 2) moonText = cell.text;
        ASSERT_EQ(moonText.substr(0, 2), moonText[0] == '4' ? "4." : "5.");
        const Primitive* moon = textInCell(*r, QString::fromStdString(moonText), y, x, 1, 2);
        ASSERT_NE(moon, nullptr);
        EXPECT_EQ(moon->pen.color(), k.moonColour);

        // A coloured cell is underlined in the pen of its kind; a grey one is not.
        const auto ruleIn = [&](int first, int second) -> const Primitive* {
            const double top = gridCellTop(y, second), left = gridCellLeft(x, first);
            for (const auto* p : r->device.of(Primitive::Line))
                if (p->points[0].y() == p->points[1].y() && p->points[0].y() > (top + 2.5) * kPpu &&
                    p->points[0].y() < (top + kGridCellHeight) * kPpu && p->points[0].x() > left * kPpu &&
                    p->points[1].x() < (left + kGridCellWidth) * kPpu && p->pen.color() != colour::White)
                    return p;
            return nullptr;
        };
        ASSERT_NE(ruleIn(1, 5), nullptr);
        EXPECT_EQ(ruleIn(1, 5)->pen.color(), colour::Red);
        EXPECT_EQ(ruleIn(1, 5)->pen.widthF(), std::lround(kPpu / 2));
        if (k.moonColour == colour::Grey) EXPECT_EQ(ruleIn(1, 2), nullptr);
        else EXPECT_EQ(ruleIn(1, 2)->pen.color(), colour::Yellow);
    }
}

TEST(Grids, BodyGlyphsOnTheDiagonalAndNoTextsOverEachOther) {
    for (const auto& birth : test::births()) {
        const ChartState chart = test::chartOf(birth.subject);
        for (const bool paper : {false, true}) {
            const auto r = record(
                [&](PageCanvas& c) {
                    drawEclipticGrid(c, chart, test::setA(), 70, 56, true);
                    drawSphericalGrid(c, chart, test::setA(), 140, 56);
                },
                6, paper);
            for (const auto& [a, b] : test::overlappingTexts(r->device.of(Primitive::Text)))
                ADD_FAILURE() << birth.label << ": " << a.toStdString() << " / " << b.toStdString();
        }
    }
}

}  // namespace
}  // namespace athanor
