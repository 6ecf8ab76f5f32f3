#include "graphics/SectorDrawings.h"

#include "Support.h"
#include "foundations/Cp1252.h"
#include "foundations/Format.h"
#include "interpretation/Sectors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

namespace athanor {
namespace {

using test::chartWith;
using test::Primitive;
using test::record;

constexpr double kPpu = 10;

QPointF device(std::pair<double, double> yx) {
    return QPointF(std::lround(yx.second * kPpu), std::lround(yx.first * kPpu));
}

bool near(const QPointF& a, const QPointF& b) { return std::hypot(a.x() - b.x(), a.y() - b.y()) < 1.01; }

// Lines of a colour joining the two points, either way round.
int linesBetween(const test::RecordingDevice& d, const QPointF& a, const QPointF& b, const QColor& colour) {
    int n = 0;
    for (const auto* p : d.of(Primitive::Line))
        if (p->pen.color() == colour &&
            ((near(p->points[0], a) && near(p->points[1], b)) || (near(p->points[0], b) && near(p->points[1], a))))
            ++n;
    return n;
}

TEST(SignMidpoints, AriesFifteenDegreesCounterClockwiseFromTheAscendantAtWholeDegrees) {
    const WheelGeometry g;
    struct Case {
        double asc;
        int sign;
        double angle;  // screen angle of the midpoint
    };
    // The Ascendant and the midpoint are rounded to whole degrees before the angle is taken.
    const Case cases[] = {{0, 1, 195}, {0, 4, 285}, {10.4, 1, 185}, {10.6, 1, 184}, {359.7, 12, 165}};
    for (const Case& k : cases) {
        ChartState c = chartWith({}, k.asc);
        c.HouseCusp[0] = k.asc;
        const auto [y, x] = signMidpoint(g, 1, c, k.sign, g.r6);
        const auto [ey, ex] = wheelPoint(g, 1, g.r6, k.angle);
        EXPECT_NEAR(y, ey, 1e-9) << k.asc << " " << k.sign;
        EXPECT_NEAR(x, ex, 1e-9) << k.asc << " " << k.sign;
    }
    // Aries at Ascendant 0: below the horizontal axis on the left side.
    ChartState c = chartWith({}, 0);
    const auto [y, x] = signMidpoint(g, 1, c, 1, g.r6);
    EXPECT_GT(y, g.cy);
    EXPECT_LT(x, g.cx);
    EXPECT_NEAR(std::atan2(y - g.cy, g.cx - x) * 180 / M_PI, 15, 1e-9);
}

TEST(AntisciaViews, ChordsJoinTheMirroredSignsInTheirPens) {
    const ChartState chart = chartWith({0, 10, 50, 100, 150, 200, 250, 300, 20, 200, 0, 0}, 37.2);
    const WheelGeometry g;
    const double r = g.r6 - 0.8;
    const auto at = [&](int sign) { return device(signMidpoint(g, 1, chart, sign, r)); };
    struct Case {
        int view;
        int antiscia, contrantiscia;  // chords expected of each set
    };
    for (const Case& k : {Case{1, 1, 0}, Case{2, 0, 1}, Case{3, 1, 1}}) {
        const auto rec = record([&](PageCanvas& c) { drawAntisciaView(c, chart, test::setA(), k.view); }, kPpu);
        for (const SignChord& chord : kAntisciaChords)
            EXPECT_EQ(linesBetween(rec->device, at(chord.from), at(chord.to), colour::Cyan), k.antiscia)
                << k.view << ": " << chord.from << "-" << chord.to;
        for (const SignChord& chord : kContrantisciaChords)
            EXPECT_EQ(linesBetween(rec->device, at(chord.from), at(chord.to), colour::Red), k.contrantiscia)
                << k.view << ": " << chord.from << "-" << chord.to;
        EXPECT_EQ(test::textsNamed(*rec, "ANTISCIA & CONTRANTISCIA").size(), 1u);
        EXPECT_EQ(test::textsNamed(*rec, "Antiscia").size(), k.view == 1 ? 1u : 0u);
        EXPECT_EQ(test::textsNamed(*rec, "Contrantiscia").size(), k.view == 2 ? 1u : 0u);
    }
    // View 4: three closed quadrilaterals, each side once.
    const auto rec = record([&](PageCanvas& c) { drawAntisciaView(c, chart, test::setA(), 4); }, kPpu);
    for (const SignQuadrilateral& q : kAntisciaQuadrilaterals)
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(linesBetween(rec->device, at(q.signs[i]), at(q.signs[(i + 1) % 4]), penSpec(q.pen).colour), 1)
                << q.signs[i] << "-" << q.signs[(i + 1) % 4];
}

TEST(AffinityViews, SolidMagneticChordsAndDottedSoliLunarOnes) {
    const ChartState chart = chartWith({0, 10, 50, 100, 150, 200, 250, 300, 20, 200, 0, 0}, 0);
    const WheelGeometry g;
    const double r = g.r6 - 0.8;
    const auto rec = record([&](PageCanvas& c) { drawAffinityView(c, chart, test::setA(), 3); }, kPpu);
    for (const SignChord& chord : kMagneticChords)
        EXPECT_EQ(linesBetween(rec->device, device(signMidpoint(g, 1, chart, chord.from, r)),
                               device(signMidpoint(g, 1, chart, chord.to, r)), penSpec(chord.pen).colour),
                  1)
            << chord.from << "-" << chord.to;

    // Every dot of a soli-lunar chord lies on that chord, and each chord has its dots.
    std::array<int, 6> dots{};
    for (const auto* p : rec->device.of(Primitive::Ellipse)) {
        const QPointF centre = p->rect.center();
        for (std::size_t i = 0; i < kSoliLunarChords.size(); ++i) {
            const SignChord& chord = kSoliLunarChords[i];
            if (p->brush.color() != penSpec(chord.pen).colour) continue;
            const QLineF l(device(signMidpoint(g, 1, chart, chord.from, r)),
                           device(signMidpoint(g, 1, chart, chord.to, r)));
            const QPointF d = l.p2() - l.p1();
            const double t = QPointF::dotProduct(centre - l.p1(), d) / QPointF::dotProduct(d, d);
            const QPointF foot = l.p1() + t * d;
            if (t >= -0.01 && t <= 1.01 && std::hypot(foot.x() - centre.x(), foot.y() - centre.y()) < 1.5) ++dots[i];
        }
    }
    for (std::size_t i = 0; i < dots.size(); ++i) {
        const SignChord& chord = kSoliLunarChords[i];
        const auto [y1, x1] = signMidpoint(g, 1, chart, chord.from, r);
        const auto [y2, x2] = signMidpoint(g, 1, chart, chord.to, r);
        EXPECT_EQ(dots[i], std::lround(1.8 * std::hypot(y2 - y1, x2 - x1) / 3)) << chord.from << "-" << chord.to;
    }
    EXPECT_EQ(test::textsNamed(*rec, "Soli-lunares").size(), 0u);
    const auto view2 = record([&](PageCanvas& c) { drawAffinityView(c, chart, test::setA(), 2); }, kPpu);
    const auto caption = test::textsNamed(*view2, "Soli-lunares");
    ASSERT_EQ(caption.size(), 1u);
    EXPECT_NEAR(test::placeOf(*caption[0], 1 / kPpu).top, 98, 0.15);
    EXPECT_NEAR(test::placeOf(*caption[0], 1 / kPpu).left, 90, 0.15);
}

TEST(SignChordsOnPaper, YellowAndCyanGiveWayToOliveAndBlue) {
    const ChartState chart = chartWith({}, 0);
    const WheelGeometry g;
    for (const bool paper : {false, true}) {
        const auto rec =
            record([&](PageCanvas& c) { drawSignChords(c, chart, g, kMagneticChords, false); }, kPpu, paper);
        std::set<QRgb> colours;
        for (const auto* p : rec->device.of(Primitive::Line)) colours.insert(p->pen.color().rgb());
        const std::set<QRgb> expected =
            paper ? std::set<QRgb>{colour::Olive.rgb(), colour::Red.rgb(), colour::Blue.rgb()}
                  : std::set<QRgb>{colour::Yellow.rgb(), colour::Red.rgb(), colour::Cyan.rgb()};
        EXPECT_EQ(colours, expected) << paper;
    }
}

TEST(PointAntiscia, ChordsToTheMirrorImagesOfTheLongitude) {
    const ChartState chart = chartWith({}, 0);
    const WheelGeometry g;
    const auto rec = record([&](PageCanvas& c) { drawPointAntiscia(c, chart, g, 100); }, kPpu);
    const double r = g.r6 - 0.8;
    const auto at = [&](double lon) { return device(wheelPoint(g, 1, r, screenAngle(lon, 0))); };
    EXPECT_EQ(linesBetween(rec->device, at(100), at(260), colour::Cyan), 1);
    EXPECT_EQ(linesBetween(rec->device, at(100), at(80), colour::Red), 1);
}

TEST(DodecatemoriaView, TheInnerBandAndTheTableShowEveryDodecatemorion) {
    // Sun at 15 degrees: its dodecatemorion is 195 (Libra 15).
    const ChartState chart = chartWith({0, 15, 29.5, 100, 150, 200, 250, 300, 20, 200, 0, 0}, 0);
    const auto rec = record([&](PageCanvas& c) { drawDodecatemoriaView(c, test::kSourceData, chart, test::setA()); });
    EXPECT_EQ(test::textsNamed(*rec, "DODECATEMORIAS").size(), 1u);
    EXPECT_EQ(test::textsNamed(*rec, QString::fromUtf8("(En el círculo interior)")).size(), 1u);
    const auto sectors = computeSectors(chart);
    std::map<QString, std::size_t> rows;  // the nodes share a dodecatemorion
    for (int b = 1; b <= kChartBodies; ++b)
        ++rows[QString::fromStdString(cp1252ToUtf8(positionWithSignName(sectors[b].dodecatemorion.longitude, " ")))];
    for (const auto& [text, n] : rows) EXPECT_EQ(test::textsNamed(*rec, text).size(), n) << text.toStdString();
    EXPECT_EQ(test::textsNamed(*rec, "15°00' Libra ").size(), 1u);
    EXPECT_EQ(test::textsNamed(*rec, "23°30' Aries ").size(), 1u);
}

}  // namespace
}  // namespace athanor
