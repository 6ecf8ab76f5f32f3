#include "graphics/GridDrawings.h"

#include "graphics/DrawingKit.h"
#include "graphics/PageCanvas.h"
#include "interpretation/AspectViews.h"
#include "interpretation/Sectors.h"

namespace athanor {

namespace {

constexpr double kW = kGridCellWidth, kH = kGridCellHeight;

void staircase(PageCanvas& c, double y, double x, double glyph) {
    c.selectLogicalPen(10);
    c.releaseBrush();
    for (int j = 2; j <= kChartBodies; ++j)
        for (int i = 1; i < j; ++i) {
            const double top = gridCellTop(y, j), left = gridCellLeft(x, i);
            c.rectangle(top + kH, left + kW, top, left);
        }
    for (int n = 1; n <= kChartBodies; ++n)
        c.planetGlyph(n, gridCellTop(y, n) + kH / 2, gridCellLeft(x, n) + kW / 2, glyph);
}

void titleLines(PageCanvas& c, double y, double x, const char* first, const char* second) {
    const double right = x + kW * kChartBodies;
    const double h = fontUnits(c, 15);
    c.setLogicalTextColour(4);
    c.textRight(y, right, first, 15);
    c.textRight(y + h, right, second, 15);
}

}  // namespace

void drawEclipticGrid(PageCanvas& c, const ChartState& chart, const OrbSettings& orbs, double y, double x,
                      bool titles) {
    staircase(c, y, x, 4.5);
    for (const EclipticCell& cell : eclipticGrid(chart, orbs)) {
        if (!cell.kind) continue;
        const double top = gridCellTop(y, cell.second), left = gridCellLeft(x, cell.first);
        // The glyph grid runs from -4 to 3 down: its middle is half a step above zero.
        c.aspectGlyph(cell.glyphCode, top + kH / 2 + 0.45 * 0.5, left + 2.4, 1.0);
        c.setLogicalTextColour(0);
        textMiddleCentred(c, top + kH / 2, left + 5.7, cell.deviation, 1);
    }
    if (titles) titleLines(c, y, x, "ASPECTOS y \xD3RBITAS", "en la ecl\xEDptica");
}

void drawSphericalGrid(PageCanvas& c, const ChartState& chart, const OrbSettings& orbs, double y, double x) {
    staircase(c, y, x, 5);
    for (const SphericalCell& cell : sphericalGrid(chart, orbs)) {
        const double top = gridCellTop(y, cell.second), left = gridCellLeft(x, cell.first);
        QColor text = colour::Grey;
        switch (cell.cls) {
        case DistanceClass::Hard:
            text = colour::Red;
            break;
        case DistanceClass::Soft:
            text = colour::Cyan;
            break;
        case DistanceClass::Conjunction:
            text = colour::Yellow;
            break;
        case DistanceClass::None:
            break;
        }
        c.setTextColour(ink(c, text));
        // Five characters nearly fill the cell: a wide distance takes the next smaller font
        // rather than touching the rules.
        const int font = c.textWidthUnits(cell.text, 33) <= kW - 0.8 ? 33 : 0;
        textMiddleCentred(c, top + kH / 2 - 0.3, left + kW / 2, cell.text, font);
        if (const int pen = distancePen(cell.cls)) {
            c.selectPen(inkPen(c, pen));
            c.line(top + kH - 0.7, left + 1.5, top + kH - 0.7, left + kW - 1.5);
        }
    }
    c.setLogicalTextColour(0);
    titleLines(c, y, x, "DISTANCIAS", "ESF\xC9RICAS");
}

}  // namespace athanor
