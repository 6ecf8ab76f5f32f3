#include "Cli.h"
#include "Json.h"

#include "engine/Houses.h"
#include "engine/Orbit.h"
#include "foundations/ChartState.h"

#include <cctype>
#include <iostream>
#include <regex>

namespace athanor::cli {
namespace {

// "45N28-009E11": latitude degrees, N or S, minutes, then longitude degrees, E, O or W, minutes.
void parseCoordinates(const std::string& text, HouseInput& in) {
    static const std::regex form(R"(^(\d{1,2})([NSns])(\d{1,2})-(\d{1,3})([EOWeow])(\d{1,2})$)");
    std::smatch m;
    if (!std::regex_match(text, m, form))
        throw UsageError("--coord: expected the form 45N28-009E11, got: " + text);
    in.latitudeDegrees = std::stoi(m[1]);
    in.latitudeHemisphere = static_cast<char>(std::toupper(static_cast<unsigned char>(m[2].str()[0])));
    in.latitudeMinutes = std::stoi(m[3]);
    in.longitudeDegrees = std::stoi(m[4]);
    in.longitudeSide = static_cast<char>(std::toupper(static_cast<unsigned char>(m[5].str()[0])));
    in.longitudeMinutes = std::stoi(m[6]);
    if (in.latitudeDegrees > 90 || in.latitudeMinutes > 59 || in.longitudeDegrees > 180 || in.longitudeMinutes > 59)
        throw UsageError("--coord: out of range: " + text);
}

void parseTime(const std::string& text, HouseInput& in) {
    static const std::regex form(R"(^(\d{1,2}):(\d{2})$)");
    std::smatch m;
    if (!std::regex_match(text, m, form)) throw UsageError("--time: expected HH:MM, got: " + text);
    in.hour = std::stoi(m[1]);
    in.minute = std::stoi(m[2]);
    if (in.hour > 23 || in.minute > 59) throw UsageError("--time: out of range: " + text);
}

int run(const Args& args) {
    args.allowOnly({"jd", "system", "coord", "time", "corr", "mode", "letter", "ramc", "lst"});
    ChartState chart;
    HouseInput in;
    in.jd = args.number("jd");
    chart.HouseSystem = args.require("system");
    parseCoordinates(args.require("coord"), in);
    parseTime(args.require("time"), in);
    in.offset1 = 0;
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
    j.field("ascendant", chart.AscendantRadians * orbit::kRadToDeg);
    j.field("midheaven", chart.MidheavenRadians * orbit::kRadToDeg);
    j.field("localSiderealTime", chart.LocalSiderealTime);
    j.endObject();
    std::cout << j.str() << '\n';
    return 0;
}

const Register r("houses",
                 Command{"--jd JD --system NAME --coord 45N28-009E11 --time HH:MM --corr C [--mode 1|2|3] "
                         "[--letter L|S] [--ramc DEG --lst HOURS]",
                         {},
                         run});

}  // namespace
}  // namespace athanor::cli
