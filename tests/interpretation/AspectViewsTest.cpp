#include "interpretation/AspectViews.h"

#include <gtest/gtest.h>

namespace athanor {
namespace {

ChartState chartAt(const std::vector<long double>& longitudes) {
    ChartState c;
    for (size_t b = 0; b < longitudes.size(); ++b) c.BodyLongitude[b + 1] = longitudes[b];
    return c;
}

OrbSettings setA() {
    OrbSettings o;
    for (const auto& k : kAspectsByDisplay) o.AspectOrb[k.orbIndex] = k.setA;
    return o;
}

template <class Cell>
const Cell& cell(const std::vector<Cell>& cells, int i, int j) {
    for (const auto& c : cells)
        if (c.first == i && c.second == j) return c;
    throw std::logic_error("no cell");
}

TEST(AspectList, MajorAspectsInPairOrderWithoutExactOppositions) {
    OrbSettings orbs;
    orbs.AspectOrb[aspect::Conjunction] = 6;
    orbs.AspectOrb[aspect::Square] = 6;
    orbs.AspectOrb[aspect::Opposition] = 0.5L;
    // Sun and Moon 10, Mercury 40, Venus 70, Mars 103, Jupiter 160, Saturn 255, nodes
    // 300 and 120, ascendant 220 (exactly opposite Mercury), midheaven 130.
    const auto lines = aspectListLines(chartAt({10, 10, 40, 70, 103, 160, 255, 300, 120, 220, 130}), orbs);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "ASPECTOS PLANETARIOS",
                         "0.00   Sol Conjunci\xF3n Luna",
                         "3.00   Sol Cuadradura Marte",
                         "3.00   Luna Cuadradura Marte",
                         "0.00   Mercurio Cuadradura Medio Cielo",
                         "0.00   Venus Cuadradura J\xFApiter",
                         "5.00   J\xFApiter Cuadradura Saturno",
                         "0.00   Ascendente Cuadradura Medio Cielo",
                         "   ",
                         "M\xE1s el n\xFAmero es peque\xF1o,",
                         "m\xE1s preciso est\xE1 l'Aspecto",
                     }));
}

TEST(AspectList, TheFirstMajorKindWinsAndDeviationsAreCut) {
    OrbSettings orbs = setA();
    orbs.AspectOrb[aspect::Trine] = 30;  // overlaps the square
    const auto lines = aspectListLines(chartAt({0, 100, 172, 172, 172, 172, 172, 172, 172, 172, 172}), orbs);
    // 100 is a trine before it is a square.
    EXPECT_EQ(lines[1], "20.0   Sol Trigono Luna");
    EXPECT_EQ(lines[2], "8.00   Sol oposici\xF3n Mercurio");
}

TEST(EclipticGrid, ClassifiedCellsWithRoundedDeviations) {
    struct Case {
        long double separation;
        int glyph;
        const char* deviation;
    } cases[] = {
        {92.5L, 3, "02"}, {93.5L, 3, "04"}, {172.5L, 5, "08"}, {150.5L, 8, "00"}, {5.5L, 1, "06"},
        {51.4L, 0, ""},   {36.2L, 0, ""},   {100, 0, ""},      {134.5L, 6, "00"}, {144.9L, 11, "01"},
        {145, 0, ""},     {30.9L, 9, "01"}, {72, 10, "00"},
    };
    for (const auto& c : cases) {
        const auto cells = eclipticGrid(chartAt({0, c.separation}), setA());
        ASSERT_EQ(cells.size(), 55u);
        const auto& x = cell(cells, 1, 2);
        EXPECT_EQ(x.kind.has_value(), c.glyph != 0) << c.separation;
        EXPECT_EQ(x.glyphCode, c.glyph) << c.separation;
        EXPECT_EQ(x.deviation, c.deviation) << c.separation;
    }
}

TEST(SphericalGrid, DistancesOnTheSphereAndTheirClasses) {
    ChartState chart = chartAt({10, 10, 200, 200, 103, 200, 200, 200, 200, 200, 200});
    chart.BodyLatitude[2] = 5;  // the Moon 5° north, in ecliptic conjunction with the Sun
    OrbSettings orbs = setA();
    auto cells = sphericalGrid(chart, orbs);
    const auto& sunMars = cell(cells, 1, 5);
    EXPECT_EQ(sunMars.text, "93.00");
    EXPECT_EQ(sunMars.cls, DistanceClass::Hard);
    const auto& sunMoon = cell(cells, 1, 2);
    EXPECT_EQ(sunMoon.distance, 5.0L);
    EXPECT_EQ(sunMoon.text, "5.000");
    EXPECT_EQ(sunMoon.cls, DistanceClass::Conjunction);
    EXPECT_EQ(cell(cells, 3, 4).cls, DistanceClass::Conjunction);  // distance 0
    EXPECT_EQ(cell(cells, 3, 4).text, "0.000");

    orbs.AspectOrb[aspect::Conjunction] = 5;
    EXPECT_EQ(cell(sphericalGrid(chart, orbs), 1, 2).cls, DistanceClass::None);
    // The ecliptic grid still sees an exact conjunction.
    EXPECT_EQ(cell(eclipticGrid(chart, orbs), 1, 2).kind, aspect::Conjunction);
}

TEST(SphericalGrid, DistanceFormula) {
    struct Case {
        long double lat1, lat2, separation, distance;
    } cases[] = {
        {0, 0, 93, 93}, {10, -10, 0, 20}, {0, 0, 180, 180}, {90, 0, 45, 90}, {0, 30, 90, 90}, {20, 20, 180, 140},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(double(sphericalDistance(c.lat1, c.lat2, c.separation)), double(c.distance), 1e-9)
            << c.lat1 << " " << c.lat2 << " " << c.separation;
    const OrbSettings orbs = setA();
    EXPECT_EQ(classifyDistance(121, orbs), DistanceClass::Soft);
    EXPECT_EQ(classifyDistance(62, orbs), DistanceClass::Soft);
    EXPECT_EQ(classifyDistance(175, orbs), DistanceClass::Hard);
    EXPECT_EQ(classifyDistance(150, orbs), DistanceClass::None);
    EXPECT_EQ(distancePen(DistanceClass::Soft), 75);
}

}  // namespace
}  // namespace athanor
