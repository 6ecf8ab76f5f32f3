#include "Cli.h"

#include "foundations/Calendar.h"

#include <cstdio>

namespace athanor::cli {

void requireExistingMoment(const std::string& stamp, const std::string& calendar) {
    const auto digits = [&](std::size_t from, std::size_t count) { return std::stoi(stamp.substr(from, count)); };
    const int year = digits(0, 4), month = digits(4, 2), day = digits(6, 2);
    const int hour = digits(8, 2), minute = digits(10, 2);
    const bool gregorian = calendar == "GR";
    char date[32];
    std::snprintf(date, sizeof date, "%02d/%02d/%04d", day, month, year);
    if (!civilDateExists(year, month, day, gregorian ? 1 : 0))
        throw UsageError(std::string("--stamp: ") + date + " does not exist in the " +
                         (gregorian ? "Gregorian" : "Julian") + " calendar");
    if (hour > 23 || minute > 59) throw UsageError("--stamp: no such time of day: " + stamp.substr(8, 4));
}

}  // namespace athanor::cli
