#include "graphics/Pages.h"

#include "foundations/Calendar.h"
#include "foundations/DataRoot.h"
#include "foundations/FileError.h"
#include "foundations/Format.h"
#include "foundations/TextFile.h"
#include "graphics/DrawingKit.h"
#include "graphics/GridDrawings.h"
#include "graphics/PageCanvas.h"
#include "graphics/SectorDrawings.h"
#include "graphics/StructureDrawing.h"
#include "graphics/TableDrawings.h"
#include "graphics/WeaveDrawings.h"
#include "graphics/Wheel.h"
#include "interpretation/Sectors.h"
#include "interpretation/SignFigures.h"
#include "interpretation/Weaves.h"
#include "subjects/BirthStamp.h"
#include "subjects/CoordText.h"
#include "subjects/SubjectFiles.h"

#include <cmath>
#include <functional>

namespace athanor {

namespace {

// Right margin of the landscape layouts (the sheet is 383 units wide there).
constexpr double kLandscapeRight = 373;
// The natal pages draw the wheel at a share of the analysis wheel's size (as much as the
// page leaves it), times the page's own 1.15, around a centre moved from their base
// centre.
constexpr double kPortraitWheelBase = 0.57;
constexpr double kLandscapeWheelBase = 0.5;
constexpr double kNatalWheelZoom = 1.15;
constexpr double kBaseCentreY = 104, kBaseCentreX = 193;

// The wheels of the layouts, in the layouts' own units.
constexpr PageWheel kVertical1Wheel{kBaseCentreY + 18, kBaseCentreX - 25, kPortraitWheelBase* kNatalWheelZoom};
constexpr PageWheel kHorizontal1Wheel{kBaseCentreY - 7, kBaseCentreX - 5, kLandscapeWheelBase* kNatalWheelZoom};
// The affinity pages: the energetic wheel, then the specular one.
constexpr PageWheel kVertical2Wheels[2] = {{122, 196, 0.53}, {270, 196, 0.53}};
constexpr PageWheel kHorizontal2Wheels[2] = {{122, 95, 0.45}, {122, 255, 0.45}};

int whole(long double v) { return static_cast<int>(std::lround(static_cast<double>(v))); }

std::string coordinatesLine(const ChartState& c) {
    return "Lat. " + zeroPadded(whole(c.LatitudeDegrees), 2) + "\xB0" + zeroPadded(whole(c.LatitudeMinutes), 2) + "' " +
           c.LatitudeHemisphere + "   Long. " + zeroPadded(whole(c.LongitudeDegrees), 3) + "\xB0" +
           zeroPadded(whole(c.LongitudeMinutes), 2) + "' " + c.LongitudeSide;
}

std::string houseCaption(const ChartState& c) {
    if (c.HouseSystem == "CASE_MEDIE") return "DOMIFICACI\xD3N: CASAS MEDIANAS";
    if (c.HouseSystem == "PLACIDO") return "DOMIFICACI\xD3N: PLACIDUS";
    return "DOMIFICACI\xD3N: " + c.HouseSystem;
}

std::string nodeCaption(const ChartState& c) {
    return c.NodeKind == "VERO" ? "NODO LUNAR VERDADERO" : "NODO LUNAR MEDIO";
}

// A wheel of the printed style drawn at `scale` of the analysis wheel with its centre at
// (Y, X) of the page; `more` draws over it on the same scaled canvas.
void pageWheel(PageCanvas& page, const PageContent& p, const PageWheel& at, bool aspects,
               const std::function<void(PageCanvas&, const WheelGeometry&)>& more = {}) {
    ScaledCanvas scaled(page, p.data, at.scale);
    WheelGeometry g;
    g.cy = at.y / at.scale;
    g.cx = at.x / at.scale;
    WheelOptions o;
    o.style = WheelStyle::Print;
    o.aspectLines = aspects;
    drawWheel(*scaled, p.chart, p.orbs, g, o);
    if (more) more(*scaled, g);
}

struct HeaderPlace {
    double right;  // right edge of the captions
    double houseY = 19.8;
    double dateY, dateX;  // the date and user header
};

void header(PageCanvas& c, const PageContent& p, const HeaderPlace& at) {
    drawSubjectHeader(c, p.subject, "TEMA DE NACIMIENTO", at.right);
    c.setLogicalTextColour(4);
    c.textRight(at.houseY, at.right, houseCaption(p.chart), 15);
    c.textRight(std::max(23.5, at.houseY + fontUnits(c, 15)), at.right, nodeCaption(p.chart), 15);
    c.header(at.dateY, at.dateX, p.userName, p.today);
}

TableStyle listStyle() {
    TableStyle s;
    s.rowStep = 4.4;
    s.glyph = 3.6;
    s.font = 0;
    s.titleFont = 15;
    return s;
}

TableStyle tableStyle() {
    TableStyle s;
    s.rowStep = 6.2;
    s.glyph = 4.5;
    s.font = 15;
    s.titleFont = 15;
    return s;
}

SpecificTexts pageTerms(const DataRoot& data) { return SpecificTexts(readLines(data.resolve(kPageTermsFile))); }

void vertical1(PageCanvas& c, const PageContent& p) {
    ExchangeFiles exchange(p.data);
    const ArchetypalStructure structure = computeStructure(p.chart, exchange);
    const auto sectors = computeSectors(p.chart);
    const SpecificTexts terms = pageTerms(p.data);

    header(c, p, HeaderPlace{230, 19.8, 316, 225});
    pageWheel(c, p, kVertical1Wheel, p.aspectLines);

    drawPositionTable(c, p.chart, PositionColumn::Relative, kChartBodies, "LONGITUDES relativas", 115, 18,
                      tableStyle());
    drawEclipticGrid(c, p.chart, p.orbs, 202, 15, false);
    drawTermsList(c, sectors, terms, 9, "T\xC9RMINOS", 220, 115, 88, listStyle());
    drawDodecatemoriaTable(c, sectors, 9, "DODECATEMORIAS", 275, 115, listStyle());
    TableStyle lat = listStyle();
    lat.rowStep = 5;
    lat.font = 15;
    drawPositionTable(c, p.chart, PositionColumn::Latitude, 7, "LATITUDES", 219, 205, lat);
    drawStructurePrint(c, structure, 315, 25);

    c.setLogicalTextColour(0);
    c.textLeft(267.5, 165,
               "NOTA: en el gr\xE1"
               "fico zodiacales no",
               2);
    c.textLeft(272.5, 165, "no son trazados los aspectos", 2);
    c.textLeft(277.5, 165, "que implican los nodos lunares", 2);
    c.footerTag(170, 190);
}

void horizontal1(PageCanvas& c, const PageContent& p) {
    ExchangeFiles exchange(p.data);
    const ArchetypalStructure structure = computeStructure(p.chart, exchange);
    const auto sectors = computeSectors(p.chart);
    const SpecificTexts terms = pageTerms(p.data);

    header(c, p, HeaderPlace{kLandscapeRight, 20.5, 255, kLandscapeRight});
    pageWheel(c, p, kHorizontal1Wheel, p.aspectLines);

    TableStyle lat = listStyle();
    lat.rowStep = 4.6;
    lat.font = 15;
    drawPositionTable(c, p.chart, PositionColumn::Latitude, 7, "LATITUDES", 65, 18, lat);
    drawEclipticGrid(c, p.chart, p.orbs, 105, 15, false);
    drawDodecatemoriaTable(c, sectors, 9, "DODECATEMORIAS", 90, 265, listStyle());
    drawTermsList(c, sectors, terms, 9, "T\xC9RMINOS", 150, 243, kLandscapeRight - 243, listStyle());
    TableStyle both = listStyle();
    both.rowStep = 4.6;
    both.font = 33;
    drawPositionTable(c, p.chart, PositionColumn::RelativeAndAbsolute, kChartBodies,
                      "LONGITUDES relativas (entre par\xE9ntesis: Longitudes absolutas)", 210, 165, both);
    drawStructurePrint(c, structure, 218, 25);

    c.setLogicalTextColour(0);
    c.textCentred(185, 170,
                  "NOTA: en el gr\xE1"
                  "fico zodiacales no son trazados los aspectos",
                  15);
    c.textCentred(190, 170, "que implican los Nodos Lunares", 15);
    c.footerTag(108, 300);
}

// The energetic wheel (magnetic and soli-lunar chords) and the specular one (antiscia and
// contrantiscia).
void affinityWheels(PageCanvas& c, const PageContent& p, const PageWheel (&at)[2]) {
    pageWheel(c, p, at[0], false, [&](PageCanvas& w, const WheelGeometry& g) {
        drawSignCircle(w, p.chart, g);
        drawSignChords(w, p.chart, g, kMagneticChords, false);
        drawSignChords(w, p.chart, g, kSoliLunarChords, true);
    });
    pageWheel(c, p, at[1], false, [&](PageCanvas& w, const WheelGeometry& g) {
        drawSignCircle(w, p.chart, g);
        drawSignChords(w, p.chart, g, kAntisciaChords, false);
        drawSignChords(w, p.chart, g, kContrantisciaChords, false);
    });
}

void vertical2(PageCanvas& c, const PageContent& p) {
    const Weaves w = countWeaves(p.chart);
    header(c, p, HeaderPlace{230, 19.8, 181, 225});

    affinityWheels(c, p, kVertical2Wheels);
    c.setLogicalTextColour(4);
    c.textRight(52, 113, "AFINIDAD' ENERG\xC9TICA", 15);
    c.textRight(57, 111, "(Magn\xE9ticas y Soli-lunares)", 15);
    c.textRight(202, 113, "AFINIDADES' ESPECULARES", 15);
    c.textRight(207, 111, "(por Antiscia y Contrantiscia)", 15);

    drawElementalWeave(c, w.elemental, 95, 46, WeaveLook::Print);
    drawHumoralTable(c, w.humoralElemental, false, 160, 50, WeaveLook::Print);
    drawSeasonalWeave(c, w.seasonal, 233, 46, WeaveLook::Print);
    drawHumoralTable(c, w.humoralSeasonal, true, 300, 50, WeaveLook::Print);
}

void horizontal2(PageCanvas& c, const PageContent& p) {
    const Weaves w = countWeaves(p.chart);
    header(c, p, HeaderPlace{kLandscapeRight, 19.8, 255, kLandscapeRight});

    affinityWheels(c, p, kHorizontal2Wheels);
    c.setLogicalTextColour(4);
    c.textLeft(60, 15, "AFINIDADES ENERG\xC9TICAS", 15);
    c.textLeft(65, 15, "(Magn\xE9ticas y Soli-lunares)", 15);
    c.textLeft(60, 175, "AFINIDADES ESPECULARES", 15);
    c.textLeft(65, 175, "(por antiscia y Contrantiscia)", 15);

    drawElementalWeave(c, w.elemental, 215, 50, WeaveLook::Print);
    drawHumoralTable(c, w.humoralElemental, false, 215, 130, WeaveLook::Print);
    drawSeasonalWeave(c, w.seasonal, 210, 230, WeaveLook::Print);
    drawHumoralTable(c, w.humoralSeasonal, true, 215, 305, WeaveLook::Print);
}

}  // namespace

bool pagePortrait(PageLayout layout) { return layout == PageLayout::Vertical1 || layout == PageLayout::Vertical2; }

char pageOrientation(PageLayout layout) { return pagePortrait(layout) ? 'P' : 'L'; }

std::vector<PageWheel> pageWheels(PageLayout layout) {
    const auto onPage = [](PageWheel w) {
        return PageWheel{w.y * kLandscapeScale, w.x * kLandscapeScale, w.scale * kLandscapeScale};
    };
    switch (layout) {
    case PageLayout::Vertical1:
        return {kVertical1Wheel};
    case PageLayout::Vertical2:
        return {kVertical2Wheels[0], kVertical2Wheels[1]};
    case PageLayout::Horizontal1:
        return {onPage(kHorizontal1Wheel)};
    case PageLayout::Horizontal2:
        return {onPage(kHorizontal2Wheels[0]), onPage(kHorizontal2Wheels[1])};
    }
    return {};
}

PageSubject pageSubjectFromChart(const ChartState& c) {
    PageSubject s;
    s.dateLine = "Nacimiento: " + zeroPadded(whole(c.Day), 2) + "/" + zeroPadded(whole(c.Month), 2) + "/" +
                 zeroPadded(whole(c.Year), 4) + "  " + zeroPadded(whole(c.Hour), 2) + ":" +
                 zeroPadded(whole(c.Minute), 2) + "  GMT" + timeCorrectionText(c.TimeCorrection);
    if (c.CalendarFlag == 0) s.dateLine += " Calend. Giuliano";
    // A record saved before dates were checked: the page must not pass it off as a real date.
    if (!civilDateExists(whole(c.Year), whole(c.Month), whole(c.Day), c.CalendarFlag))
        s.dateLine += "  (fecha inexistente)";
    s.coordLine = coordinatesLine(c);
    return s;
}

PageSubject pageSubjectFor(const ChartState& chart, const DataRoot& data) {
    PageSubject s = pageSubjectFromChart(chart);
    CurrentSubject current;
    try {
        current = loadCurrent(data);
    } catch (const FileError&) {
        return s;
    }
    const StampDate d = stampDate(current.record.birthStamp);
    const Coordinates place = decodeCoordText(current.record.coordText());
    const bool same = d.year == whole(chart.Year) && d.month == whole(chart.Month) && d.day == whole(chart.Day) &&
                      d.hour == whole(chart.Hour) && d.minute == whole(chart.Minute) &&
                      place.latitudeDegrees == whole(chart.LatitudeDegrees) &&
                      place.latitudeMinutes == whole(chart.LatitudeMinutes) &&
                      place.longitudeDegrees == whole(chart.LongitudeDegrees) &&
                      place.longitudeMinutes == whole(chart.LongitudeMinutes) &&
                      place.latitudeLetter == chart.LatitudeHemisphere && place.longitudeLetter == chart.LongitudeSide;
    if (!same) return s;
    s.name = entryName(current.entryText);
    std::string locality = current.record.locality();
    cleanLocality(locality);
    trimTrailingBlanks(locality);
    std::string country = current.record.country;
    trimTrailingBlanks(country);
    s.placeLine = country.empty() ? locality : locality + " (" + country + ")";
    s.notesLine = readNotesLine(data);
    return s;
}

void drawSubjectHeader(PageCanvas& c, const PageSubject& s, std::string_view title, double right) {
    c.setLogicalTextColour(0);
    c.textLeft(15, 15, s.name, 4);
    c.textRight(15, right, title, 3);
    c.textLeft(25, 15, s.dateLine, 2);
    c.textLeft(30, 15, s.placeLine, 2);
    c.textLeft(35, 15, s.coordLine, 2);
    c.textLeft(40, 15, s.notesLine, 2);
}

void drawPage(PageCanvas& canvas, PageLayout layout, const PageContent& content) {
    switch (layout) {
    case PageLayout::Vertical1:
        vertical1(canvas, content);
        return;
    case PageLayout::Vertical2:
        vertical2(canvas, content);
        return;
    case PageLayout::Horizontal1: {
        ScaledCanvas sheet(canvas, content.data, kLandscapeScale);
        horizontal1(*sheet, content);
        return;
    }
    case PageLayout::Horizontal2: {
        ScaledCanvas sheet(canvas, content.data, kLandscapeScale);
        horizontal2(*sheet, content);
        return;
    }
    }
}

}  // namespace athanor
