#include "graphics/Wheel.h"
#include "interpretation/Sectors.h"

#include "Recorder.h"
#include "foundations/DataRoot.h"
#include "graphics/PageCanvas.h"
#include "graphics/Views.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace athanor {
namespace {

using test::Primitive;
using test::RecordingDevice;

const DataRoot kData{ATHANOR_SOURCE_DIR "/data"};

void expectAngles(const std::vector<double>& in, const std::vector<double>& expected) {
    const std::vector<double> out = spreadAngles(in);
    ASSERT_EQ(out.size(), expected.size());
    for (size_t i = 0; i < out.size(); ++i) EXPECT_NEAR(out[i], expected[i], 1e-9) << "body " << i;
}

TEST(Spreading, CrowdedBodiesMoveApartAndRunsShiftBack) {
    // A run of three followed by a wide gap shifts back by half its last displacement.
    expectAngles({100, 104, 106, 200}, {95, 103, 111, 200});
    // The run reaches the last body of the sequence: no shift back.
    expectAngles({100, 104, 106}, {100, 108, 116});
    // A run of two whose gap in front is too small for the half shift takes no partial one.
    expectAngles({50, 60, 63, 200}, {50, 60, 68, 200});
    // A run of three with a small gap in front takes the partial shift G - 8.
    expectAngles({100, 110, 112, 114, 200}, {100, 108, 116, 124, 200});
    // Input order does not matter; each body keeps its own result.
    expectAngles({200, 106, 100, 104}, {200, 111, 95, 103});
}

TEST(Spreading, EqualAnglesKeepBodyOrderAndTheZodiacWrapsAtTheLargestGap) {
    expectAngles({30, 30, 200}, {26, 34, 200});
    // The largest gap lies between 5 and 180: 355 leads the run across 0 degrees.
    expectAngles({355, 2, 5, 180}, {355, 3, 11, 180});
    expectAngles({-10, 370}, {350, 10});
    expectAngles({}, {});
    expectAngles({42}, {42});
}

TEST(WheelGeometryTest, AscendantOnTheLeftAndLongitudesCounterClockwise) {
    const WheelGeometry g;
    const double asc = 123.4;
    struct Case {
        double longitude;
        double y, x;
    };
    const Case cases[] = {{asc, 100, 50}, {asc + 90, 150, 100}, {asc + 180, 100, 150}, {asc + 270, 50, 100}};
    for (const Case& c : cases) {
        const auto [y, x] = wheelPoint(g, 1.0, 50, screenAngle(c.longitude, asc));
        EXPECT_NEAR(y, c.y, 1e-9) << c.longitude;
        EXPECT_NEAR(x, c.x, 1e-9) << c.longitude;
    }
    // The vertical aspect factor stretches only Y.
    const auto [y, x] = wheelPoint(g, 0.9, 50, screenAngle(asc + 90, asc));
    EXPECT_NEAR(y, 145, 1e-9);
    EXPECT_NEAR(x, 100, 1e-9);
}

TEST(WheelGeometryTest, DecanRulersFollowTheChaldeanOrder) {
    const int expected[36] = {body::Mars,    body::Sun,     body::Venus,   body::Mercury, body::Moon,    body::Saturn,
                              body::Jupiter, body::Mars,    body::Sun,     body::Venus,   body::Mercury, body::Moon,
                              body::Saturn,  body::Jupiter, body::Mars,    body::Sun,     body::Venus,   body::Mercury,
                              body::Moon,    body::Saturn,  body::Jupiter, body::Mars,    body::Sun,     body::Venus,
                              body::Mercury, body::Moon,    body::Saturn,  body::Jupiter, body::Mars,    body::Sun,
                              body::Venus,   body::Mercury, body::Moon,    body::Saturn,  body::Jupiter, body::Mars};
    for (int d = 1; d <= 36; ++d) EXPECT_EQ(decanFaceRuler(d), expected[d - 1]) << d;
}

TEST(WheelGeometryTest, RoundingHalvesToEven) {
    for (auto [x, r] : {std::pair{0.5, 0}, {1.5, 2}, {2.5, 2}, {2.51, 3}, {-0.5, 0}, {179.4, 179}})
        EXPECT_EQ(roundHalfEven(x), r) << x;
}

ChartState chartWith(const std::array<double, 12>& longitudes, double asc) {
    ChartState c;
    for (int b = 1; b <= 11; ++b) c.BodyLongitude[b] = longitudes[b];
    for (int h = 0; h < 12; ++h) c.HouseCusp[h] = normalize360(asc + 30.0L * h);
    c.BodyLongitude[body::Ascendant] = c.HouseCusp[0];
    c.BodyLongitude[body::Midheaven] = c.HouseCusp[9];
    c.HouseSystem = "CASE_UGUALI";
    for (auto& m : c.RetroMark) m = ' ';
    deriveTables(c);
    return c;
}

OrbSettings orbsOf(double orb) {
    OrbSettings o;
    o.AspectOrb.fill(orb);
    return o;
}

OrbSettings setA() {
    OrbSettings o;
    for (const auto& k : kAspectsByDisplay) o.AspectOrb[k.orbIndex] = k.setA;
    return o;
}

const WheelAspect* findAspect(const std::vector<WheelAspect>& list, int a, int b) {
    for (const auto& w : list)
        if (w.a == a && w.b == b) return &w;
    return nullptr;
}

TEST(WheelAspects, MajorAspectsWithoutConjunctionsAndNearExactOppositions) {
    //                      Sun  Moon   Merc  Venus Mars Jup  Sat NN   SN
    ChartState c = chartWith({0, 0, 180.4, 92.5, 1.0, 299, 240, 30, 120, 300, 0, 0}, 200);
    const auto list = wheelAspects(c, orbsOf(3), 11, false);
    EXPECT_EQ(findAspect(list, 1, 2), nullptr);  // opposition within half a degree
    EXPECT_EQ(findAspect(list, 1, 4), nullptr);  // conjunction
    EXPECT_EQ(findAspect(list, 8, 9), nullptr);  // the node axis
    struct Case {
        int a, b, kind, deviation;
    };
    const Case cases[] = {
        {2, 4, aspect::Opposition, 1},  // 179.4
        {1, 3, aspect::Square, 2},      // 92.5: half to even
        {2, 3, aspect::Square, 2},      // 87.9
        {1, 6, aspect::Trine, 0},      {1, 5, aspect::Sextile, 1}, {1, 8, aspect::Trine, 0},
    };
    for (const Case& k : cases) {
        const WheelAspect* w = findAspect(list, k.a, k.b);
        ASSERT_NE(w, nullptr) << k.a << "-" << k.b;
        EXPECT_EQ(w->orbIndex, k.kind) << k.a << "-" << k.b;
        EXPECT_EQ(w->deviation, k.deviation) << k.a << "-" << k.b;
    }
    // The printed pages leave the nodes out.
    for (const auto& w : wheelAspects(c, orbsOf(3), 9, true)) {
        EXPECT_NE(w.a, body::NorthNode);
        EXPECT_NE(w.b, body::NorthNode);
        EXPECT_NE(w.b, body::SouthNode);
    }
}

struct Drawn {
    RecordingDevice device;
    WheelHitTable hits;
    DrawingState state;
};

std::unique_ptr<Drawn> drawOn(const ChartState& chart, const OrbSettings& orbs, WheelOptions options = {},
                              double ppu = 10) {
    auto d = std::make_unique<Drawn>();
    d->state.setScreenScale(ppu);
    QPainter painter(&d->device);
    PageCanvas canvas(painter, d->state, &kData);
    d->hits = drawWheel(canvas, chart, orbs, WheelGeometry{}, options);
    return d;
}

TEST(WheelDrawing, HitTableHoldsSignsAndSpreadBodies) {
    // Sun, Moon and Mercury crowd at screen angles 100, 104, 106 (Ascendant 0).
    ChartState c = chartWith({0, 280, 284, 286, 20, 40, 60, 80, 140, 320, 0, 0}, 0);
    const auto d = drawOn(c, setA());
    const WheelGeometry g;
    ASSERT_EQ(d->hits.size(), 23u);
    for (int s = 1; s <= 12; ++s) {
        const WheelHit& h = d->hits[s - 1];
        EXPECT_EQ(h.kind, WheelHit::Kind::Sign);
        EXPECT_EQ(h.number, s);
        const auto [y, x] = wheelPoint(g, 1, 71.5, screenAngle(30.0 * s - 15, 0));
        EXPECT_NEAR(h.y, y, 1e-9);
        EXPECT_NEAR(h.x, x, 1e-9);
    }
    const std::vector<double> spread = spreadAngles({100, 104, 106, 200, 220, 240, 260, 320, 140, 180, 90});
    for (int b = 1; b <= 11; ++b) {
        const WheelHit& h = d->hits[11 + b];
        EXPECT_EQ(h.kind, WheelHit::Kind::Body);
        EXPECT_EQ(h.number, b);
        const auto [y, x] = wheelPoint(g, 1, 57.5, spread[b - 1]);
        EXPECT_NEAR(h.y, y, 1e-9) << b;
        EXPECT_NEAR(h.x, x, 1e-9) << b;
    }
    // The Sun is spread away from 100 degrees; its pointer line still starts at the true place.
    ASSERT_NE(spread[0], 100.0);
    const auto [ty, tx] = wheelPoint(g, 1, 65, 100);
    const QPoint trueStart(std::lround(tx * 10), std::lround(ty * 10));
    const auto [sy, sx] = wheelPoint(g, 1, 57.5 + 4.5, spread[0]);
    const QPoint glyphEdge(std::lround(sx * 10), std::lround(sy * 10));
    bool found = false;
    for (const auto* l : d->device.of(Primitive::Line))
        found |= l->points[0].toPoint() == trueStart && l->points[1].toPoint() == glyphEdge;
    EXPECT_TRUE(found);
}

TEST(WheelDrawing, ClicksHitWithinFifteenPixels) {
    ChartState c = chartWith({0, 280, 284, 286, 20, 40, 60, 80, 140, 320, 0, 0}, 0);
    const auto d = drawOn(c, setA());
    const WheelHit& mars = d->hits[11 + body::Mars];
    DrawingState s = d->state;
    s.ox = 30;
    s.oy = -20;
    const QPoint centre(std::lround(mars.x * 10) + 30, std::lround(mars.y * 10) - 20);
    const auto hit = findHit(d->hits, s, centre + QPoint(12, -14));
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->kind, WheelHit::Kind::Body);
    EXPECT_EQ(hit->number, body::Mars);
    EXPECT_FALSE(findHit(d->hits, s, centre + QPoint(20, 0)));
    s.hc = 1.5;  // the tolerance shrinks with the correction
    const QPoint corrected(std::lround(mars.x / 1.5 * 10) + 30, std::lround(mars.y * 10) - 20);
    EXPECT_TRUE(findHit(d->hits, s, corrected + QPoint(9, 0)));
    EXPECT_FALSE(findHit(d->hits, s, corrected + QPoint(11, 0)));
}

