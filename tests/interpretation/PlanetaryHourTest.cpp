#include "foundations/Calendar.h"
#include "foundations/FileError.h"
#include "interpretation/PlanetaryHour.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace athanor {
namespace {

using test::TempDir;

// Hour points with the day arcs `day` degrees wide and the night arcs `night`, from an
// ascendant at `asc`, in decreasing longitude as the semi-arc computation gives them.
std::array<long double, 26> hourPoints(long double asc, long double day, long double night) {
    std::array<long double, 26> p{};
    long double x = asc;
    for (int o = 1; o <= 25; ++o) {
        p[o] = normalize360(x);
        x -= o <= 12 ? day : night;
    }
    p[0] = p[24];
    return p;
}

TEST(PlanetaryHour, RulersFollowTheChaldeanOrderAcrossDays) {
    EXPECT_EQ(hourRuler(4, 1), 6);  // Thursday: Jupiter, then Mars
    EXPECT_EQ(hourRuler(4, 2), 5);
    EXPECT_EQ(hourRuler(0, 1), 1);
    EXPECT_EQ(hourRuler(1, 1), 2);
    EXPECT_EQ(hourRuler(6, 1), 7);
    // Saturn, Jupiter, Mars, Sun, Venus, Mercury, Moon: every hour, and from the last
    // hour of a day into the first of the next.
    const int next[8] = {0, 4, 7, 2, 3, 1, 5, 6};  // the planet that follows each one
    for (int day = 0; day < 7; ++day) {
        for (int hour = 1; hour < 24; ++hour) EXPECT_EQ(hourRuler(day, hour + 1), next[hourRuler(day, hour)]);
        EXPECT_EQ(hourRuler((day + 1) % 7, 1), next[hourRuler(day, 24)]) << day;
    }
}

TEST(PlanetaryHour, TheSunsArcGivesTheHour) {
    const auto equal = hourPoints(100, 15, 15);
    const auto summer = hourPoints(100, 20, 10);  // long day, short night
    struct Case {
        const std::array<long double, 26>& points;
        long double sun;
        int hour;
    } cases[] = {
        {equal, 100, 1},   {equal, 99, 1},    {equal, 85, 2},    {equal, 101, 24},  {equal, 280, 13}, {equal, 281, 12},
        {summer, 230, 12}, {summer, 220, 13}, {summer, 215, 13}, {summer, 105, 24}, {summer, 340, 7}, {summer, 341, 6},
    };
    for (const auto& c : cases) EXPECT_EQ(hourOfSun(c.sun, c.points), c.hour) << c.sun;
}

TEST(PlanetaryHour, ABirthBeforeSunriseBelongsToThePreviousDay) {
    // Wednesday 5 January 2000, sunrise at 06:30 local time.
    const long double sunrise = julianDayFromCivil(1, 30, 6, 2000, 1, 5).jd;
    const auto points = hourPoints(280, 12, 18);
    const PlanetaryHour before = planetaryHour(sunrise, sunrise - 1.0L / 1440, 1, 280.2L, points);
    EXPECT_EQ(before.sunrise, "06:30");
    EXPECT_EQ(before.weekday, 2);
    EXPECT_EQ(before.weekdayName, "Martes");
    EXPECT_EQ(before.hour, 24);
    EXPECT_FALSE(before.diurnal);
    EXPECT_EQ(before.shownHour, 12);
    EXPECT_EQ(before.ruler, hourRuler(2, 24));

    const PlanetaryHour after = planetaryHour(sunrise, sunrise + 1.0L / 1440, 1, 279.8L, points);
    EXPECT_EQ(after.weekdayName, "Mi\xE9rcoles");
    EXPECT_EQ(after.hour, 1);
    EXPECT_TRUE(after.diurnal);
    EXPECT_EQ(after.ruler, 3);  // Mercury rules Wednesday's first hour
}

TEST(PlanetaryHour, DisplayLines) {
    PlanetaryHour h;
    h.sunrise = "07:12";
    h.weekdayName = "Jueves";
    h.hour = 15;
    h.shownHour = 3;
    h.diurnal = false;
    h.ruler = 5;
    ChartState chart;
    chart.BodyLongitude[body::Ascendant] = 215;  // Scorpio
    chart.BodyLongitude[body::Midheaven] = 130;  // Leo
    const auto lines = mastersOfBirthLines(h, chart);
    std::vector<std::string> texts;
    for (const auto& l : lines) texts.push_back(l.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"El sol sale a las: 07:12", "Jueves", "Hora Planetaria: 3 Nocturna",
                                               "Dominado por Marte", "Ascendente Escorpio", "Dominado por Marte",
                                               "Medio Cielo Leo", "Dominado por el Sol"}));
    EXPECT_EQ(lines[0].colour, TextColour::Yellow);
    EXPECT_EQ(lines[4].colour, TextColour::White);
    EXPECT_TRUE(lines[4].newGroup);
    EXPECT_TRUE(lines[6].newGroup);
}

