#include "subjects/CoordText.h"

#include <gtest/gtest.h>

namespace athanor {
namespace {

TEST(CoordText, ChecksEachFieldAgainstItsRange) {
    struct Case {
        const char* text;
        bool entry;   // accepted by the entry check
        bool modify;  // accepted by the modify check
    };
    const Case cases[] = {
        {"45N28-009E11", true, true},
        {"00N00-000E00", true, true},
        {"89S59-179W59", true, true},
        {"45N60-009E60", true, false},  // 60 minutes: entry limit 60, modify 59
        {"45N61-009E11", false, false},
        {"90N00-009E11", false, false},
        {"45N28-180E11", false, false},
        {"45X28-009E11", false, false},
        {"45N28-009O11", false, false},  // "O" is for the houses only
        {"4 N28-009E11", false, false},
        {"45N28-009E1", false, false},    // short
        {"45N28-009E111", false, false},  // long
        {"", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseCoordText(c.text, CoordCheck::Entry).has_value(), c.entry) << c.text;
        EXPECT_EQ(parseCoordText(c.text, CoordCheck::Modify).has_value(), c.modify) << c.text;
    }
}

TEST(CoordText, SouthAndWestAre360MinusTheValueForTheComputations) {
    const auto c = parseCoordText("33S52-070W30", CoordCheck::Entry);
    ASSERT_TRUE(c);
    EXPECT_NEAR(static_cast<double>(c->latitude()), -(33 + 52 / 60.0), 1e-12);
    EXPECT_NEAR(static_cast<double>(c->latitudeFor360()), 360 - (33 + 52 / 60.0), 1e-12);
    EXPECT_NEAR(static_cast<double>(c->longitude()), -70.5, 1e-12);
    EXPECT_NEAR(static_cast<double>(c->longitudeFor360()), 289.5, 1e-12);
    EXPECT_EQ(formatCoordText(*c), "33S52-070W30");

    const auto n = parseCoordText("45N28-009E11", CoordCheck::Entry);
    ASSERT_TRUE(n);
    EXPECT_NEAR(static_cast<double>(n->latitudeFor360()), 45 + 28 / 60.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(n->longitudeFor360()), 9 + 11 / 60.0, 1e-12);
}

TEST(CoordText, DecodingAStoredTextNeverFails) {
    const Coordinates c = decodeCoordText("41N54-012O29ROMA");
    EXPECT_EQ(c.latitudeDegrees, 41);
    EXPECT_EQ(c.latitudeMinutes, 54);
    EXPECT_EQ(c.longitudeDegrees, 12);
    EXPECT_EQ(c.longitudeMinutes, 29);
    EXPECT_TRUE(c.west());

    const Coordinates junk = decodeCoordText("ab?");
    EXPECT_EQ(junk.latitudeDegrees, 0);
    EXPECT_EQ(junk.longitudeDegrees, 0);
    EXPECT_EQ(junk.longitudeLetter, ' ');
}

TEST(CoordText, FromSignedDegreesRoundsTheMinutes) {
    EXPECT_EQ(coordTextFromDegrees(41.9, 12.4833333), "41N54-012E29");
    EXPECT_EQ(coordTextFromDegrees(-33.8666667, -151.2), "33S52-151W12");
    EXPECT_EQ(coordTextFromDegrees(0, 0), "00N00-000E00");
    // 45.9999 rounds to 60 minutes, which the entry check admits
    const std::string t = coordTextFromDegrees(45.9999, 9.0);
    EXPECT_EQ(t, "45N60-009E00");
    EXPECT_TRUE(parseCoordText(t, CoordCheck::Entry));
}

}  // namespace
}  // namespace athanor
