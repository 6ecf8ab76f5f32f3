#include "Cli.h"
#include "Json.h"

#include "subjects/SubjectChart.h"
#include "foundations/ChartState.h"
#include "foundations/Cp1252.h"
#include "foundations/DataRoot.h"
#include "interpretation/OrbFiles.h"
#include "subjects/CoordText.h"

#include <iostream>

namespace athanor::cli {
namespace {

// Names of the entries the chart vocabulary leaves unnamed (12 on).
const char* const kOtherNames[] = {"LunaNegra", "Casa1", "", "Ceres", "Palas", "Juno", "Vesta", "Quiron", "", "", ""};

std::string bodyName(int i) {
    if (i < static_cast<int>(kChartBodyNames.size())) return cp1252ToUtf8(kChartBodyNames[i]);
    return kOtherNames[i - static_cast<int>(kChartBodyNames.size())];
}

// The chart of the main window for a birth stamp and a place: the chart state after the
// chart builder.
int run(const Args& args) {
    args.allowOnly({"stamp", "coord", "calendar", "data"});
    const SubjectArgs given = subjectArgs(args);
    const std::string& stamp = given.stamp;
    const std::string& coord = given.coord;
    const std::string& calendar = given.calendar;
    const DataRoot& root = given.root;

    ChartState chart;
    // The engine settings the program loads at start-up, when the folder has them.
    if (root.exists(kOrbSettingsFile)) {
        OrbSettings orbs;
        loadOrbSettings(root, orbs, chart);
    }
    const CorrectionFiles files{root};
    buildChart(chart, files, ChartSubject{stamp, coord, calendar});

    Json j;
    j.beginObject();
    j.field("julianDay", chart.ChartJulianDay);
    j.field("jdText", chart.JdText);
    j.field("timeCorrection", chart.TimeCorrection);
    j.field("localSiderealTime", chart.LocalSiderealTime);
    // The system of the cusps and of every body's "house".
    j.field("houseSystem", chart.HouseSystem);
    j.key("bodies").beginArray();
    for (int i = 1; i <= 22; ++i) {
        j.beginObject();
        j.field("index", i);
        j.field("name", bodyName(i));
        j.field("longitude", chart.BodyLongitude[i]);
        j.field("latitude", chart.BodyLatitude[i]);
        j.field("sign", chart.BodySign[i]);
        j.field("house", chart.BodyHouse[i]);
        j.field("retro", std::string(1, chart.RetroMark[i] == 'r' ? 'r' : ' '));
        j.endObject();
    }
    j.endArray();
    j.key("cusps").beginArray();
    for (int k = 0; k < 12; ++k) j.value(chart.HouseCusp[k]);
    j.endArray();
    j.endObject();
    std::cout << j.str() << '\n';
    return 0;
}

const Register r("chart",
                 Command{"--stamp YYYYMMDDhhmm+C --coord 41N54-012E29 [--calendar GR|GI] [--data DIR]", {}, run});

}  // namespace
}  // namespace athanor::cli
