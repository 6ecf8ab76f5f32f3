#include "foundations/Calendar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

namespace athanor {
namespace {

TEST(CivilDateExists, RefusesDatesTheCalendarDoesNotHave) {
    constexpr int G = 1, J = 0;
    struct Case {
        int day, month, year, calendar;
        bool exists;
    };
    const Case cases[] = {
        {31, 2, 1990, G, false},
        {30, 2, 1990, G, false},
        {28, 2, 1990, G, true},
        {29, 2, 1990, G, false},
        {29, 2, 1992, G, true},
        {29, 2, 1990, J, false},
        {0, 5, 1973, G, false},
        {14, 0, 1973, G, false},
        {14, 13, 1973, G, false},
        {32, 1, 1973, G, false},
        {31, 4, 1973, G, false},
        {30, 4, 1973, G, true},
        {31, 12, 1973, G, true},
        {-1, 5, 1973, G, false},
        // Centuries: leap in the Julian calendar, only when 400 divides them in the Gregorian.
        {29, 2, 1700, J, true},
        {29, 2, 1700, G, false},
        {29, 2, 1900, G, false},
        {29, 2, 2000, G, true},
        {29, 2, 1600, G, true},
        {29, 2, 1500, J, true},
        {29, 2, 1500, G, false},
        // Astronomical years: year 0 (1 BC) and -4 are leap years.
        {29, 2, 0, J, true},
        {29, 2, -4, J, true},
        {29, 2, -1, J, false},
        {29, 2, 0, G, true},
        // The reform went from 4 to 15 October 1582; the Julian dates between existed elsewhere.
        {4, 10, 1582, G, true},
        {5, 10, 1582, G, false},
        {10, 10, 1582, G, false},
        {14, 10, 1582, G, false},
        {15, 10, 1582, G, true},
        {10, 10, 1582, J, true},
        {10, 10, 1583, G, true},
        {10, 9, 1582, G, true},
        {2, 9, 1752, J, true},
        {10, 9, 1752, G, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(civilDateExists(c.year, c.month, c.day, c.calendar), c.exists)
            << c.day << "/" << c.month << "/" << c.year << (c.calendar == G ? " Gregorian" : " Julian");
}

}  // namespace
}  // namespace athanor

namespace athanor {
namespace {

// The date texts are built digit by digit; they must read exactly as the formatted ones the
// program always printed, negative years and all.
TEST(DateText, ReadsAsTheFormattedTextOverRandomDates) {
    auto reference = [](const CivilDate& c) {
        auto pad = [](long double v, int width) {
            char buf[48];
            const long long n = static_cast<long long>(v);
            if (n < 0) std::snprintf(buf, sizeof buf, "-%0*lld", width - 1 > 0 ? width - 1 : 1, -n);
            else std::snprintf(buf, sizeof buf, "%0*lld", width, n);
            return std::string(buf);
        };
        return pad(c.day, 2) + "/" + pad(c.month, 2) + "/" + pad(c.year, 4) + " " + pad(c.hour, 2) + ":" +
               pad(c.minute, 2);
    };
    std::mt19937_64 random(1973);
    std::uniform_real_distribution<double> days(-1.0e6, 6.0e6);  // 7450 BC to AD 11700
    for (int i = 0; i < 200000; ++i) {
        const long double jd = static_cast<long double>(days(random));
        const CivilDate c = civilFromJulianDay(jd, i % 2 == 0);
        ASSERT_EQ(civilDateText(c), reference(c)) << static_cast<double>(jd);
        ASSERT_EQ(dateTextAuto(jd), reference(civilFromJulianDay(jd, std::trunc(jd + 0.5L) > 2299160)))
            << static_cast<double>(jd);
    }
    EXPECT_EQ(civilDateText(CivilDate{5, 3, -44, 9, 7}), "05/03/-044 09:07");
    EXPECT_EQ(civilDateText(CivilDate{}), "00/00/0000 00:00");
}

}  // namespace
}  // namespace athanor
