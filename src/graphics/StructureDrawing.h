#pragma once
#include "interpretation/Structure.h"

#include <vector>

namespace athanor {

class PageCanvas;

// Where a planet glyph of the archetypal structure was drawn, for the mouse.
struct StructureHit {
    int planet;   // 1..7
    double y, x;  // glyph centre, page units
};

// The structure in the middle of the analysis wheel: columns centred on the chart centre
// (CX, CY), the bottom line at CY + 18. Returns the glyph positions.
std::vector<StructureHit> drawStructureScreen(PageCanvas& canvas, const ArchetypalStructure& structure, double cx = 100,
                                              double cy = 100);

// The printed variant: the bottom line at anchorY, the first column at anchorX, with its
// title above.
void drawStructurePrint(PageCanvas& canvas, const ArchetypalStructure& structure, double anchorY, double anchorX);

}  // namespace athanor
