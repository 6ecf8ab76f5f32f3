#include "engine/Time.h"

#include <gtest/gtest.h>

#include <limits>

namespace athanor {
namespace {

struct CivilCase {
    int gregorian;
    long double day, month, year, hour, minute;
    long double jd;
};

TEST(JulianDay, FromCivilDates) {
    const CivilCase cases[] = {
        {0, 4, 10, 1582, 24, 0, 2299160.5L},  // last Julian day, at midnight's end
        {1, 15, 10, 1582, 0, 0, 2299160.5L},  // first Gregorian day
        {1, 1, 1, 2000, 12, 0, 2451545.0L},  {1, 1, 1, 1900, 0, 0, 2415020.5L},
        {0, 1, 3, -100, 0, 0, 1684592.5L},  // year whose 365.25 multiple is whole
        {0, 1, 1, -4712, 12, 0, 0.0L},      // origin of the count
        {0, 1, 1, 0, 0, 0, 1721057.5L},     // year 0 = 1 BC
        {0, 1, 1, -1, 0, 0, 1720692.5L},     {1, 21, 3, 1990, 14, 30, 2447972.1041666667L},
    };
    for (const auto& c : cases) {
        const auto r = julianDayFromCivil(c.gregorian, c.minute, c.hour, c.year, c.month, c.day);
        EXPECT_NEAR(static_cast<double>(r.jd), static_cast<double>(c.jd), 1e-8)
            << c.day << "/" << c.month << "/" << c.year << " " << c.hour << ":" << c.minute;
    }
}

TEST(JulianDay, AsteroidRangeIsSetAsSideEffect) {
    ChartState chart;
    EXPECT_EQ(julianDay(chart, 1, 0, 0, 1850, 1, 1), kAsteroidsFirstJd);
    EXPECT_TRUE(chart.AsteroidsValid);
    julianDay(chart, 1, 59, 23, 1849, 12, 31);
    EXPECT_FALSE(chart.AsteroidsValid);
    julianDay(chart, 1, 0, 0, 2080, 12, 31);
    EXPECT_TRUE(chart.AsteroidsValid);
    julianDay(chart, 1, 1, 0, 2080, 12, 31);
    EXPECT_FALSE(chart.AsteroidsValid);
}

TEST(DateText, AutomaticAndChartCalendar) {
    EXPECT_EQ(dateTextAuto(2451545.0L), "01/01/2000 12:00");
    EXPECT_EQ(dateTextAuto(2299160.5L), "15/10/1582 00:00");
    EXPECT_EQ(dateTextAuto(2299160.4L), "04/10/1582 21:36");
    EXPECT_EQ(dateTextCalendar(2299160.5L, 0), "05/10/1582 00:00");
    EXPECT_EQ(dateTextAuto(1684592.5L), "01/03/-100 00:00");
    EXPECT_EQ(dateTextAuto(2415020.5L + 10.0L / 24 + 59.75L / 1440), "01/01/1900 11:00");
}

TEST(DateText, RoundTripsEveryMinuteOfADay) {
    for (int m = 0; m < 1440; m += 7) {
        const auto r = julianDayFromCivil(1, m % 60, m / 60, 1987, 6, 15);
        char expect[32];
        std::snprintf(expect, sizeof expect, "15/06/1987 %02d:%02d", m / 60, m % 60);
        EXPECT_EQ(dateTextAuto(r.jd), expect);
    }
}

TEST(DateText, DaysWithoutADateGiveTheZeroDate) {
    for (long double jd : {1e300L, -1e300L, 1e19L, std::numeric_limits<long double>::quiet_NaN(),
                           std::numeric_limits<long double>::infinity()}) {
        EXPECT_FALSE(hasCivilDate(jd));
        EXPECT_EQ(dateTextAuto(jd), "00/00/0000 00:00") << static_cast<double>(jd);
        EXPECT_EQ(dateTextCalendar(jd, 0), "00/00/0000 00:00");
    }
    EXPECT_TRUE(hasCivilDate(0));
    EXPECT_EQ(dateTextCalendar(0, 0), "01/01/-4712 12:00");
}

TEST(DateText, NeverShowsMinuteSixty) {
    // 10:59:45 rounds its minutes up; the hour must carry.
    const long double jd = julianDayFromCivil(1, 59.75L, 10, 2001, 5, 5).jd;
    EXPECT_EQ(dateTextAuto(jd), "05/05/2001 11:00");
    const long double midnight = julianDayFromCivil(1, 59.9L, 23, 2001, 12, 31).jd;
    EXPECT_EQ(dateTextAuto(midnight), "01/01/2002 00:00");
}

TEST(Weekday, NamesAndIndices) {
    EXPECT_EQ(dayOfWeek(2451545.0L).index, 6);
    EXPECT_EQ(dayOfWeek(2451545.0L).name, "S\xE1"
                                          "bado");
    EXPECT_EQ(dayOfWeek(2451545.5L).name, "Domingo");
    EXPECT_EQ(dayOfWeek(2451547.5L).name, "Martes");
    EXPECT_EQ(dayOfWeek(2451548.5L).name, "Mi\xE9rcoles");
    const int idx = dayOfWeek(-100.5L).index;  // far past: still a day of the week
    EXPECT_GE(idx, 0);
    EXPECT_LE(idx, 6);
    ChartState chart;
    dayOfWeek(chart, 2451545.0L);
    EXPECT_EQ(chart.WeekdayName, "S\xE1"
                                 "bado");
}

TEST(Time, SiderealThetaAndRemainder) {
    // theta at JD 2415020: the constant term.
    EXPECT_NEAR(static_cast<double>(greenwichSiderealTheta(2415020.0L)), 18.6460655, 1e-12);
    // One century later the linear term adds 2400.05126 h = 100 x 24 + 0.05126.
    EXPECT_NEAR(static_cast<double>(greenwichSiderealTheta(2415020.0L + 36525.0L)),
                18.6460655 + 0.05126 + 0.000025805555, 1e-9);
    const long double far = greenwichSiderealTheta(-1e9L);
    EXPECT_GE(far, 0);
    EXPECT_LT(far, 24);
    // 12:34:30 -> 30 seconds below the whole minute.
    const long double jd = 2451545.0L + (34.0L + 30.0L / 60.0L) / 1440.0L;
    EXPECT_NEAR(static_cast<double>(timeOfDayRemainder(jd)), 30.0 / 3600.0, 1e-9);
    EXPECT_NEAR(static_cast<double>(obliquityDegrees(0)), 23.4522944, 1e-12);
}

}  // namespace
}  // namespace athanor
