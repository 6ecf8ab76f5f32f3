#include "Cli.h"

#include <set>
#include "Json.h"

#include "engine/Houses.h"
#include "engine/Orbit.h"
#include "foundations/ChartState.h"

#include <cctype>
#include <iostream>

namespace athanor::cli {
namespace {

// Reads 1 to maxDigits decimal digits at text[pos]; advances pos.
bool digits(const std::string& text, size_t& pos, size_t maxDigits, int& value) {
    const size_t start = pos;
    value = 0;
    while (pos < text.size() && pos - start < maxDigits && std::isdigit(static_cast<unsigned char>(text[pos])))
        value = value * 10 + (text[pos++] - '0');
    return pos > start;
}

char letterAt(const std::string& text, size_t& pos, const char* allowed) {
    if (pos >= text.size()) return 0;
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(text[pos])));
    for (const char* a = allowed; *a; ++a)
        if (c == *a) {
            ++pos;
            return c;
        }
    return 0;
}

// "45N28-009E11": latitude degrees, N or S, minutes, then longitude degrees, E, O or W, minutes.
void parseCoordinates(const std::string& text, HouseInput& in) {
    size_t pos = 0;
    int latD = 0, latM = 0, lonD = 0, lonM = 0;
    char ns = 0, ew = 0;
    const bool ok = digits(text, pos, 2, latD) && (ns = letterAt(text, pos, "NS")) && digits(text, pos, 2, latM) &&
                    pos < text.size() && text[pos++] == '-' && digits(text, pos, 3, lonD) &&
                    (ew = letterAt(text, pos, "EOW")) && digits(text, pos, 2, lonM) && pos == text.size();
    if (!ok) throw UsageError("--coord: expected the form 45N28-009E11, got: " + text);
    if (latD > 90 || latM > 59 || lonD > 180 || lonM > 59) throw UsageError("--coord: out of range: " + text);
    in.latitudeDegrees = latD;
    in.latitudeMinutes = latM;
    in.latitudeHemisphere = ns;
    in.longitudeDegrees = lonD;
    in.longitudeMinutes = lonM;
    in.longitudeSide = ew;
}

void parseTime(const std::string& text, HouseInput& in) {
    size_t pos = 0;
    int h = 0, m = 0;
    const size_t colon = text.find(':');
    const bool ok = colon != std::string::npos && digits(text, pos, 2, h) && pos == colon && ++pos &&
                    digits(text, pos, 2, m) && pos == text.size() && pos - colon == 3;
    if (!ok) throw UsageError("--time: expected HH:MM, got: " + text);
    if (h > 23 || m > 59) throw UsageError("--time: out of range: " + text);
    in.hour = h;
    in.minute = m;
}

int run(const Args& args) {
    args.allowOnly({"jd", "system", "coord", "time", "corr", "mode", "letter", "ramc", "lst"});
    ChartState chart;
    HouseInput in;
    in.jd = args.number("jd");
    chart.HouseSystem = args.require("system");
    static const std::set<std::string> systems = {"PLACIDO", "KOCH",        "REGIOMONT",  "PORFIRIO", "CAMPANO",
                                                  "MORINO",  "CASE_UGUALI", "CASE_MEDIE", "ALCABIZIO"};
    if (!systems.count(chart.HouseSystem))
        throw UsageError("--system: one of PLACIDO, KOCH, REGIOMONT, PORFIRIO, CAMPANO, MORINO, CASE_UGUALI, "
                         "CASE_MEDIE, ALCABIZIO; got: " +
                         chart.HouseSystem);
    parseCoordinates(args.require("coord"), in);
    parseTime(args.require("time"), in);
    in.offset1 = 0;
    checkCorrection("corr", args.require("corr"));
    in.offset2 = args.number("corr");
    if (auto mode = args.optionalNumber("mode")) {
        if (*mode != 1 && *mode != 2 && *mode != 3) throw UsageError("--mode: 1, 2 or 3");
        in.mode = static_cast<int>(*mode);
    }
    if (auto letter = args.get("letter")) {
        if (letter->size() != 1) throw UsageError("--letter: one letter (L or S for local time)");
        in.modeLetter = static_cast<char>(std::toupper(static_cast<unsigned char>((*letter)[0])));
    }
    if (in.mode == 3) {
        chart.GivenRamc = args.number("ramc");
        chart.GivenSiderealTime = args.number("lst");
    }

    computeHouses(chart, in);

    Json j;
    j.beginObject();
    j.field("system", chart.HouseSystem);
    j.key("cusps").beginArray();
    for (int k = 0; k < 12; ++k) j.value(chart.HouseCusp[k]);
    j.endArray();
    j.field("ascendant", chart.AscendantRadians * orbit::kRadToDegLong);
    j.field("midheaven", chart.MidheavenRadians * orbit::kRadToDegLong);
    j.field("localSiderealTime", chart.LocalSiderealTime);
    j.endObject();
    std::cout << j.str() << '\n';
    return 0;
}

const Register r("houses", Command{"--jd JD --system NAME --coord 45N28-009E11 --time HH:MM --corr C [--mode 1|2|3] "
                                   "[--letter L|S] [--ramc DEG --lst HOURS]",
                                   {},
                                   run});

}  // namespace
}  // namespace athanor::cli
