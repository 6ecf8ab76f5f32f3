#include "interpretation/Weaves.h"

#include <gtest/gtest.h>

namespace athanor {
namespace {

ChartState chartWith(std::initializer_list<long double> longitudes) {
    ChartState c;
    int i = 1;
    for (long double l : longitudes) c.BodyLongitude[i++] = l;
    // Nodes and angles never count.
    c.BodyLongitude[8] = 200;
    c.BodyLongitude[10] = 310;
    c.BodyLongitude[11] = 220;
    return c;
}

TEST(Weaves, SevenPlanetsInAries) {
    const Weaves w = countWeaves(chartWith({1, 2, 3, 4, 5, 6, 29.9L}));
    WeaveCounts elemental{};
    elemental[element::Fire][principle::Salt] = 7;
    EXPECT_EQ(w.elemental, elemental);
    EXPECT_EQ(rowTotal(w.elemental, element::Fire), 7);
    EXPECT_EQ(columnTotal(w.elemental, principle::Salt), 7);
    EXPECT_EQ(rowTotal(w.elemental, element::Water), 0);
    WeaveCounts seasonal{};
    seasonal[season::Spring][quality::Cardinal] = 7;
    EXPECT_EQ(w.seasonal, seasonal);
    const Humors& h = w.humoralElemental;
    EXPECT_EQ((std::array<int, 8>{h.air, h.fire, h.earth, h.water, h.hot, h.moist, h.cold, h.dry}),
              (std::array<int, 8>{0, 7, 0, 0, 7, 0, 0, 7}));
    const Humors& s = w.humoralSeasonal;  // spring counts as air
    EXPECT_EQ((std::array<int, 8>{s.air, s.fire, s.earth, s.water, s.hot, s.moist, s.cold, s.dry}),
              (std::array<int, 8>{7, 0, 0, 0, 7, 7, 0, 0}));
}

TEST(Weaves, SignBoundariesAndTheSeasonalHumors) {
    // Cancer (90° exactly), Leo and Virgo: three elements, one season.
    const Weaves w = countWeaves(chartWith({90, 120, 150, 179.9L, 125, 95, 160}));
    EXPECT_EQ(w.elemental[element::Water][principle::Salt], 2);
    EXPECT_EQ(w.elemental[element::Fire][principle::Sulphur], 2);
    EXPECT_EQ(w.elemental[element::Earth][principle::Sulphur], 3);
    EXPECT_EQ(w.seasonal[season::Summer][quality::Cardinal], 2);
    EXPECT_EQ(w.seasonal[season::Summer][quality::Fixed], 2);
    EXPECT_EQ(w.seasonal[season::Summer][quality::Mutable], 3);
    EXPECT_EQ(w.humoralSeasonal.fire, 7);
    EXPECT_EQ(w.humoralSeasonal.hot, 7);
    EXPECT_EQ(w.humoralSeasonal.dry, 7);
    EXPECT_EQ(w.humoralElemental.water, 2);
    EXPECT_EQ(w.humoralElemental.earth, 3);
    EXPECT_EQ(w.humoralElemental.cold, 5);
    EXPECT_EQ(w.humoralElemental.moist, 2);
}

TEST(Weaves, EverySignLandsInItsCells) {
    // All seven planets in one sign at a time: the sign's cells take every count.
    struct Case {
        long double lon;
        int element, principle, season, quality;
    } cases[] = {
        {15, element::Fire, principle::Salt, season::Spring, quality::Cardinal},
        {45, element::Earth, principle::Salt, season::Spring, quality::Fixed},
        {75, element::Air, principle::Salt, season::Spring, quality::Mutable},
        {195, element::Air, principle::Sulphur, season::Autumn, quality::Cardinal},
        {225, element::Water, principle::Sulphur, season::Autumn, quality::Fixed},
        {255, element::Fire, principle::Mercury, season::Autumn, quality::Mutable},
        {285, element::Earth, principle::Mercury, season::Winter, quality::Cardinal},
        {315, element::Air, principle::Mercury, season::Winter, quality::Fixed},
        {345, element::Water, principle::Mercury, season::Winter, quality::Mutable},
    };
    for (const auto& c : cases) {
        const Weaves w = countWeaves(chartWith({c.lon, c.lon, c.lon, c.lon, c.lon, c.lon, c.lon}));
        EXPECT_EQ(w.elemental[c.element][c.principle], 7) << c.lon;
        EXPECT_EQ(w.seasonal[c.season][c.quality], 7) << c.lon;
    }
    EXPECT_STREQ(signClass(8).elementalCell, "WZ");
    EXPECT_STREQ(signClass(10).seasonalCell, "CW");
}

}  // namespace
}  // namespace athanor
