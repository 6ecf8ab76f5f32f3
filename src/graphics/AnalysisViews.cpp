#include "graphics/AnalysisViews.h"

#include "graphics/StructureDrawing.h"

#include "engine/CorrectionFiles.h"
#include "foundations/DataRoot.h"
#include "foundations/Format.h"
#include "graphics/DrawingKit.h"
#include "graphics/GridDrawings.h"
#include "graphics/PageCanvas.h"
#include "graphics/Pages.h"
#include "graphics/PowerDrawings.h"
#include "graphics/SectorDrawings.h"
#include "graphics/TableDrawings.h"
#include "graphics/Views.h"
#include "graphics/WeaveDrawings.h"
#include "graphics/Wheel.h"
#include "interpretation/NativityRuler.h"
#include "interpretation/Powers.h"
#include "interpretation/Weaves.h"
#include "subjects/BirthStamp.h"
#include "subjects/CoordText.h"
#include "subjects/DatiNasc.h"

#include <filesystem>
#include <random>

namespace athanor {

namespace {

// The analysis window's drawing area, with room for the wheel's outer labels.
constexpr double kArea = 200;

void add(const char* name, std::function<void(PageCanvas&, const ViewContext&)> draw) {
    registerView(View{name, kArea, kArea, true, std::move(draw)});
}

void titleLines(PageCanvas& c, const char* title, const char* subtitle) {
    c.setTextColour(ink(c, colour::Cyan));
    c.textLeft(5, 5, title, 2);
    if (subtitle) c.textLeft(10, 5, subtitle, 15);
}

// A folder of its own for the hand-off and result files of the ruler of the nativity, so
// that drawing the powers leaves the program folder as it was.
class ScratchFolder {
public:
    ScratchFolder() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("athanor-powers-" + std::to_string(rd()) + "-" + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The scores of the ruler of the nativity for the chart, computed as the analysis window
// runs them: the chart handed over with Placidus houses.
Powers powersOf(const ChartState& chart, const DataRoot& data) {
    const StampDate date{static_cast<int>(chart.Year), static_cast<int>(chart.Month), static_cast<int>(chart.Day),
                         static_cast<int>(chart.Hour), static_cast<int>(chart.Minute)};
    Coordinates place;
    place.latitudeDegrees = static_cast<int>(chart.LatitudeDegrees);
    place.latitudeMinutes = static_cast<int>(chart.LatitudeMinutes);
    place.latitudeLetter = chart.LatitudeHemisphere;
    place.longitudeDegrees = static_cast<int>(chart.LongitudeDegrees);
    place.longitudeMinutes = static_cast<int>(chart.LongitudeMinutes);
    place.longitudeLetter = chart.LongitudeSide;

    ScratchFolder scratch;
    const DataRoot work(scratch.path());
    writeChartHandOff(work,
                      ChartHandOff{"", makeBirthStamp(date, chart.TimeCorrection), formatCoordText(place), "PLACIDO",
                                   chart.ChartJulianDay},
                      chart);
    ChartState working = chart;
    working.HouseSystem = "PLACIDO";
    const CorrectionFiles files(data);
    runNativityRuler(work, working, files);
    return computePowers(readPowerScores(work));
}

void addPage(const char* name, PageLayout layout) {
    const bool portrait = pagePortrait(layout);
    registerView(View{name, portrait ? 405.0 : 202.0, DrawingState::kPageWidth, portrait,
                      [layout](PageCanvas& c, const ViewContext& ctx) {
                          PageContent content{ctx.chart, ctx.orbs, ctx.data, pageSubjectFor(ctx.chart, ctx.data),
                                              ctx.userName, ctx.today};
                          drawPage(c, layout, content);
                      }});
}

WheelOptions plainWheel() {
    WheelOptions o;
    o.aspectLines = false;
    return o;
}

}  // namespace

void registerAnalysisViews() {
    add("structure", [](PageCanvas& c, const ViewContext& ctx) {
        ExchangeFiles files(ctx.data);
        const ArchetypalStructure s = computeStructure(ctx.chart, files);
        drawWheel(c, ctx.chart, ctx.orbs, WheelGeometry{}, plainWheel());
        drawStructureScreen(c, s);
    });

    add("weave-elemental", [](PageCanvas& c, const ViewContext& ctx) {
        drawElementalWeave(c, countWeaves(ctx.chart).elemental, kElementalWeaveY, kElementalWeaveX, WeaveLook::Screen);
    });
    add("humoral-elemental", [](PageCanvas& c, const ViewContext& ctx) {
        drawHumoralTable(c, countWeaves(ctx.chart).humoralElemental, false, kWeaveY, kWeaveX, WeaveLook::Screen);
    });
    add("weave-seasonal", [](PageCanvas& c, const ViewContext& ctx) {
        drawSeasonalWeave(c, countWeaves(ctx.chart).seasonal, kWeaveY, kWeaveX, WeaveLook::Screen);
    });
    add("humoral-seasonal", [](PageCanvas& c, const ViewContext& ctx) {
        drawHumoralTable(c, countWeaves(ctx.chart).humoralSeasonal, true, kWeaveY, kWeaveX, WeaveLook::Screen);
    });

    add("dodecatemoria", [](PageCanvas& c, const ViewContext& ctx) {
        drawDodecatemoriaView(c, ctx.data, ctx.chart, ctx.orbs);
    });
    for (int v = 1; v <= 4; ++v) {
        const std::string name = "antiscia-" + std::to_string(v);
        add(name.c_str(), [v](PageCanvas& c, const ViewContext& ctx) { drawAntisciaView(c, ctx.chart, ctx.orbs, v); });
    }
    for (int v = 1; v <= 3; ++v) {
        const std::string name = "affinities-" + std::to_string(v);
        add(name.c_str(), [v](PageCanvas& c, const ViewContext& ctx) { drawAffinityView(c, ctx.chart, ctx.orbs, v); });
    }

    add("powers", [](PageCanvas& c, const ViewContext& ctx) {
        const Powers powers = powersOf(ctx.chart, ctx.data);
        titleLines(c, "POTENCIAS PLANETARIAS", "(de acuerdo con Tarquell)");
        drawPowerBars(c, powers, 100 - 31.2, 28);
        drawEclipticGrid(c, ctx.chart, ctx.orbs, 88, 56, true);
    });

    add("grid-ecliptic", [](PageCanvas& c, const ViewContext& ctx) {
        drawEclipticGrid(c, ctx.chart, ctx.orbs, 70, 56, true);
    });
    add("grid-spherical", [](PageCanvas& c, const ViewContext& ctx) {
        drawSphericalGrid(c, ctx.chart, ctx.orbs, 70, 56);
    });

    TableStyle coordinates;
    coordinates.rowStep = 9;
    coordinates.glyph = 6;
    coordinates.font = 2;
    coordinates.titleFont = 2;
    add("longitudes-relative", [coordinates](PageCanvas& c, const ViewContext& ctx) {
        drawPositionTable(c, ctx.chart, PositionColumn::Relative, kChartBodies, "LONGITUDES RELATIVAS", 45, 60,
                          coordinates);
    });
    add("longitudes-absolute", [coordinates](PageCanvas& c, const ViewContext& ctx) {
        drawPositionTable(c, ctx.chart, PositionColumn::Absolute, kChartBodies, "LONGITUDES ABSOLUTAS", 45, 70,
                          coordinates);
    });
    add("latitudes", [coordinates](PageCanvas& c, const ViewContext& ctx) {
        drawPositionTable(c, ctx.chart, PositionColumn::Latitude, kChartBodies, "LATITUDES", 45, 70, coordinates);
    });

    addPage("vertical1", PageLayout::Vertical1);
    addPage("vertical2", PageLayout::Vertical2);
    addPage("horizontal1", PageLayout::Horizontal1);
    addPage("horizontal2", PageLayout::Horizontal2);
}

}  // namespace athanor
