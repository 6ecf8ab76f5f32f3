#include "subjects/SubjectSummaries.h"

#include <gtest/gtest.h>

namespace athanor {
namespace {

BodyArray bodies() {
    BodyArray L{};
    const long double v[] = {0.0L, 120.4L, 2.5L, 93.5L, 200.0L, 263.5L, 330.0L, 45.0L, 160.0L, 291.0L, 0.0L, 60.0L};
    for (int b = 1; b <= 12; ++b) L[b] = v[b - 1];
    return L;
}

CuspArray equalCusps(long double first) {
    CuspArray c{};
    for (int k = 0; k < 12; ++k) c[k] = normalize360(first + 30.0L * k);
    return c;
}

TEST(Summaries, PlanetGroupsGiveHouseBodySignAndTruncatedDegree) {
    EXPECT_EQ(planetSummary(bodies(), equalCusps(-0.5L)), "01eA00"
                                                          "05lL00"
                                                          "01mA02"
                                                          "04vN03"
                                                          "07aB20"
                                                          "09gR23"
                                                          "12sP00"
                                                          "02uT15"
                                                          "06nV10"
                                                          "10pC21"
                                                          "01dA00"
                                                          "03hG00");
    // Houses from 15 degrees: a body on a cusp belongs to the house that begins there.
    EXPECT_EQ(planetSummary(bodies(), equalCusps(15)), "12eA00"
                                                       "04lL00"
                                                       "12mA02"
                                                       "03vN03"
                                                       "07aB20"
                                                       "09gR23"
                                                       "11sP00"
                                                       "02uT15"
                                                       "05nV10"
                                                       "10pC21"
                                                       "12dA00"
                                                       "02hG00");
    BodyArray late = bodies();
    late[1] = 29.9999L;  // truncated, never rounded into the next degree or sign
    EXPECT_EQ(planetSummary(late, equalCusps(-0.5L)).substr(0, 6), "02eA29");
}

TEST(Summaries, CuspGroupsRoundTheDegreeLikeTheShortPosition) {
    CuspArray c{};
    const long double v[] = {10 + 59 / 60.0L + 24 / 3600.0L,
                             40 + 59 / 60.0L + 45 / 3600.0L,
                             89 + 59 / 60.0L + 45 / 3600.0L,
                             90,
                             150.25L,
                             200,
                             210.99L,
                             250,
                             300,
                             330,
                             359.9999L,
                             0};
    for (int k = 0; k < 12; ++k) c[k] = v[k];
    EXPECT_EQ(cuspSummary(c), "01A10"
                              "02T11"
                              "03G29"
                              "04N00"
                              "05V00"
                              "06B20"
                              "07S00"
                              "08R10"
                              "09Q00"
                              "10P00"
                              "11P29"
                              "12A00");
}

TEST(Summaries, AspectGroupsFollowTheLoopsAndRoundOrbsToEven) {
    CuspArray c = equalCusps(0);
    c[0] = 140;  // ascendant, body 13
    c[9] = 230;  // midheaven, body 14
    // Node (0, on the Sun) and Black Moon (60, sextile the Sun) take no part.
    EXPECT_EQ(aspectSummary(bodies(), c), "eZl0"
                                          "eKm2"
                                          "eWv4"
                                          "lZm2"
                                          "mWv1"
                                          "vZs4"
                                          "aJg4"
                                          "aWp1"
                                          "aJx0"
                                          "gZx4"
                                          "uZn5"
                                          "uZp6"
                                          "uWx5"
                                          "uOy5"
                                          "pJy1");

    // Every body on one degree: 65 conjunctions, cut at 124 characters.
    BodyArray same{};
    for (int b = 1; b <= 12; ++b) same[b] = 100;
    CuspArray sc{};
    sc[0] = sc[9] = 100;
    const std::string all = aspectSummary(same, sc);
    EXPECT_EQ(all.size(), 124u);
    EXPECT_EQ(all.substr(0, 12), "eKl0eKm0eKv0");

    // The limits: 171 is no opposition, 9 no conjunction, 112 and 128 no trine.
    BodyArray edge{};
    for (int b = 1; b <= 12; ++b) edge[b] = 20.0L * b + 1000;  // placed below, none of them near
    const long double far[] = {0, 171, 9, 112, 128, 242, 275, 310, 330, 205};
    for (int b = 1; b <= 10; ++b) edge[b] = far[b - 1];
    CuspArray ec{};
    ec[0] = 185;
    ec[9] = 350;
    const std::string s = aspectSummary(edge, ec);
    EXPECT_EQ(s.find("eOl"), std::string::npos);
    EXPECT_EQ(s.find("eKm"), std::string::npos);
    EXPECT_EQ(s.find("eZv"), std::string::npos);
    EXPECT_EQ(s.find("eZa"), std::string::npos);
}

}  // namespace
}  // namespace athanor
