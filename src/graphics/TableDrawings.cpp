#include "graphics/TableDrawings.h"

#include "foundations/Format.h"
#include "graphics/DrawingKit.h"
#include "graphics/PageCanvas.h"

namespace athanor {

namespace {

std::string positionText(const ChartState& chart, int body, PositionColumn column) {
    const long double lon = chart.BodyLongitude[body];
    switch (column) {
    case PositionColumn::Relative:
        return positionWithSignName(lon, " ");
    case PositionColumn::Absolute:
        return absoluteLongitudeText(lon);
    case PositionColumn::RelativeAndAbsolute:
        return positionWithSignName(lon, " ") + " (" + absoluteLongitudeText(lon) + ")";
    case PositionColumn::Latitude:
        return latitudeText(chart.BodyLatitude[body]);
    }
    return "";
}

double title(PageCanvas& c, const std::string& text, double y, double x, const TableStyle& style) {
    if (text.empty()) return y;
    c.setLogicalTextColour(4);
    c.textLeft(y, x, text, style.titleFont);
    return y + fontUnits(c, style.titleFont) + 1;
}

}  // namespace

double drawPositionTable(PageCanvas& c, const ChartState& chart, PositionColumn column, int lastBody,
                         const std::string& heading, double y, double x, const TableStyle& style) {
    double rowY = title(c, heading, y, x, style) + style.rowStep / 2;
    for (int b = 1; b <= lastBody; ++b, rowY += style.rowStep) {
        c.planetGlyph(b, rowY, x + style.glyph / 2, style.glyph);
        const std::string text = positionText(chart, b, column);
        c.setLogicalTextColour(0);
        textMiddleLeft(c, rowY, x + style.glyph + 2, text, style.font);
        const bool retrograde = b <= 9 && (chart.RetroMark[b] == 'r' || chart.RetroMark[b] == 'R');
        if (retrograde && column != PositionColumn::Latitude) {
            c.setTextColour(colour::Red);
            textMiddleLeft(c, rowY, x + style.glyph + 3 + c.textWidthUnits(text, style.font), "R", style.font);
        }
    }
    return rowY - style.rowStep / 2;
}

double drawDodecatemoriaTable(PageCanvas& c, const std::array<BodySectors, kChartBodies + 1>& sectors, int lastBody,
                              const std::string& heading, double y, double x, const TableStyle& style) {
    double rowY = title(c, heading, y, x, style) + style.rowStep / 2;
    for (int b = 1; b <= lastBody; ++b, rowY += style.rowStep) {
        c.planetGlyph(b, rowY, x + style.glyph / 2, style.glyph);
        c.setLogicalTextColour(0);
        textMiddleLeft(c, rowY, x + style.glyph + 2, positionWithSignName(sectors[b].dodecatemorion.longitude, " "),
                       style.font);
    }
    return rowY - style.rowStep / 2;
}

double drawTermsList(PageCanvas& c, const std::array<BodySectors, kChartBodies + 1>& sectors,
                     const SpecificTexts& texts, int lastBody, const std::string& heading, double y, double x,
                     double width, const TableStyle& style) {
    double rowY = title(c, heading, y, x, style) + style.rowStep / 2;
    for (int b = 1; b <= lastBody; ++b) {
        const auto text = texts.find(kBodyCode4[b] + zeroPadded(sectors[b].natal.sector, 2));
        if (!text) continue;
        std::string line = *text;
        trimTrailingBlanks(line);
        c.planetGlyph(b, rowY, x + style.glyph / 2, style.glyph);
        c.setLogicalTextColour(0);
        textMiddleLeft(c, rowY, x + style.glyph + 2, fitted(c, line, style.font, width - style.glyph - 2), style.font);
        rowY += style.rowStep;
    }
    return rowY - style.rowStep / 2;
}

}  // namespace athanor
