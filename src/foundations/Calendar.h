#pragma once
// Calendars: civil dates and clock times to and from Julian days, and their texts.
#include "foundations/ChartState.h"

#include <string>

namespace athanor {

struct CivilJulianDay {
    long double jd = 0;
    bool asteroidsValid = false;
};

// Julian day of a local clock instant. calendarFlag 1 = Gregorian, 0 = Julian. The year
// is astronomical (0 = 1 BC). All arguments hold whole numbers except where noted.
CivilJulianDay julianDayFromCivil(int calendarFlag, long double minute, long double hour, long double year,
                                  long double month, long double day);

// The same, setting AsteroidsValid of the chart state as a side effect.
long double julianDay(ChartState& chart, int calendarFlag, long double minute, long double hour, long double year,
                      long double month, long double day);

// Universal-time Julian day of a chart: the local instant plus TimeCorrection hours.
inline long double universalJulianDay(long double localJd, long double timeCorrection) {
    return localJd + timeCorrection / 24.0L;
}

// Whether a civil date exists in a calendar (calendarFlag 1 Gregorian, 0 Julian; year
// astronomical, 0 = 1 BC): month 1 to 12, day 1 to the length of the month, 29 February
// in leap years only - every fourth year in the Julian calendar, so 1700 has one; in the
// Gregorian calendar not the centuries that 400 does not divide. The Gregorian calendar
// has no 5 to 14 October 1582: the reform went from Thursday 4 October (Julian) straight
// to Friday 15 October, and the program's own calendar switch (dateTextAuto) is there.
// Gregorian dates before the reform are kept, proleptic: the look-up reckons places with
// no known reform date in the Gregorian calendar throughout. A Julian date is never
// refused for lying after 1582: countries kept that calendar until 1923.
bool civilDateExists(int year, int month, int day, int calendarFlag);

struct CivilDate {
    long double day = 0, month = 0, year = 0, hour = 0, minute = 0;
};

// Julian days with a calendar date: finite and within about 270,000 years of the epoch.
inline bool hasCivilDate(long double jd) { return jd > -1e8L && jd < 1e8L; }

// Calendar date and clock time (to the minute) of a Julian day; the zero date for a day
// without one.
CivilDate civilFromJulianDay(long double jd, bool gregorian);

// "DD/MM/YYYY hh:mm" of civil fields, each zero-padded (a negative year as "-001").
std::string civilDateText(const CivilDate& date);

// The same of a Julian day; Gregorian after JD 2299160 (automatic) or by the chart's flag.
std::string dateTextAuto(long double jd);
std::string dateTextCalendar(long double jd, int calendarFlag);

struct Weekday {
    int index = 0;     // 0 Sunday .. 6 Saturday
    std::string name;  // Spanish, Windows-1252
};
Weekday dayOfWeek(long double jd);
// "Domingo" .. "Sábado" (Windows-1252) for 0 .. 6; "" for any other index.
const char* weekdayName(int index);
// Also records the name in the chart state for the planetary-hour display.
Weekday dayOfWeek(ChartState& chart, long double jd);

// The part of the clock time below one whole minute, in hours.
long double timeOfDayRemainder(long double jd);

}  // namespace athanor