TEST(WheelDrawing, RetrogradeMarksAndPrintedDegrees) {
    ChartState c = chartWith({0, 10, 50, 95, 130, 170, 215, 250, 300, 120, 0, 0}, 3);
    c.RetroMark[3] = 'r';
    c.RetroMark[7] = 'r';
    const auto d = drawOn(c, setA());
    int marks = 0;
    for (const auto* t : d->device.of(Primitive::Text))
        if (t->text == "R") {
            ++marks;
            EXPECT_EQ(t->pen.color(), colour::Red);
        }
    EXPECT_EQ(marks, 2);

    WheelOptions print;
    print.style = WheelStyle::Print;
    const auto p = drawOn(c, setA(), print);
    int degreeTexts = 0;
    for (const auto* t : p->device.of(Primitive::Text)) degreeTexts += t->text.endsWith('\'');
    EXPECT_EQ(degreeTexts, 9 + 2);  // nine bodies and the two ends of the Ascendant axis
    EXPECT_TRUE(
        std::none_of(p->hits.begin(), p->hits.end(), [](const WheelHit& h) { return h.kind == WheelHit::Kind::Body; }));
}

TEST(WheelDrawing, MeanHousesMarkTheTrueMidheavenAndEachCuspFifteenDegreesBefore) {
    ChartState c = chartWith({0, 10, 50, 95, 130, 170, 215, 250, 300, 120, 0, 0}, 100);
    c.HouseSystem = "CASE_MEDIE";
    c.BodyLongitude[body::Midheaven] = 352.5;  // the MC is no cusp of mean houses
    const auto d = drawOn(c, setA());
    const WheelGeometry g;
    auto centreOf = [](const Primitive* p) { return p->rect.center() / 10; };
    std::vector<QPointF> yellow, red;
    for (const auto* e : d->device.of(Primitive::Ellipse)) {
        if (e->brush.color() == colour::Yellow) yellow.push_back(centreOf(e));
        if (e->brush.color() == colour::Red && std::abs(e->rect.width() - 20) < 1) red.push_back(centreOf(e));
    }
    auto near = [](const std::vector<QPointF>& pts, std::pair<double, double> yx) {
        return std::any_of(pts.begin(), pts.end(), [&](const QPointF& p) {
            return std::abs(p.x() - yx.second) < 0.15 && std::abs(p.y() - yx.first) < 0.15;
        });
    };
    ASSERT_EQ(yellow.size(), 4u);  // both ends of the Ascendant and of the Midheaven axis
    EXPECT_TRUE(near(yellow, wheelPoint(g, 1, 83, screenAngle(352.5, 100))));
    EXPECT_TRUE(near(yellow, wheelPoint(g, 1, 83, screenAngle(172.5, 100))));
    ASSERT_EQ(red.size(), 12u);
    for (int h = 0; h < 12; ++h) EXPECT_TRUE(near(red, wheelPoint(g, 1, 83, screenAngle(85 + 30 * h, 100)))) << h;

    int degreeTexts = 0, mcLabels = 0;
    for (const auto* t : d->device.of(Primitive::Text)) {
        degreeTexts += t->text.endsWith('\'');
        mcLabels += t->text == "MC";
    }
    EXPECT_EQ(degreeTexts, 2 + 1 + 10);  // Ascendant axis, Midheaven, ten of the twelve cusp marks
    EXPECT_EQ(mcLabels, 1);

    c.HouseSystem = "PLACIDO";
    const auto p = drawOn(c, setA());
    int yellowDots = 0;
    for (const auto* e : p->device.of(Primitive::Ellipse)) yellowDots += e->brush.color() == colour::Yellow;
    EXPECT_EQ(yellowDots, 2);
}

