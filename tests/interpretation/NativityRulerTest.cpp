#include "interpretation/NativityRuler.h"

#include <gtest/gtest.h>

#include <limits>

namespace athanor {
namespace {

CuspArray cuspsFrom(std::initializer_list<long double> c) {
    CuspArray out{};
    int i = 0;
    for (long double v : c) out[i++] = v;
    return out;
}

CuspArray equalCusps(long double first) {
    CuspArray out{};
    for (int k = 0; k < 12; ++k) out[k] = normalize360(first + 30.0L * k);
    return out;
}

// Bodies 1..10 at the given longitudes, each moving `speed` degrees a day.
NativityPositions positions(const std::array<long double, 11>& lon, long double speed, long double asc, long double mc,
                            const CuspArray& cusps) {
    NativityPositions p;
    for (int b = 1; b <= 10; ++b) {
        p.longitude[b] = lon[b];
        p.later[b] = normalize360(lon[b] + speed / 12.0L);
    }
    p.longitude[11] = asc;
    p.longitude[12] = mc;
    p.cusps = cusps;
    return p;
}

TEST(NativityRuler, TheAscendantNearTheEndOfItsSignAddsTheNextRow) {
    const std::array<long double, 11> lon{0, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100};
    struct Case {
        long double asc;
        int sun, moon, pluto;
    } cases[] = {
        {28.5L, 8 + 0, 0 + 9, -1 + 2},  // Aries and Taurus
        {27.0L, 8, 0, -1},              // exactly 3° from the end: Aries only
        {358.5L, 0 + 8, 3 + 0, 1 - 1},  // Pisces, then Aries again
    };
    for (const auto& c : cases) {
        const auto s = scoreNativity(positions(lon, 1, c.asc, 270, equalCusps(c.asc)));
        EXPECT_EQ(s.rows[0][1], c.sun) << c.asc;
        EXPECT_EQ(s.rows[0][2], c.moon) << c.asc;
        EXPECT_EQ(s.rows[0][10], c.pluto) << c.asc;
    }
}

TEST(NativityRuler, TraditionalZonesAreOpenIntervals) {
    struct Case {
        int body;
        long double lon;
        int value;
    } cases[] = {
        {1, 12.85L, 5},   {1, 12.8572L, 0}, {1, 0, 0},        {1, 95, 5},       {1, 275, 5},
        {2, 25.7145L, 0}, {5, 25.7146L, 0}, {5, 25.7148L, 5}, {3, 38.5717L, 0}, {3, 40, 5},
        {7, 89.99L, 5},   {7, 90, 0},       {6, 150, 5},      {4, 340, 5},      {8, 5, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(rulerZoneValue(c.body, c.lon), c.value) << c.body << " at " << c.lon;
}

TEST(NativityRuler, SpeedBounds) {
    struct Case {
        int body;
        long double speed;
        int value;
    } cases[] = {
        {3, 0.8333L, 3}, {3, 0.8332L, 1}, {3, 1.6667L, 3}, {3, 1.7L, 5}, {3, -0.4167L, -3}, {3, -0.4L, -1},
        {3, -0.9L, -5},  {1, 0.95L, 1},   {1, 1.01L, 5},   {2, 13, 3},   {10, -0.01L, -5},  {8, 0, 1},
    };
    for (const auto& c : cases) EXPECT_EQ(rulerSpeedValue(c.body, c.speed), c.value) << c.body << " " << c.speed;
}

TEST(NativityRuler, SpeedsAreTakenAcrossTheZeroPoint) {
    std::array<long double, 11> lon{0, 359.9L, 359.9L, 0.1L, 100, 100, 100, 100, 100, 100, 100};
    NativityPositions p = positions(lon, 0.05L, 15, 270, equalCusps(15));
    p.later[1] = 0.0L;     // +0.1 in two hours: 1.2° a day
    p.later[2] = 0.9L;     // +1.0: 12° a day, a slow Moon
    p.later[3] = 359.95L;  // -0.15: retrograde at 1.8° a day
    const auto s = scoreNativity(p);
    EXPECT_NEAR(double(s.speed[1]), 1.2, 1e-9);
    EXPECT_NEAR(double(s.speed[3]), -1.8, 1e-9);
    EXPECT_EQ(s.rows[6][1], 5);
    EXPECT_EQ(s.rows[6][2], 1);
    EXPECT_EQ(s.rows[6][3], -5);
}

TEST(NativityRuler, HousesTakeABodyOnACuspIntoTheEarlierHouse) {
    const CuspArray placidus = cuspsFrom({15, 40, 70, 100, 135, 170, 195, 220, 250, 280, 315, 350});
    struct Case {
        long double lon;
        int house;
    } cases[] = {{15, 1}, {40, 1}, {40.01L, 2}, {100, 3}, {349.9L, 11}, {350, 11}, {5, 12}, {14.99L, 12}};
    for (const auto& c : cases) EXPECT_EQ(rulerHouseOf(c.lon, placidus), c.house) << c.lon;
}

TEST(NativityRuler, HousePartsByRoundedDistance) {
    // First: house 1 from 0 to 29.6 (four parts of 7.4). Second: house 12 from 330 to
    // 359.6 (six parts of 4.93).
    CuspArray first = equalCusps(29.6L - 30.0L);
    first[0] = 0;
    CuspArray second = equalCusps(359.6L);
    second[11] = 330;
    struct Case {
        const CuspArray& cusps;
        long double lon;
        int value;
    } cases[] = {
        {first, 7.4L, 11},     {first, 7.6L, 10},  // d = 7 and 8 against parts of 7.4
        {first, 22.3L, 9},     {first, 22.6L, 8},
        {first, 29.55L, 7},  // rounds to 30, beyond the fourth part: reads on to entry 5
        {second, 330.2L, 4},   {second, 345, 4},
        {second, 359.55L, 11},  // past house 12's sixth part: on from the first entry
    };
    for (const auto& c : cases) {
        std::array<long double, 11> lon{};
        for (int b = 1; b <= 10; ++b) lon[b] = 100;
        lon[1] = c.lon;
        const auto s = scoreNativity(positions(lon, 1, c.cusps[0], 270, c.cusps));
        EXPECT_EQ(s.rows[3][1], c.value) << c.lon;
    }
}

// A damaged record can hand on any number: the score still ends, with a value of the table.
TEST(NativityRuler, LongitudesOffTheCircleStillScore) {
    const CuspArray cusps = equalCusps(10);
    for (long double lon : {1e300L, -1e20L, 4e17L, std::numeric_limits<long double>::quiet_NaN(),
                            std::numeric_limits<long double>::infinity()}) {
        std::array<long double, 11> longitudes{};
        for (int b = 1; b <= 10; ++b) longitudes[b] = 100;
        longitudes[1] = lon;
        const auto s = scoreNativity(positions(longitudes, 1, cusps[0], 270, cusps));
        EXPECT_GE(s.rows[3][1], 0) << static_cast<double>(lon);
        EXPECT_LE(s.rows[3][1], 12) << static_cast<double>(lon);
    }
}

TEST(NativityRuler, ReportListsTheHouseRowInHouseOrder) {
    // Moon in house 1 is listed before the Sun in house 2.
    std::array<long double, 11> lon{0, 40, 5, 100, 100, 100, 100, 100, 100, 100, 100};
    const auto s = scoreNativity(positions(lon, 1, 0, 270, equalCusps(0)));
    ASSERT_EQ(s.houseRowInHouseOrder.size(), 10u);
    EXPECT_EQ(s.house[1], 2);
    EXPECT_EQ(s.house[2], 1);
    EXPECT_EQ(s.houseRowInHouseOrder[0], s.rows[3][2]);
    EXPECT_EQ(s.houseRowInHouseOrder[1], s.rows[3][1]);
    const auto report = nativityReportLines("ROSSI MARIO", "Nascita a MILANO", s);
    ASSERT_EQ(report.size(), 4u + 7 * 11 + 11 + 4);
    EXPECT_EQ(report[0], "*MaitreTarquell*ROSSI MARIO");
    EXPECT_EQ(report[3], "SOL  LUN  MER  VEN  MAR  GIO  SAT  URA  NET  PLU");
    EXPECT_EQ(report[4], "AFFINITA' CON SEGNO ASCEND ");
    EXPECT_EQ(report[4 + 3 * 11], "VALORE PIANETI NELLE CASE");
    EXPECT_EQ(report[4 + 3 * 11 + 1], std::to_string(s.rows[3][2]));
    EXPECT_EQ(report[81], "TOTALE");
    EXPECT_EQ(report[82], std::to_string(s.totals[1]));
}

TEST(NativityRuler, TotalsAndTheResultFile) {
    std::array<long double, 11> lon{0, 10, 33, 62, 95, 130, 170, 200, 230, 265, 300};
    const auto s = scoreNativity(positions(lon, 0.5L, 20, 290, equalCusps(20)));
    for (int b = 1; b <= 10; ++b) {
        int sum = 0;
        for (const auto& row : s.rows) sum += row[b];
        EXPECT_EQ(s.totals[b], sum) << b;
    }
    // The Sun in Aries: sign 8, zone 5, sex +3; in house 12 of equal houses from 20°.
    EXPECT_EQ(s.rows[1][1], 8);
    EXPECT_EQ(s.rows[2][1], 5);
    EXPECT_EQ(s.rows[5][1], 3);
    EXPECT_EQ(s.rows[4][1], 0);
    EXPECT_EQ(s.rows[5][7], 0);  // Saturn in Virgo
    const auto result = nativityResultLines(s);
    ASSERT_EQ(result.size(), 18u);
    EXPECT_EQ(result[0], std::to_string(s.totals[1]));
    EXPECT_EQ(result[10].size(), 3u);
    std::array<int, 13> signs = s.sign;
    std::array<int, 13> totals{};
    for (int b = 1; b <= 7; ++b) totals[b] = s.totals[b];
    EXPECT_EQ(s.elementsTraditional, elementValues(signs, totals));
}

TEST(NativityRuler, ElementValues) {
    struct Case {
        std::array<int, 13> signs, totals;
        std::array<int, 4> elements;
    } cases[] = {
        // Sun 50 in Aries, Moon 25 in Taurus: empty signs count 1.
        {{0, 1, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, {0, 50, 25}, {52, 27, 3, 3}},
        // A negative sum counts 1 as well.
        {{0, 1, 2, 4, 1, 1, 1, 1, 1, 1, 1, 1, 1}, {0, 10, 10, -7}, {52, 52, 3, 3}},
        // No positive sum: nothing to scale by, every sign counts 1.
        {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, {0, -1, -2, 0, -4}, {3, 3, 3, 3}},
        // Halves go to the even number: 12.5 + 1 + 1 gives 14, 6.25 + 6.25 + 1 too.
        {{0, 1, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, {0, 1, 4}, {14, 52, 3, 3}},
        {{0, 1, 2, 5, 1, 1, 1, 1, 1, 1, 1, 1, 1}, {0, 1, 8, 1}, {14, 52, 3, 3}},
    };
    for (const auto& c : cases) EXPECT_EQ(elementValues(c.signs, c.totals), c.elements);
}

TEST(NativityRuler, DescriptionLine) {
    ChartHandOff h;
    h.birthStamp = "198003101430-1,5";
    h.placeText = "45N28-009E11MILANO (MI)      ";
    EXPECT_EQ(nativityDescription(h), "Nascita a MILANO (MI) il 10/03/1980 14:30  GMT-1,5");
}

}  // namespace
}  // namespace athanor
