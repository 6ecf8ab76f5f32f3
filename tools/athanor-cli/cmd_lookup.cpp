#include "Cli.h"
#include "Json.h"

#include "foundations/Calendar.h"
#include "foundations/Cp1252.h"
#include "foundations/DataRoot.h"
#include "foundations/Format.h"
#include "foundations/TextFile.h"
#include "subjects/Localities.h"
#include "subjects/TimeZones.h"

#include <iostream>
#include <regex>

namespace athanor::cli {
namespace {

LocalDateTime parseWhen(const std::string& date, const std::string& time) {
    static const std::regex dateForm(R"(^(\d{1,2})/(\d{1,2})/(\d{1,4})$)");
    static const std::regex timeForm(R"(^(\d{1,2}):(\d{1,2})$)");
    std::smatch d, t;
    if (!std::regex_match(date, d, dateForm)) throw UsageError("--date: expected DD/MM/YYYY, got: " + date);
    if (!std::regex_match(time, t, timeForm)) throw UsageError("--time: expected HH:MM, got: " + time);
    LocalDateTime w;
    w.day = std::stoi(d[1]);
    w.month = std::stoi(d[2]);
    w.year = std::stoi(d[3]);
    w.hour = std::stoi(t[1]);
    w.minute = std::stoi(t[2]);
    // The ranges of the entry's date check.
    if (w.day > 31 || w.month > 12 || w.year > 2080 || w.hour > 23 || w.minute > 59)
        throw UsageError("Fecha Incorrectas");
    return w;
}

// Line 4 of the general settings when the program folder has them, else its default 1.
int calendarRuleOf(const DataRoot& root) {
    if (!root.exists("FileSet\\MMVarLas.stt")) return 1;
    const auto lines = readLines(root.resolve("FileSet\\MMVarLas.stt"));
    if (lines.size() < 4) return 1;
    const auto v = parseInteger(lines[3]);
    return v ? static_cast<int>(*v) : 1;
}

// The place for a typed name. The entry's search lands on the last place that sorts below
// the name padded with "!" (after the places named "NAME ..." with a blank), so the CLI
// looks at the whole run of places around it whose folded names start with the text:
// the first one named exactly so (in the country asked for, when one is asked for), else
// the first one whose name starts with it.
constexpr std::int64_t kRunLimit = 5000;

bool startsWith(const std::string& s, const std::string& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

std::int64_t placeFor(const LocalityList& list, const std::string& typed, const std::string& country) {
    const std::string key = foldLocalityName(typed);
    const std::string wantedCountry = foldLocalityName(country);
    auto folded = [&](std::int64_t k) { return foldLocalityName(list.record(k).name); };
    const std::int64_t mid = std::max<std::int64_t>(1, list.bisect(typed));
    std::int64_t first = mid, last = mid;
    while (first > 1 && mid - first < kRunLimit && startsWith(folded(first - 1), key)) --first;
    while (last < list.count() && last - mid < kRunLimit && startsWith(folded(last + 1), key)) ++last;
    std::int64_t firstMatch = 0;
    for (std::int64_t k = first; k <= last; ++k) {
        const LocalityRecord r = list.record(k);
        const std::string name = foldLocalityName(r.name);
        if (!startsWith(name, key) || !startsWith(foldLocalityName(r.country), wantedCountry)) continue;
        if (name == key || foldLocalityName(shownLocalityName(r.name)) == key) return k;
        if (firstMatch == 0) firstMatch = k;
    }
    if (firstMatch != 0) return firstMatch;
    throw UsageError("no place of the list starts with " + cp1252ToUtf8(typed));
}

int run(const Args& args) {
    args.allowOnly({"list", "place", "country", "record", "date", "time", "calendar-rule", "data"});
    const std::string listName = args.require("list");
    if (listName != "italia" && listName != "estero") throw UsageError("--list: italia or estero");
    const LocalityListKind kind = listName == "italia" ? LocalityListKind::Italian : LocalityListKind::Foreign;
    const LocalDateTime when = parseWhen(args.require("date"), args.require("time"));

    DataRoot root(args.get("data") ? std::filesystem::absolute(*args.get("data")) : DataRoot::defaultLocation());
    if (!args.get("data")) root.seedFrom(DataRoot::installedDefaults());

    int rule = calendarRuleOf(root);
    if (auto r = args.optionalNumber("calendar-rule")) {
        if (*r != 0 && *r != 1) throw UsageError("--calendar-rule: 0 or 1");
        rule = static_cast<int>(*r);
    }

    const LocalityList list(root, kind);
    std::int64_t record = 0;
    if (auto n = args.optionalNumber("record")) {
        record = static_cast<std::int64_t>(*n);
        if (record < 1 || record > list.count()) throw UsageError("--record: 1 .. " + std::to_string(list.count()));
    } else {
        std::string typed = utf8ToCp1252(args.require("place"));
        if (kind == LocalityListKind::Italian) upperCase(typed);
        record = placeFor(list, typed, utf8ToCp1252(args.get("country").value_or("")));
    }
    const LocalityRecord place = list.record(record);
    const ZoneLookup z = lookUpZone(root, place, kind, when, rule);
    // The calendar found decides whether the date exists (29/02/1700 is Julian only).
    if (!civilDateExists(when.year, when.month, when.day, z.gregorian ? 1 : 0)) throw UsageError("Fecha Incorrectas");

    Json j;
    j.beginObject();
    j.key("place").beginObject();
    j.field("record", static_cast<long long>(record));
    j.field("name", cp1252ToUtf8(shownLocalityName(place.name)));
    j.field("country", cp1252ToUtf8(place.country));
    j.field("coordText", z.coordText);
    j.field("latitude", place.latitude);
    j.field("longitude", place.longitude);
    j.field("table", z.tableName);
    j.endObject();
    j.field("calendarRule", rule);
    j.field("calendar", z.calendar);
    j.field("correction", cp1252ToUtf8(z.correctionText));
    j.field("localMeanTime", z.localMeanTime);
    j.field("julianDay", z.julianDayText);
    j.field("julianDayValue", z.julianDay);
    j.field("dateText", z.dateText);
    j.field("outdatedNote", z.outdatedNote);
    j.key("recordList").beginArray();
    for (const auto& line : z.recordList) j.value(cp1252ToUtf8(line));
    j.endArray();
    j.endObject();
    std::cout << j.str() << '\n';
    return 0;
}

const Register r(
    "lookup",
    Command{"--list italia|estero (--place PREFIX [--country PREFIX] | --record N) --date DD/MM/YYYY --time HH:MM "
            "[--calendar-rule 0|1] [--data DIR]",
            {},
            run});

}  // namespace
}  // namespace athanor::cli
