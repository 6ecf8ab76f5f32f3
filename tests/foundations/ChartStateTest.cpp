#include "foundations/ChartState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace athanor {
namespace {

CuspArray equalCusps(long double first) {
    CuspArray c{};
    for (int i = 0; i < 12; ++i) c[i] = normalize360(first + 30.0L * i);
    return c;
}

// The engine's own truncation must be the library's, bit for bit, sign of zero included.
TEST(ChartState, IntTruncatesExactlyAsTheLibraryDoes) {
    const long double big = 9223372036854775808.0L;
    std::vector<long double> values = {0.0L,
                                       -0.0L,
                                       0.5L,
                                       -0.5L,
                                       0.49999999999999999999L,
                                       1.0L,
                                       -1.0L,
                                       1.5L,
                                       -1.5L,
                                       2.5L,
                                       -2.5L,
                                       2299160.5L,
                                       -4712.75L,
                                       1e18L + 0.5L,
                                       big - 1,
                                       -(big - 1),
                                       big,
                                       -big,
                                       big * 4 + 2,
                                       1e300L,
                                       std::numeric_limits<long double>::denorm_min(),
                                       -std::numeric_limits<long double>::denorm_min(),
                                       std::numeric_limits<long double>::infinity(),
                                       -std::numeric_limits<long double>::infinity()};
    std::mt19937_64 random(20261211);
    std::uniform_real_distribution<double> wide(-5e6, 5e6);
    for (int i = 0; i < 20000; ++i) values.push_back(static_cast<long double>(wide(random)) / 7.0L);
    for (const long double x : values) {
        const long double expected = std::trunc(x);
        const long double got = Int(x);
        EXPECT_TRUE(got == expected && std::signbit(got) == std::signbit(expected)) << static_cast<double>(x);
        if (std::isfinite(x)) {
            EXPECT_EQ(Frac(x), x - expected);
        }
    }
    EXPECT_TRUE(std::isnan(Int(std::numeric_limits<long double>::quiet_NaN())));
}

TEST(ChartState, SignOfALongitude) {
    struct Case {
        long double L;
        int sign;
    };
    const Case cases[] = {
        {0.0L, 1},
        {29.9999L, 1},
        {30.0L, 2},
        {180.0L, 7},
        {359.99L, 12},
        {359.9999999999L, 12},
        // off the circle, as damaged data can give: still one of the twelve
        {360.0L, 1},
        {690.0L, 12},
        {-40.0L, 11},
        {29999.0L, 4},
        {1e300L, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(signOf(c.L), c.sign) << static_cast<double>(c.L);
}

TEST(ChartState, NormalisationUsesTruncationPlusAWrap) {
    struct Case {
        long double x, to360, to30;
    };
    const Case cases[] = {
        {-10.0L, 350.0L, 20.0L}, {360.0L, 0.0L, 0.0L},     {725.0L, 5.0L, 5.0L},
        {-360.0L, 0.0L, 0.0L},   {-720.5L, 359.5L, 29.5L}, {0.0L, 0.0L, 0.0L},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(normalize360(c.x), c.to360) << static_cast<double>(c.x);
        EXPECT_EQ(reduce30(c.x), c.to30) << static_cast<double>(c.x);
    }
}

TEST(ChartState, HouseOfABodyBelongsToTheHouseThatBeginsOnItsCusp) {
    const CuspArray fromAries = equalCusps(0);
    const CuspArray from350 = equalCusps(350);
    const CuspArray unequal = {100, 125, 155, 190, 225, 255, 280, 305, 335, 10, 45, 75, 0, 0, 0};
    struct Case {
        const CuspArray* cusps;
        long double L;
        int house;
    };
    const Case cases[] = {
        {&fromAries, 90.0L, 4},
        {&fromAries, 89.999L, 3},
        {&fromAries, 0.001L, 1},
        {&fromAries, 359.9L, 12},
        {&from350, 5.0L, 1},
        {&from350, 350.5L, 1},
        {&from350, 349.99L, 12},
        {&from350, 20.0L, 2},
        {&from350, 19.999L, 1},
        {&unequal, 0.0L, 9},
        {&unequal, 10.0L, 10},
        {&unequal, 99.9L, 12},
        {&unequal, 100.5L, 1},
        {&unequal, 190.0L, 4},
        {&unequal, 334.0L, 8},
        // Exactly on cusp 1: house 1, like every other cusp, not the end of house 12.
        {&fromAries, 0.0L, 1},
        {&from350, 350.0L, 1},
        {&unequal, 100.0L, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(houseOf(c.L, *c.cusps), c.house) << static_cast<double>(c.L);

    // Degenerate cusps still give a house number.
    const CuspArray zero{};
    for (long double L : {0.0L, 5.0L, 359.0L}) {
        const int h = houseOf(L, zero);
        EXPECT_GE(h, 1);
        EXPECT_LE(h, 12);
    }
}

TEST(ChartState, MeanHousesBeginFifteenDegreesBeforeTheirCusp) {
    // Equal cusps from 24.84: cusp 5 at 24.84, cusp 6 at 54.84.
    CuspArray cusps{};
    for (int k = 0; k < 12; ++k) cusps[k] = normalize360(264.84L + 30.0L * k);
    struct Case {
        long double L;
        const char* system;
        int house;
    };
    const Case cases[] = {
        {53.92L, "CASE_MEDIE", 6},   {53.92L, "CASE_UGUALI", 5},   {53.92L, "PLACIDO", 5},
        {39.845L, "CASE_MEDIE", 6},  {39.835L, "CASE_MEDIE", 5},   {69.835L, "CASE_MEDIE", 6},
        {249.845L, "CASE_MEDIE", 1}, {249.835L, "CASE_MEDIE", 12}, {350.0L, "CASE_MEDIE", 4},
        {359.99L, "CASE_MEDIE", 4},  {0.0L, "CASE_MEDIE", 4},      {9.845L, "CASE_MEDIE", 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(bodyHouse(c.L, cusps, c.system), c.house) << static_cast<double>(c.L) << " " << c.system;

    // The derived table follows the chart's own system.
    ChartState s;
    s.HouseCusp = cusps;
    s.BodyLongitude[body::Sun] = 53.92L;
    s.HouseSystem = "CASE_MEDIE";
    deriveTables(s);
    EXPECT_EQ(s.BodyHouse[body::Sun], 6);
    s.HouseSystem = "CASE_UGUALI";
    deriveTables(s);
    EXPECT_EQ(s.BodyHouse[body::Sun], 5);
}

TEST(ChartState, DerivedTablesAndPositionSaving) {
    ChartState s;
    s.HouseCusp = equalCusps(350);
    s.BodyLongitude[body::Sun] = 95.0L;
    s.BodyLongitude[body::Moon] = 5.0L;
    s.BodyLongitude[body::Ascendant] = 350.0L;
    deriveTables(s);
    EXPECT_EQ(s.BodySign[body::Sun], 4);
    EXPECT_EQ(s.BodyHouse[body::Sun], 4);
    EXPECT_EQ(s.BodySign[body::Moon], 1);
    EXPECT_EQ(s.BodyHouse[body::Moon], 1);
    EXPECT_EQ(s.BodySign[body::Ascendant], 12);
    EXPECT_EQ(s.BodyHouse[body::Ascendant], 1);
    EXPECT_EQ(s.CuspSign[1], 12);
    EXPECT_EQ(s.CuspSign[2], 1);
    EXPECT_EQ(s.CuspSign[12], 11);

    s.MidheavenRadians = 1.25L;
    const SavedPositions saved = savePositions(s);
    s.BodyLongitude[body::Sun] = 200;
    s.HouseCusp[0] = 1;
    s.MidheavenRadians = 0;
    restorePositions(s, saved);
    EXPECT_EQ(s.BodyLongitude[body::Sun], 95.0L);
    EXPECT_EQ(s.HouseCusp[0], 350.0L);
    EXPECT_EQ(s.MidheavenRadians, 1.25L);
}

}  // namespace
}  // namespace athanor
