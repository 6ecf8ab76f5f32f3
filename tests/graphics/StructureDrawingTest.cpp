#include "graphics/StructureDrawing.h"

#include "Support.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace athanor {
namespace {

using test::Primitive;
using test::record;

// Reception lines held in memory.
class Lines : public ExchangeTables {
public:
    explicit Lines(std::set<std::string> lines) : lines_(std::move(lines)) {}
    bool contains(int, std::string_view line) override { return lines_.count(std::string(line)) != 0; }

private:
    std::set<std::string> lines_;
};

ArchetypalStructure structureOf(const std::array<int, 8>& signs, std::set<std::string> lines = {}) {
    Lines tables(std::move(lines));
    return computeStructure(signs, tables);
}

// Sun in Leo, Moon in Taurus, Mercury in Pisces, Venus in Virgo; Mars in Gemini (under
// Mercury), Jupiter in Aries (under Mars), Saturn in Sagittarius (under Jupiter).
const std::array<int, 8> kDignities = {0, 5, 2, 12, 6, 3, 1, 9};
// No planet with a dignity: Sun Virgo, Moon Gemini, Mercury Libra, Venus Gemini, Mars Leo,
// Jupiter Aries, Saturn Sagittarius.
const std::array<int, 8> kFree = {0, 6, 3, 7, 3, 5, 1, 9};

constexpr double kPpu = 10;

QRectF unitsRect(double y2, double x2, double y1, double x1) {
    return QRectF(QPointF(x1 * kPpu, y1 * kPpu), QPointF(x2 * kPpu, y2 * kPpu)).normalized();
}

const Primitive* rectAt(const test::RecordingDevice& d, const QRectF& r) {
    for (const auto* p : d.of(Primitive::Rect))
        if (std::abs(p->rect.left() - r.left()) < 1 && std::abs(p->rect.right() - r.right()) < 1 &&
            std::abs(p->rect.top() - r.top()) < 1 && std::abs(p->rect.bottom() - r.bottom()) < 1)
            return p;
    return nullptr;
}

TEST(StructureScreen, ColumnsCentredOnTheChartWithFramesGlyphsAndCaptions) {
    const ArchetypalStructure s = structureOf(kDignities);
    std::vector<StructureHit> hits;
    const auto r = record([&](PageCanvas& c) { hits = drawStructureScreen(c, s); }, kPpu);

    // Four columns: Mercury (exile), Venus (fall), Moon (exaltation), Sun (domicile), at
    // X = 100 + 6.5 - 6*4 + 13c; slots 7 units apart up from Y0 = 118.
    struct Hit {
        int planet;
        double y, x;
    };
    const Hit expected[] = {{3, 118, 82.5}, {5, 111, 82.5},  {6, 104, 82.5}, {7, 97, 82.5},
                            {4, 118, 95.5}, {2, 118, 108.5}, {1, 118, 121.5}};
    ASSERT_EQ(hits.size(), std::size(expected));
    for (std::size_t i = 0; i < hits.size(); ++i) {
        EXPECT_EQ(hits[i].planet, expected[i].planet) << i;
        EXPECT_DOUBLE_EQ(hits[i].y, expected[i].y) << i;
        EXPECT_DOUBLE_EQ(hits[i].x, expected[i].x) << i;
    }

    // Frames: as high as the column's slots, red for debilities and cyan for dignities.
    struct Frame {
        double x;
        int levels;
        QColor colour;
    };
    const Frame frames[] = {
        {82.5, 4, colour::Red}, {95.5, 1, colour::Red}, {108.5, 1, colour::Cyan}, {121.5, 1, colour::Cyan}};
    for (const Frame& f : frames) {
        const Primitive* p = rectAt(r->device, unitsRect(122, f.x + 4, 118 - 7 * f.levels + 2, f.x - 8));
        ASSERT_NE(p, nullptr) << f.x;
        EXPECT_EQ(p->pen.color(), f.colour) << f.x;
    }

    // Captions under the heads; parent tags beside the disposed planets.
    struct Caption {
        const char* text;
        double top, left;
    };
    const Caption captions[] = {{"Exilio", 122, 75.5},  {"Caida", 122, 88.5}, {"Exaltac.", 122, 101.5},
                                {"Domic.", 122, 114.5}, {"mer", 110.5, 75},   {"mar", 103.5, 75},
                                {"jup", 96.5, 75}};
    for (const Caption& c : captions) {
        const auto found = test::textsNamed(*r, c.text);
        ASSERT_EQ(found.size(), 1u) << c.text;
        const auto at = test::placeOf(*found[0], 1 / kPpu);
        EXPECT_NEAR(at.top, c.top, 0.15) << c.text;
        EXPECT_NEAR(at.left, c.left, 0.15) << c.text;
    }
}

TEST(StructureScreen, ReceptionPairsShareAnOpenFrameOnlyWithinTheirGroup) {
    // Sun-Moon and Mars-Jupiter are two reception pairs; Saturn stands under Jupiter.
    const ArchetypalStructure s = structureOf(kFree, {"01060203", "05050601"});
    ASSERT_EQ(s.columns.size(), 4u);
    const auto r = record([&](PageCanvas& c) { drawStructureScreen(c, s); }, kPpu);

    std::vector<QLineF> bridges;
    for (const auto* p : r->device.of(Primitive::Line))
        if (p->pen.color() == colour::Yellow && p->points[0].y() == p->points[1].y())
            bridges.emplace_back(p->points[0], p->points[1]);
    // Bridges at X = Xc - 8 .. Xc - 10 of the second and the fourth column only.
    ASSERT_EQ(bridges.size(), 4u);
    for (double xc : {95.5, 121.5}) {
        int n = 0;
        for (const QLineF& l : bridges)
            if (std::min(l.x1(), l.x2()) > (xc - 10.1) * kPpu && std::max(l.x1(), l.x2()) < (xc - 7.4) * kPpu) ++n;
        EXPECT_EQ(n, 2) << xc;
    }
    // The reception frames are yellow, and so is their caption.
    for (double xc : {82.5, 95.5, 108.5, 121.5}) {
        const int levels = xc == 121.5 ? 2 : 1;
        const Primitive* p = rectAt(r->device, unitsRect(122, xc + 4, 118 - 7 * levels + 2, xc - 8));
        ASSERT_NE(p, nullptr) << xc;
        EXPECT_EQ(p->pen.color(), colour::Yellow);
    }
    EXPECT_EQ(test::textsNamed(*r, "Intercam.").size(), 4u);
}

TEST(StructurePrint, AnchoredAtTheBottomLeftWithTitleAndPrintCaptions) {
    const ArchetypalStructure s = structureOf(kFree, {"01060203"});
    // Paper: reception frames and captions orange, dignity texts blue.
    const auto r = record([&](PageCanvas& c) { drawStructurePrint(c, s, 315, 25); }, kPpu, true);
    const auto title = test::textsNamed(*r, "ESTRUCTURA ARQUETIPAL");
    ASSERT_EQ(title.size(), 1u);
    EXPECT_NEAR(test::placeOf(*title[0], 1 / kPpu).top, 262, 0.15);
    EXPECT_NEAR(test::placeOf(*title[0], 1 / kPpu).left, 17, 0.15);

    // Mars (in Leo) stands under the Sun, Jupiter under Mars, Saturn under Jupiter.
    ASSERT_EQ(filledLevels(s.columns[0]), 4);
    const Primitive* first = rectAt(r->device, unitsRect(319, 29, 315 - 7 * 4 + 2, 17));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->pen.color(), colour::Orange);
    const auto captions = test::textsNamed(*r, "Intercam");
    ASSERT_EQ(captions.size(), 2u);
    for (const auto* c : captions) EXPECT_NEAR(test::placeOf(*c, 1 / kPpu).top, 319.5, 0.15);
}

TEST(StructureText, NoConditionedPlanetSaysSoOnScreenAndOnPaper) {
    const ArchetypalStructure s = structureOf(kFree);
    ASSERT_TRUE(s.columns.empty());
    const auto screen = record([&](PageCanvas& c) { EXPECT_TRUE(drawStructureScreen(c, s).empty()); }, kPpu);
    const auto said = test::textsNamed(*screen, QString::fromUtf8("Nessuna Debilità né Dignità Planetaria"));
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NEAR(test::placeOf(*said[0], 1 / kPpu).top, 118, 0.15);
    EXPECT_NEAR(test::placeOf(*said[0], 1 / kPpu).left, 65, 0.15);

    const auto paper = record([&](PageCanvas& c) { drawStructurePrint(c, s, 315, 25); }, kPpu, true);
    EXPECT_EQ(test::textsNamed(*paper, "Ninguna Debilidad o Dignidad Planetary").size(), 1u);
}

}  // namespace
}  // namespace athanor