TEST(WheelDrawing, SecondStyleDrawsTheCuspAxesThroughTheCentre) {
    ChartState c = chartWith({0, 10, 50, 95, 130, 170, 215, 250, 300, 120, 0, 0}, 100);
    for (bool through : {false, true}) {
        WheelOptions o;
        o.houseAxesThroughCentre = through;
        const auto d = drawOn(c, setA(), o);
        int fromCentre = 0;
        for (const auto* l : d->device.of(Primitive::Line)) fromCentre += l->points[0].toPoint() == QPoint(1000, 1000);
        EXPECT_EQ(fromCentre, through ? 12 : 0);
        QStringList labels;
        for (const auto* t : d->device.of(Primitive::Text))
            if (t->font.pixelSize() == d->device.of(Primitive::Text).front()->font.pixelSize()) labels << t->text;
        const QStringList expected =
            through ? QStringList{"I", "2", "3", "IV", "5", "6", "VII", "8", "9", "X", "11", "12"}
                    : QStringList{"I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX", "X", "XI", "XII"};
        for (const QString& e : expected) EXPECT_TRUE(labels.contains(e)) << e.toStdString();
    }
}

TEST(WheelDrawing, SpindlesWidenWithExactnessAndTheLineVariantDashesHardAspects) {
    // Sun-Jupiter an exact trine, Sun-Mars a square 2 degrees off.
    ChartState c = chartWith({0, 0, 40, 205, 165, 92, 120, 335, 350, 170, 0, 0}, 50);
    const OrbSettings orbs = orbsOf(3);
    const auto list = wheelAspects(c, orbs, 11, false);
    const auto d = drawOn(c, orbs);
    const auto spindles = d->device.of(Primitive::Polygon);
    ASSERT_EQ(spindles.size(), list.size());

    auto end = [&](int b) {  // on R6 at the rounded angle
        const auto [y, x] = wheelPoint(WheelGeometry{}, 1, 39, screenAngle(c.BodyLongitude[b], 50));
        return QPoint(std::lround(x * 10), std::lround(y * 10));
    };
    auto spindle = [&](int a, int b) -> const Primitive* {
        for (const auto* p : spindles)
            if (p->points[0].toPoint() == end(a) && p->points[3].toPoint() == end(b)) return p;
        return nullptr;
    };
    auto width = [](const Primitive* p) { return QLineF(p->points[1], p->points[5]).length() / 10; };
    const Primitive* trine = spindle(body::Sun, body::Jupiter);
    const Primitive* square = spindle(body::Sun, body::Mars);
    ASSERT_TRUE(trine && square);
    EXPECT_EQ(trine->brush.color(), colour::Blue);
    EXPECT_EQ(square->brush.color(), colour::Red);
    EXPECT_NEAR(width(trine), 2 / (1.2 * std::sqrt(0.2)), 0.15);
    EXPECT_NEAR(width(square), 2 / (1.2 * std::sqrt(2.0)), 0.15);
    // Full width 8 units from each end.
    EXPECT_NEAR(QLineF(trine->points[0], (trine->points[1] + trine->points[5]) / 2).length() / 10, 8, 0.15);

    WheelOptions lines;
    lines.lineVariant = true;
    const auto l = drawOn(c, orbs, lines);
    EXPECT_TRUE(l->device.of(Primitive::Polygon).empty());
    const auto hard = std::count_if(list.begin(), list.end(), [](const WheelAspect& w) {
        return w.orbIndex == aspect::Opposition || w.orbIndex == aspect::Square;
    });
    int yellowDashes = 0;
    for (const auto* p : l->device.of(Primitive::Line)) yellowDashes += p->pen.color() == colour::Yellow;
    EXPECT_EQ(yellowDashes, 15 * hard);
}

