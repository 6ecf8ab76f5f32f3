#include "foundations/Calendar.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace athanor {

CivilJulianDay julianDayFromCivil(int calendarFlag, long double minute, long double hour, long double year,
                                  long double month, long double day) {
    const long double D = day + hour / 24.0L + minute / 1440.0L;
    if (month < 3) {
        year -= 1;
        month += 12;
    }
    long double B = 0;
    if (calendarFlag == 1) {
        const long double A = Int(year / 100.0L);
        B = 2 - A + Int(A / 4.0L);
    }
    // Flooring, not truncation: the usual "C - 1 for negative years" puts years whose
    // 365.25-multiple is whole (divisible by 4) one day early.
    const long double C = std::floor(365.25L * year);
    const long double E = Int(30.6001L * (month + 1));
    CivilJulianDay r;
    r.jd = B + C + E + D + 1720994.5L;
    r.asteroidsValid = r.jd >= kAsteroidsFirstJd && r.jd <= kAsteroidsLastJd;
    return r;
}

long double julianDay(ChartState& chart, int calendarFlag, long double minute, long double hour, long double year,
                      long double month, long double day) {
    const CivilJulianDay r = julianDayFromCivil(calendarFlag, minute, hour, year, month, day);
    chart.AsteroidsValid = r.asteroidsValid;
    return r.jd;
}

bool civilDateExists(int year, int month, int day, int calendarFlag) {
    if (month < 1 || month > 12 || day < 1) return false;
    const bool gregorian = calendarFlag == 1;
    // Astronomical years: 0, -4, -8 ... are leap years like 4 and 8.
    const bool leap = year % 4 == 0 && (!gregorian || year % 100 != 0 || year % 400 == 0);
    static constexpr int kLength[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int length = month == 2 && leap ? 29 : kLength[month];
    if (day > length) return false;
    return !(gregorian && year == 1582 && month == 10 && day >= 5 && day <= 14);
}

CivilDate civilFromJulianDay(long double jd, bool gregorian) {
    // Days without a date (non-finite, or beyond any year a text can hold) give the zero
    // date rather than numbers no integer can take.
    if (!hasCivilDate(jd)) return CivilDate{};
    long double x = jd + 0.5L;
    for (int guard = 0; guard < 100; ++guard) {
        const long double Z = Int(x);
        const long double F = Frac(x);
        long double A = Z;
        if (gregorian) {
            const long double alpha = Int((Z - 1867216.25L) / 36524.25L);
            A = Z + 1 + alpha - Int(alpha / 4.0L);
        }
        const long double B = A + 1524;
        const long double C = Int((B - 122.1L) / 365.25L);
        const long double D = Int(365.25L * C);
        const long double E = Int((B - D) / 30.6001L);
        const long double dayF = B - D - Int(30.6001L * E) + F;
        const long double month = E < 13.5L ? E - 1 : E - 13;
        const long double year = month > 2.5L ? C - 4716 : C - 4715;
        const long double h = Int(Frac(dayF) * 24.0L);
        const long double m = Int((Frac(dayF) * 24.0L - h) * 60.0L + 0.5L);
        if (m == 60) {
            x += 0.00001L;
            continue;
        }
        return CivilDate{Int(dayF), month, year, h, m};
    }
    return CivilDate{};
}

namespace {

// Appends the whole part of v with at least `width` characters, zeros after a minus sign
// ("-05"); v is a field of a civil date, within any year a text can hold.
void pad(std::string& out, long double v, int width) {
    long long n = static_cast<long long>(v);
    char digits[24];
    int k = 0;
    const bool negative = n < 0;
    unsigned long long u = negative ? 0ull - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    do {
        digits[k++] = static_cast<char>('0' + u % 10);
        u /= 10;
    } while (u != 0);
    if (negative) {
        out += '-';
        width = width - 1 > 0 ? width - 1 : 1;
    }
    for (int i = k; i < width; ++i) out += '0';
    while (k > 0) out += digits[--k];
}

}  // namespace

std::string civilDateText(const CivilDate& c) {
    std::string text;
    text.reserve(20);
    pad(text, c.day, 2);
    text += '/';
    pad(text, c.month, 2);
    text += '/';
    pad(text, c.year, 4);
    text += ' ';
    pad(text, c.hour, 2);
    text += ':';
    pad(text, c.minute, 2);
    return text;
}

std::string dateTextAuto(long double jd) {
    const long double Z = Int(jd + 0.5L);
    return civilDateText(civilFromJulianDay(jd, Z > 2299160));
}

std::string dateTextCalendar(long double jd, int calendarFlag) {
    return civilDateText(civilFromJulianDay(jd, calendarFlag == 1));
}

const char* weekdayName(int index) {
    static const std::array<const char*, 7> names = {"Domingo",
                                                     "Lunes",
                                                     "Martes",
                                                     "Mi\xE9rcoles",
                                                     "Jueves",
                                                     "Viernes",
                                                     "S\xE1"
                                                     "bado"};
    return index >= 0 && index <= 6 ? names[static_cast<std::size_t>(index)] : "";
}

Weekday dayOfWeek(long double jd) {
    // Trunc(Frac((JD + 1.5) / 7) * 7) in exact arithmetic; evaluated in floating point the
    // division lands just below whole days at midnight and gives the day before.
    int index = 0;
    if (std::isfinite(jd)) {
        const long double days = std::floor(jd + 1.5L);
        index = static_cast<int>(days - 7.0L * std::floor(days / 7.0L));
        if (index < 0 || index > 6) index = 0;
    }
    return Weekday{index, weekdayName(index)};
}

Weekday dayOfWeek(ChartState& chart, long double jd) {
    Weekday w = dayOfWeek(jd);
    chart.WeekdayName = w.name;
    return w;
}

long double timeOfDayRemainder(long double jd) {
    const long double x = Frac(jd) + 0.5L - Int((Frac(jd) + 0.5L) * 24.0L) / 24.0L;
    return (x - Int(x * 1440.0L) / 1440.0L) * 24.0L;
}

}  // namespace athanor
