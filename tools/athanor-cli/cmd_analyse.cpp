#include "Cli.h"
#include "Json.h"

#include "subjects/SubjectChart.h"
#include "foundations/ChartState.h"
#include "foundations/Cp1252.h"
#include "foundations/DataRoot.h"
#include "foundations/RecordFile.h"
#include "interpretation/AspectViews.h"
#include "interpretation/NativityRuler.h"
#include "interpretation/OrbFiles.h"
#include "interpretation/PlanetaryHour.h"
#include "interpretation/Powers.h"
#include "interpretation/Sectors.h"
#include "interpretation/Structure.h"
#include "interpretation/Weaves.h"
#include "subjects/CoordText.h"
#include "subjects/DatiNasc.h"

#include <iostream>
#include <random>

namespace athanor::cli {
namespace {

std::string utf8(std::string_view cp1252) { return cp1252ToUtf8(cp1252); }

void lines(Json& j, std::string_view key, const std::vector<std::string>& texts) {
    j.key(key).beginArray();
    for (const auto& t : texts) j.value(utf8(t));
    j.endArray();
}

void counts(Json& j, std::string_view key, const WeaveCounts& w) {
    j.key(key).beginArray();
    for (const auto& row : w) {
        j.beginArray();
        for (int v : row) j.value(v);
        j.endArray();
    }
    j.endArray();
}

void humors(Json& j, std::string_view key, const Humors& h) {
    j.key(key).beginObject();
    j.field("air", h.air).field("fire", h.fire).field("earth", h.earth).field("water", h.water);
    j.field("hot", h.hot).field("moist", h.moist).field("cold", h.cold).field("dry", h.dry);
    j.endObject();
}

const char* className(DistanceClass c) {
    switch (c) {
    case DistanceClass::Hard:
        return "hard";
    case DistanceClass::Soft:
        return "soft";
    case DistanceClass::Conjunction:
        return "conjunction";
    default:
        return "none";
    }
}

// A folder for the hand-off and result files of the ruler of the nativity, so that the
// analysis leaves the program folder as it found it.
class ScratchFolder {
public:
    ScratchFolder() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("athanor-analyse-" + std::to_string(rd()) + "-" + std::to_string(rd()));
        std::filesystem::create_directories(path_);
        setScratchFolder(path_);  // nothing in it outlives the command: no flushes
    }
    ~ScratchFolder() {
        setScratchFolder({});
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Every analysis of the analysis window for a birth stamp and a place.
int run(const Args& args) {
    args.allowOnly({"stamp", "coord", "calendar", "data"});
    const SubjectArgs given = subjectArgs(args);
    const std::string& stamp = given.stamp;
    const std::string& coord = given.coord;
    const std::string& calendar = given.calendar;
    const DataRoot& root = given.root;

    ChartState chart;
    OrbSettings orbs;
    if (root.exists(kOrbSettingsFile)) {
        loadOrbSettings(root, orbs, chart);
    } else {
        for (const auto& k : kAspectsByDisplay) orbs.AspectOrb[k.orbIndex] = k.setA;
    }
    const CorrectionFiles files{root};
    const ChartSubject subject{stamp, coord, calendar};
    buildChart(chart, files, subject, ChartVariant::Analysis);

    Json j;
    j.beginObject();
    j.field("orbSet", orbs.OrbSetLetter);
    // The houses of the position codes; the ruler of the nativity names its own below.
    j.field("houseSystem", chart.HouseSystem);

    lines(j, "aspectList", aspectListLines(chart, orbs));
    j.key("eclipticGrid").beginArray();
    for (const auto& c : eclipticGrid(chart, orbs)) {
        j.beginObject().field("first", c.first).field("second", c.second).field("separation", c.separation);
        j.field("orbIndex", c.kind ? *c.kind : -1);
        j.field("kind", c.kind ? utf8(aspectKind(*c.kind).editorName) : std::string());
        j.field("glyph", c.glyphCode).field("deviation", c.deviation).endObject();
    }
    j.endArray();
    j.key("sphericalGrid").beginArray();
    for (const auto& c : sphericalGrid(chart, orbs))
        j.beginObject()
            .field("first", c.first)
            .field("second", c.second)
            .field("distance", c.distance)
            .field("text", c.text)
            .field("class", className(c.cls))
            .endObject();
    j.endArray();

    ExchangeFiles exchange(root);
    const ArchetypalStructure structure = computeStructure(chart, exchange);
    j.key("structure").beginArray();
    for (const auto& col : structure.columns) {
        j.beginObject().field("code", int(col.code)).field("group", int(col.group));
        j.field("caption", conditionScreenCaption(col.code));
        j.key("slots").beginArray();
        for (const auto& s : col.entries)
            if (s.planet != 0)
                j.beginObject()
                    .field("planet", int(s.planet))
                    .field("level", int(s.level))
                    .field("parent", int(s.parent))
                    .endObject();
        j.endArray().endObject();
    }
    j.endArray();

    const Weaves w = countWeaves(chart);
    j.key("weaves").beginObject();
    counts(j, "elemental", w.elemental);
    counts(j, "seasonal", w.seasonal);
    humors(j, "humoralElemental", w.humoralElemental);
    humors(j, "humoralSeasonal", w.humoralSeasonal);
    j.endObject();

    const auto sectors = computeSectors(chart);
    j.key("sectors").beginArray();
    for (int b = 1; b <= kChartBodies; ++b) {
        const BodySectors& s = sectors[b];
        j.beginObject().field("body", b).field("name", utf8(kChartBodyNames[b]));
        j.field("dodecatemorion", s.dodecatemorion.longitude).field("dodecatemorionSign", s.dodecatemorion.sign);
        j.field("decan", s.natal.decan).field("decanCode", s.natal.decanCode).field("sector", s.natal.sector);
        j.field("antiscion", s.antiscion).field("contrantiscion", s.contrantiscion);
        j.endObject();
    }
    j.endArray();
    lines(j, "positionCodes", positionCodes(chart, orbs));

    const PlanetaryHour hour = computePlanetaryHour(chart, files);
    j.key("planetaryHour").beginObject();
    j.field("sunrise", hour.sunrise).field("weekday", utf8(hour.weekdayName)).field("hour", hour.hour);
    j.field("shownHour", hour.shownHour).field("diurnal", hour.diurnal);
    j.field("ruler", utf8(planetDisplayName(hour.ruler)));
    j.endObject();

    const YearMasters masters = computeYearMasters(root, chart, files);
    j.key("masters").beginObject();
    j.field("tableYear", masters.tableYear).field("year", utf8(masters.yearName));
    j.field("cycle", utf8(masters.cycleName));
    j.endObject();

    // The ruler of the nativity, as the analysis window runs it: the chart handed over in
    // a file, Placidus houses, then the chart rebuilt.
    ScratchFolder scratch;
    const DataRoot work(scratch.path());
    writeChartHandOff(work, ChartHandOff{"", stamp, coord, "PLACIDO", chart.ChartJulianDay}, chart);
    ChartState rulerChart = chart;
    rulerChart.HouseSystem = "PLACIDO";
    const NativityScores scores = runNativityRuler(work, rulerChart, files);
    j.key("ruler").beginObject();
    j.field("houseSystem", rulerChart.HouseSystem);
    j.key("totals").beginArray();
    for (int b = 1; b <= kScoredBodies; ++b) j.value(scores.totals[b]);
    j.endArray();
    j.key("elements").beginArray();
    for (int v : scores.elements) j.value(v);
    j.endArray();
    j.key("elementsTraditional").beginArray();
    for (int v : scores.elementsTraditional) j.value(v);
    j.endArray();
    j.endObject();

    const Powers powers = runPowers(work, chart);
    j.key("powers").beginObject();
    j.key("heights").beginArray();
    for (int b = 1; b <= kScoredBodies; ++b) j.value(powers.bars[b].height);
    j.endArray();
    j.key("negative").beginArray();
    for (int b = 1; b <= kScoredBodies; ++b) j.value(powers.bars[b].negative);
    j.endArray();
    j.field("dominant", utf8(dominantName(powers.dominant)));
    j.endObject();

    j.endObject();
    std::cout << j.str() << '\n';
    return 0;
}

const Register r("analyse",
                 Command{"--stamp YYYYMMDDhhmm+C --coord 41N54-012E29 [--calendar GR|GI] [--data DIR]", {}, run});

}  // namespace
}  // namespace athanor::cli