TEST(WheelDrawing, RendersForEverySkyQuadrantRetrogradesAndOldCharts) {
    const View* wheel = findView("wheel");
    ASSERT_NE(wheel, nullptr);
    for (double asc : {10.0, 100.0, 190.0, 280.0}) {
        ChartState c = chartWith({0, 12, 13, 14, 300, 185, 95, 96, 97, 277, 0, 0}, asc);
        c.RetroMark[5] = c.RetroMark[6] = 'r';
        c.ChartJulianDay = 2378496.5L;  // 1800: no asteroids
        const OrbSettings orbs = setA();
        for (bool mono : {false, true}) {
            for (bool paper : {false, true}) {
                RenderOptions o;
                o.screenPpu = 2;
                o.monochrome = mono;
                o.paperLook = paper;
                const QImage img = renderImage(*wheel, ViewContext{c, orbs, kData, "", ""}, o);
                ASSERT_EQ(img.width(), 400);
                // Ink is drawn on the background all round the wheel.
                const QRgb background = paper ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
                int inked = 0;
                for (int y = 0; y < img.height(); y += 2)
                    for (int x = 0; x < img.width(); x += 2) inked += (img.pixel(x, y) | 0xFF000000) != background;
                EXPECT_GT(inked, 2000) << asc << mono << paper;
            }
        }
    }
}

}  // namespace
}  // namespace athanor