TEST(YearMasters, TheAstrologicalYearBeginsWithAries) {
    // The Sun at the end of 1980 stands near 280°: a birth on 10 March (Sun near 350°)
    // belongs to 1979, one on 10 April (near 20°) to 1980.
    EXPECT_EQ(astrologicalYear(1980, 349.9L, 280.4L), 1979);
    EXPECT_EQ(astrologicalYear(1980, 20.4L, 280.4L), 1980);
    EXPECT_EQ(astrologicalYear(1980, 280.4L, 280.4L), 1980);
}

TEST(YearMasters, YearsAreBroughtIntoTheTableByWholeCycles) {
    struct Case {
        int year, table;
    } cases[] = {
        {1600, 1852}, {2020, 1768}, {1765, 1765}, {2016, 2016}, {2017, 1765}, {1, 1765}, {252, 2016},
        {253, 1765},  {1764, 2016}, {2268, 2016}, {2269, 1765}, {2600, 1844}, {0, 2016}, {-100, 1916},
    };
    for (const auto& c : cases) EXPECT_EQ(masterTableYear(c.year), c.table) << c.year;
}

TEST(YearMasters, TheTableIsReadByItsFirstFourCharacters) {
    TempDir dir;
    dir.write("Appoggio/GoverAnno.txt", "19130205\r\n19140705\r\n19150605\r\n20160001\r\n");
    DataRoot root(dir.path());
    const YearMasters m = readYearMasters(root, 1914);
    EXPECT_EQ(m.tableYear, 1914);
    EXPECT_EQ(m.yearName, "Saturno");
    EXPECT_EQ(m.cycleName, "Marte");
    EXPECT_EQ(yearMastersLines(m), (std::vector<std::string>{"A\xF1o de Saturno", "En el ciclo de Marte"}));
    // A year the file lacks takes the last line; planet 0 is Saturn as well.
    const YearMasters last = readYearMasters(root, 1800);
    EXPECT_EQ(last.tableYear, 2016);
    EXPECT_EQ(last.yearName, "Saturno");
    EXPECT_EQ(last.cycleName, "el Sol");
    EXPECT_EQ(readYearMasters(root, 1913).yearName, "la Luna");
}

TEST(YearMasters, BadTablesAreFileErrors) {
    TempDir dir;
    DataRoot root(dir.path());
    EXPECT_THROW(readYearMasters(root, 1914), FileError);
    dir.write("Appoggio/GoverAnno.txt", "");
    EXPECT_THROW(readYearMasters(root, 1914), FileError);
    for (const char* bad : {"1914AB05\r\n", "19140805\r\n", "191407\r\n"}) {
        dir.write("Appoggio/GoverAnno.txt", bad);
        EXPECT_THROW(readYearMasters(root, 1914), FileError) << bad;
    }
    // A line of binary junk is named by its number and shown as a short printable excerpt.
    dir.write("Appoggio/GoverAnno.txt", "19130205\r\n1914\x01\xFF\x9B" + std::string(200, '\x07') + "\r\n");
    try {
        readYearMasters(root, 1914);
        ADD_FAILURE() << "no error";
    } catch (const FileError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("line 2: \"1914???"), std::string::npos) << message;
        EXPECT_LT(message.size(), 200u + e.path().string().size());
        for (unsigned char c : message) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << message;
    }
}

}  // namespace
}  // namespace athanor
