// athanor-cli jd / date: Julian days and date texts.
#include "Cli.h"
#include "Json.h"

#include "foundations/Calendar.h"
#include "foundations/Cp1252.h"

#include <cmath>
#include <iostream>

namespace athanor::cli {
namespace {

// "DD/MM/YYYY" with a year that may be zero or negative.
void parseDate(const std::string& text, long double& day, long double& month, long double& year) {
    const auto a = text.find('/');
    const auto b = a == std::string::npos ? a : text.find('/', a + 1);
    if (a == std::string::npos || b == std::string::npos) throw UsageError("--date: expected DD/MM/YYYY: " + text);
    day = parseNumber("date", text.substr(0, a));
    month = parseNumber("date", text.substr(a + 1, b - a - 1));
    year = parseNumber("date", text.substr(b + 1));
    if (day != std::trunc(day) || month != std::trunc(month) || year != std::trunc(year) || day < 1 || day > 31 ||
        month < 1 || month > 12)
        throw UsageError("--date: not a date: " + text);
}

void parseTime(const std::string& text, long double& hour, long double& minute) {
    const auto a = text.find(':');
    if (a == std::string::npos) throw UsageError("--time: expected HH:MM: " + text);
    hour = parseNumber("time", text.substr(0, a));
    minute = parseNumber("time", text.substr(a + 1));
    if (hour != std::trunc(hour) || minute != std::trunc(minute) || hour < 0 || hour > 24 || minute < 0 || minute > 59)
        throw UsageError("--time: not a time: " + text);
}

int runJd(const Args& args) {
    args.allowOnly({"date", "time", "julian"});
    long double day, month, year, hour, minute;
    parseDate(args.require("date"), day, month, year);
    parseTime(args.require("time"), hour, minute);
    if (std::fabs(year) > 100000 || !civilDateExists(static_cast<int>(year), static_cast<int>(month),
                                                     static_cast<int>(day), args.flag("julian") ? 0 : 1))
        throw UsageError("--date: " + args.require("date") + " does not exist in the " +
                         (args.flag("julian") ? "Julian" : "Gregorian") + " calendar");
    const auto r = julianDayFromCivil(args.flag("julian") ? 0 : 1, minute, hour, year, month, day);
    Json j;
    j.beginObject().field("julianDay", r.jd).field("asteroidsValid", r.asteroidsValid).endObject();
    std::cout << j.str() << '\n';
    return 0;
}

int runDate(const Args& args) {
    args.allowOnly({"jd", "julian"});
    const long double jd = args.number("jd");
    if (!std::isfinite(jd)) throw UsageError("--jd: not a finite number");
    // The calendars count from Julian day 0 (1 January 4713 BC); before it the texts are nonsense.
    if (jd < 0) throw UsageError("--jd: dates before Julian day 0 (1 January 4713 BC) are not supported");
    const std::string text = args.flag("julian") ? dateTextCalendar(jd, 0) : dateTextAuto(jd);
    const Weekday w = dayOfWeek(jd);
    Json j;
    j.beginObject()
        .field("text", text)
        .field("weekday", w.index)
        .field("weekdayName", cp1252ToUtf8(w.name))
        .endObject();
    std::cout << j.str() << '\n';
    return 0;
}

Register jd("jd", Command{"--date DD/MM/YYYY --time HH:MM [--julian]", {"julian"}, runJd});
Register date("date", Command{"--jd JD [--julian]", {"julian"}, runDate});

}  // namespace
}  // namespace athanor::cli
