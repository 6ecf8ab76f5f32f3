#pragma once
#include "foundations/ChartState.h"
#include "interpretation/Aspects.h"

#include <string>
#include <string_view>
#include <vector>

namespace athanor {

class DataRoot;
class PageCanvas;

// The four printable summary pages, by the page numbers the main window stores.
enum class PageLayout {
    Vertical1 = 5,     // natal chart with tables, portrait
    Horizontal1 = 16,  // natal chart with tables, landscape
    Horizontal2 = 17,  // affinities and weaves, landscape
    Vertical2 = 18,    // affinities and weaves, portrait
};

bool pagePortrait(PageLayout layout);
// "P" or "L", as the main window stores the orientation.
char pageOrientation(PageLayout layout);

// The subject lines of the page header.
struct PageSubject {
    std::string name;
    std::string dateLine;   // date, time and zone; " Calend. Giuliano" for Julian dates
    std::string placeLine;  // place and country
    std::string coordLine;
    std::string notesLine;  // the annotation line
};

// The lines the chart itself can give: date, time, zone and coordinates.
PageSubject pageSubjectFromChart(const ChartState& chart);
// The same, with the name, place, country and annotation line of the current subject
// (TMPR record 0 and FileDum\Annotaz.dum) when its birth data are the chart's.
PageSubject pageSubjectFor(const ChartState& chart, const DataRoot& data);

// The subject's lines on the left and the page's title on the right (its right edge at
// `right`), as every printed page begins.
void drawSubjectHeader(PageCanvas& canvas, const PageSubject& subject, std::string_view title, double right);

struct PageContent {
    const ChartState& chart;
    const OrbSettings& orbs;
    const DataRoot& data;
    PageSubject subject;
    std::string userName;  // the practitioner (header)
    std::string today;     // "DD/MM/YYYY"
    bool aspectLines = true;
};

// Where a page draws a chart wheel: its centre in page units and its size as a share of
// the analysis wheel. Its outermost texts stay within 118 units times that share.
struct PageWheel {
    double y, x, scale;
};
std::vector<PageWheel> pageWheels(PageLayout layout);

// Landscape pages are laid out on the sheet in the units of the portrait pages and drawn
// at this scale, so that they stand inside the landscape page (279 x 202 units).
inline constexpr double kLandscapeScale = 0.705;

// Draws a page onto the canvas: positions are those of the page in page units, the
// canvas's zoom and pan applied. Reads the exchange files (the archetypal structure) and,
// for the natal pages, the terms texts "OpzioneT\SpgPianCan.Txt"; FileError when one is
// missing.
void drawPage(PageCanvas& canvas, PageLayout layout, const PageContent& content);

}  // namespace athanor
