#include "graphics/AnalysisViews.h"

#include "graphics/StructureDrawing.h"

#include "engine/CorrectionFiles.h"
#include "foundations/DataRoot.h"
#include "foundations/Format.h"
#include "graphics/DrawingKit.h"
#include "graphics/GridDrawings.h"
#include "graphics/PageCanvas.h"
#include "graphics/Pages.h"
#include "graphics/RemediesPage.h"
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
    registerView(View{name, kArea, kArea, true, std::move(draw), {}});
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

void addPage(const char* name, PageLayout layout) {
    const bool portrait = pagePortrait(layout);
    registerView(View{name, portrait ? 405.0 : 202.0, DrawingState::kPageWidth, portrait,
                      [layout](PageCanvas& c, const ViewContext& ctx) {
                          PageContent content{ctx.chart,    ctx.orbs, ctx.data, pageSubjectFor(ctx.chart, ctx.data),
                                              ctx.userName, ctx.today};
                          drawPage(c, layout, content);
                      },
                      {}});
}

// The chart's remedies from the program folder's base, on as many portrait sheets as they take.
void addRemediesPage() {
    const auto sheet = [](PageCanvas& c, const ViewContext& ctx, int index) {
        const ChartRemedies found = chartRemediesFor(ctx.data, ctx.chart);
        const RemediesPageContent content{found, pageSubjectFor(ctx.chart, ctx.data), ctx.userName, ctx.today};
        const RemediesPages pages(c, content);
        pages.draw(c, index);
        return pages.count();
    };
    registerView(View{"remedies", 405.0, DrawingState::kPageWidth, true,
                      [sheet](PageCanvas& c, const ViewContext& ctx) { sheet(c, ctx, 0); }, sheet});
}

WheelOptions plainWheel() {
    WheelOptions o;
    o.aspectLines = false;
    return o;
}

}  // namespace

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

std::vector<StructureHit> drawStructureView(PageCanvas& c, const ArchetypalStructure& structure,
                                            const ChartState& chart, const OrbSettings& orbs) {
    drawWheel(c, chart, orbs, WheelGeometry{}, plainWheel());
    return drawStructureScreen(c, structure);
}

void drawWeaveView(PageCanvas& c, const ChartState& chart, int view) {
    const Weaves w = countWeaves(chart);
    switch (view) {
    case 1:
        drawElementalWeave(c, w.elemental, kElementalWeaveY, kElementalWeaveX, WeaveLook::Screen);
        break;
    case 2:
        drawHumoralTable(c, w.humoralElemental, false, kWeaveY, kWeaveX, WeaveLook::Screen);
        break;
    case 3:
        drawSeasonalWeave(c, w.seasonal, kWeaveY, kWeaveX, WeaveLook::Screen);
        break;
    case 4:
        drawHumoralTable(c, w.humoralSeasonal, true, kWeaveY, kWeaveX, WeaveLook::Screen);
        break;
    default:
        break;
    }
}

void drawPowersView(PageCanvas& c, const Powers& powers, const ChartState& chart, const OrbSettings& orbs) {
    titleLines(c, "POTENCIAS PLANETARIAS", "(de acuerdo con Tarquell)");
    // Ten bars six units apart, centred over the area.
    drawPowerBars(c, powers, 100 - 31.2, 28);
    drawEclipticGrid(c, chart, orbs, 88, 56, true);
}

void drawGridView(PageCanvas& c, const ChartState& chart, const OrbSettings& orbs, bool spherical) {
    // The staircase of 11 x 11 cells centred on the area.
    if (spherical) drawSphericalGrid(c, chart, orbs, 70, 56);
    else drawEclipticGrid(c, chart, orbs, 70, 56, true);
}

void drawCoordinatesView(PageCanvas& c, const ChartState& chart, int view) {
    TableStyle style;
    style.rowStep = 9;
    style.glyph = 6;
    style.font = 2;
    style.titleFont = 2;
    switch (view) {
    case 1:
        drawPositionTable(c, chart, PositionColumn::Relative, kChartBodies, "LONGITUDES RELATIVAS", 45, 60, style);
        break;
    case 2:
        drawPositionTable(c, chart, PositionColumn::Absolute, kChartBodies, "LONGITUDES ABSOLUTAS", 45, 70, style);
        break;
    case 3:
        drawPositionTable(c, chart, PositionColumn::Latitude, kChartBodies, "LATITUDES", 45, 70, style);
        break;
    default:
        break;
    }
}

void registerAnalysisViews() {
    add("structure", [](PageCanvas& c, const ViewContext& ctx) {
        ExchangeFiles files(ctx.data);
        drawStructureView(c, computeStructure(ctx.chart, files), ctx.chart, ctx.orbs);
    });
    const char* const weaves[] = {"weave-elemental", "humoral-elemental", "weave-seasonal", "humoral-seasonal"};
    for (int v = 1; v <= 4; ++v)
        add(weaves[v - 1], [v](PageCanvas& c, const ViewContext& ctx) { drawWeaveView(c, ctx.chart, v); });

    add("dodecatemoria",
        [](PageCanvas& c, const ViewContext& ctx) { drawDodecatemoriaView(c, ctx.data, ctx.chart, ctx.orbs); });
    for (int v = 1; v <= 4; ++v) {
        const std::string name = "antiscia-" + std::to_string(v);
        add(name.c_str(), [v](PageCanvas& c, const ViewContext& ctx) { drawAntisciaView(c, ctx.chart, ctx.orbs, v); });
    }
    for (int v = 1; v <= 3; ++v) {
        const std::string name = "affinities-" + std::to_string(v);
        add(name.c_str(), [v](PageCanvas& c, const ViewContext& ctx) { drawAffinityView(c, ctx.chart, ctx.orbs, v); });
    }

    add("powers", [](PageCanvas& c, const ViewContext& ctx) {
        drawPowersView(c, powersOf(ctx.chart, ctx.data), ctx.chart, ctx.orbs);
    });
    add("grid-ecliptic", [](PageCanvas& c, const ViewContext& ctx) { drawGridView(c, ctx.chart, ctx.orbs, false); });
    add("grid-spherical", [](PageCanvas& c, const ViewContext& ctx) { drawGridView(c, ctx.chart, ctx.orbs, true); });

    const char* const coordinates[] = {"longitudes-relative", "longitudes-absolute", "latitudes"};
    for (int v = 1; v <= 3; ++v)
        add(coordinates[v - 1], [v](PageCanvas& c, const ViewContext& ctx) { drawCoordinatesView(c, ctx.chart, v); });

    addPage("vertical1", PageLayout::Vertical1);
    addPage("vertical2", PageLayout::Vertical2);
    addPage("horizontal1", PageLayout::Horizontal1);
    addPage("horizontal2", PageLayout::Horizontal2);
    addRemediesPage();
}

}  // namespace athanor
