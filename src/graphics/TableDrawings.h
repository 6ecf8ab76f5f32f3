#pragma once
#include "foundations/ChartState.h"
#include "interpretation/Sectors.h"

#include <string>

namespace athanor {

class PageCanvas;

// What a row of a position table shows after the body's glyph.
enum class PositionColumn {
    Relative,             // "05\xB0" "07' Leo" and the retrograde mark
    Absolute,             // "125\xB0" "07'"
    RelativeAndAbsolute,  // "05\xB0" "07' Leo (125\xB0" "07')"
    Latitude,             // " 1\xB0" "23' N"
};

struct TableStyle {
    double rowStep = 6;  // page units between rows
    double glyph = 5;    // glyph size
    int font = 15;       // font of the texts
    int titleFont = 15;
};

// A titled table of positions, one row per body 1..lastBody, from the top-left corner
// (Y, X). Returns the Y under the last row.
double drawPositionTable(PageCanvas& canvas, const ChartState& chart, PositionColumn column, int lastBody,
                         const std::string& title, double y, double x, const TableStyle& style = {});

// The dodecatemoria of bodies 1..lastBody: glyph and position in its sign.
double drawDodecatemoriaTable(PageCanvas& canvas, const std::array<BodySectors, kChartBodies + 1>& sectors,
                              int lastBody, const std::string& title, double y, double x, const TableStyle& style = {});

// The texts of a keyed list (terms of the printed pages): per body 1..lastBody the text
// of its key, when the file has one, each line cut to `width` page units.
double drawTermsList(PageCanvas& canvas, const std::array<BodySectors, kChartBodies + 1>& sectors,
                     const SpecificTexts& texts, int lastBody, const std::string& title, double y, double x,
                     double width, const TableStyle& style = {});

// The terms texts of the printed pages.
inline constexpr const char* kPageTermsFile = "OpzioneT\\SpgPianCan.Txt";

}  // namespace athanor
