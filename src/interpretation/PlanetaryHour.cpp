#include "interpretation/PlanetaryHour.h"

#include "foundations/Calendar.h"
#include "foundations/FileError.h"
#include "foundations/Format.h"
#include "foundations/TextFile.h"
#include "interpretation/Structure.h"

#include <cmath>
#include <stdexcept>

namespace athanor {

namespace {

long double mod360(long double x) { return x < 0 ? x + 360.0L : x; }

// The number of `count` digits at `pos`, or -1 when they are not all digits.
int digitsAt(const std::string& text, std::size_t pos, std::size_t count) {
    if (text.size() < pos + count) return -1;
    int v = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        v = v * 10 + (text[i] - '0');
    }
    return v;
}

}  // namespace

const char* planetDisplayName(int planet) {
    static constexpr const char* names[] = {"Saturno", "el Sol", "la Luna",    "Mercurio",
                                            "Venus",   "Marte",  "J\xFApiter", "Saturno"};
    if (planet < 0 || planet > 7) throw std::out_of_range("planet " + std::to_string(planet));
    return names[planet];
}

int hourRuler(int weekday, int hour) {
    // From the Sun: Sun, Venus, Mercury, Moon, Saturn, Jupiter, Mars; the first hour of
    // each day belongs to the day's ruler.
    static constexpr int sequence[7] = {1, 4, 3, 2, 7, 6, 5};
    static constexpr int offset[7] = {0, 3, 6, 2, 5, 1, 4};
    if (weekday < 0 || weekday > 6 || hour < 1 || hour > 24) throw std::out_of_range("planetary hour");
    return sequence[(hour - 1 + offset[weekday]) % 7];
}

int hourOfSun(long double sun, const std::array<long double, 26>& p) {
    for (int o = 1; o <= 24; ++o) {
        const long double w = mod360(p[o] - p[o + 1]);
        const long double d = mod360(p[o] - sun);
        if (d < w) return o;
    }
    // Only points that do not go once round the circle leave the Sun outside every arc.
    return 1;
}

PlanetaryHour planetaryHour(long double sunriseJd, long double birthLocalJd, int calendarFlag, long double sunLongitude,
                            const std::array<long double, 26>& points) {
    PlanetaryHour h;
    h.sunrise = dateTextCalendar(sunriseJd, calendarFlag).substr(11, 5);
    h.weekday = dayOfWeek(sunriseJd).index;
    if (birthLocalJd < sunriseJd) h.weekday = (h.weekday + 6) % 7;
    h.weekdayName = weekdayName(h.weekday);
    h.hour = hourOfSun(sunLongitude, points);
    h.diurnal = h.hour <= 12;
    h.shownHour = h.diurnal ? h.hour : h.hour - 12;
    h.ruler = hourRuler(h.weekday, h.hour);
    return h;
}

std::vector<DisplayLine> mastersOfBirthLines(const PlanetaryHour& h, const ChartState& chart) {
    const int ascSign = signOf(chart.BodyLongitude[body::Ascendant]);
    const int mcSign = signOf(chart.BodyLongitude[body::Midheaven]);
    const std::string ruledBy = "Dominado por ";
    return {
        {"El sol sale a las: " + h.sunrise, TextColour::Yellow},
        {h.weekdayName, TextColour::Cyan},
        {"Hora Planetaria: " + std::to_string(h.shownHour) + (h.diurnal ? " Diurna" : " Nocturna"), TextColour::Cyan},
        {ruledBy + planetDisplayName(h.ruler), TextColour::Cyan},
        {std::string("Ascendente ") + signName(ascSign), TextColour::White, true},
        {ruledBy + planetDisplayName(domicileRuler(ascSign)), TextColour::White},
        {std::string("Medio Cielo ") + signName(mcSign), TextColour::Cyan, true},
        {ruledBy + planetDisplayName(domicileRuler(mcSign)), TextColour::Cyan},
    };
}

int astrologicalYear(int birthYear, long double natalSun, long double sunAtYearEnd) {
    return natalSun > sunAtYearEnd ? birthYear - 1 : birthYear;
}

int masterTableYear(int year) {
    int r = (year - kYearTableFirst) % kMasterCycle;
    if (r < 0) r += kMasterCycle;
    return kYearTableFirst + r;
}

YearMasters readYearMasters(const DataRoot& root, int tableYear) {
    const auto path = root.resolve(kYearMastersFile);
    const auto lines = readLines(path);
    if (lines.empty()) throw FileError(path, "Read beyond end of file", FileFault::Damaged);
    const std::string key = zeroPadded(tableYear, 4);
    const std::string* found = &lines.back();
    for (const auto& l : lines)
        if (l.compare(0, 4, key) == 0) {
            found = &l;
            break;
        }
    const std::size_t lineNumber = static_cast<std::size_t>(found - lines.data()) + 1;
    const std::string& line = *found;
    YearMasters m;
    m.tableYear = digitsAt(line, 0, 4);
    m.yearMaster = digitsAt(line, 4, 2);
    m.cycleMaster = digitsAt(line, 6, 2);
    if (m.tableYear < 0 || m.yearMaster < 0 || m.yearMaster > 7 || m.cycleMaster < 0 || m.cycleMaster > 7)
        throw FileError(
            path,
            "Invalid numeric input (line " + std::to_string(lineNumber) + ": \"" + excerptForMessage(line) + "\")",
            FileFault::Damaged);
    m.yearName = planetDisplayName(m.yearMaster);
    m.cycleName = planetDisplayName(m.cycleMaster);
    return m;
}

std::vector<std::string> yearMastersLines(const YearMasters& m) {
    return {"A\xF1o de " + m.yearName, "En el ciclo de " + m.cycleName};
}

}  // namespace athanor
