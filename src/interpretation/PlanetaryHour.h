#pragma once
#include "engine/CorrectionFiles.h"
#include "foundations/ChartState.h"
#include "foundations/DataRoot.h"

#include <array>
#include <string>
#include <vector>

namespace athanor {

inline constexpr const char* kYearMastersFile = "Appoggio\\GoverAnno.txt";
inline constexpr int kYearTableFirst = 1765;
inline constexpr int kYearTableLast = 2016;
inline constexpr int kMasterCycle = 252;  // seven cycles of 36 years

// Display names of planets 1..7 ("el Sol", "la Luna", ... "Saturno"); index 0 is
// "Saturno" as well.
const char* planetDisplayName(int planet);

// Ruler (planet 1..7) of hour 1..24 of a planetary day whose weekday is 0 (Sunday) .. 6:
// the Chaldean sequence from the Sun, started at the day ruler.
int hourRuler(int weekday, int hour);

// The hour 1..24 whose arc of the 26 semi-arc points (1 the ascendant, 7 the midheaven,
// 13 the descendant, 19 the lower meridian, 25 the ascendant again, in decreasing
// longitude) holds the Sun; the Sun on a point starts the hour that begins there.
int hourOfSun(long double sunLongitude, const std::array<long double, 26>& points);

struct PlanetaryHour {
    std::string sunrise;  // "HH:MM", local clock time
    int weekday = 0;      // of the planetary day
    std::string weekdayName;
    int hour = 1;  // 1..24
    bool diurnal = true;
    int shownHour = 1;  // 1..12
    int ruler = 1;      // planet 1..7
};

// The planetary hour from the sunrise found for the birth date (a local clock Julian
// day), the birth's local clock Julian day, the Sun's longitude and the hour points. A
// birth before sunrise belongs to the previous weekday.
PlanetaryHour planetaryHour(long double sunriseJd, long double birthLocalJd, int calendarFlag, long double sunLongitude,
                            const std::array<long double, 26>& points);

// Runs the sunrise search and the semi-arc hour points for the current chart (the chart
// state is left as it was, apart from LocalSiderealTime).
PlanetaryHour computePlanetaryHour(ChartState& chart, const CorrectionFiles& files);

enum class TextColour { Yellow, Cyan, White };

struct DisplayLine {
    std::string text;
    TextColour colour;
    bool newGroup = false;  // drawn a group's distance below the previous line
};

// The lines of the first "Maestros" view: sunrise, weekday, the hour and its ruler, then
// the ascendant's and the midheaven's signs and rulers.
std::vector<DisplayLine> mastersOfBirthLines(const PlanetaryHour& h, const ChartState& chart);

// The astrological year of a birth: the year before when the natal Sun lies beyond the
// Sun's longitude at the end of the civil year (a birth before the vernal equinox).
int astrologicalYear(int birthYear, long double natalSun, long double sunAtYearEnd);

// The year of the table that rules a year: the same year of the 252-year scheme within
// 1765..2016. Years before 1 and after 2268 are brought in by as many whole cycles as
// they need, as the years in between are by one.
int masterTableYear(int year);

struct YearMasters {
    int tableYear = 0;
    int yearMaster = 0;  // planet 0..7 as the table gives it
    int cycleMaster = 0;
    std::string yearName, cycleName;
};

// Looks the year up in the year table: the first line starting with the four-digit year,
// or the last line when none does. FileError for a missing or empty file, or a line
// whose planet numbers do not read.
YearMasters readYearMasters(const DataRoot& root, int tableYear);

// "Año de " + year master, "En el ciclo de " + cycle master.
std::vector<std::string> yearMastersLines(const YearMasters& m);

// The masters of the current chart's birth year: the Sun at 23:59 on 31 December of the
// birth year is computed with the engine on a copy of the chart state.
YearMasters computeYearMasters(const DataRoot& root, const ChartState& chart, const CorrectionFiles& files);

}  // namespace athanor
