#pragma once
#include "foundations/ChartState.h"
#include "interpretation/Aspects.h"
#include "interpretation/Powers.h"

#include <vector>

namespace athanor {

class DataRoot;
class PageCanvas;
struct ArchetypalStructure;
struct StructureHit;

// The analysis window's views as it composes them on its drawing area (chart centre
// 100, 100), each drawn after the area has been cleared.

// The wheel without its aspect lines and the archetypal structure in its middle; returns
// the structure's glyph positions.
std::vector<StructureHit> drawStructureView(PageCanvas& canvas, const ArchetypalStructure& structure,
                                            const ChartState& chart, const OrbSettings& orbs);
// View 1..4 of the weaves button: elemental weave, elemental humoral table, seasonal
// weave, seasonal humoral table.
void drawWeaveView(PageCanvas& canvas, const ChartState& chart, int view);
// The planetary powers: titles, the ten bars and the ecliptic aspect grid under them.
void drawPowersView(PageCanvas& canvas, const Powers& powers, const ChartState& chart, const OrbSettings& orbs);
// The aspect grids of "Aspectos Planetarios": along the ecliptic or on the sphere.
void drawGridView(PageCanvas& canvas, const ChartState& chart, const OrbSettings& orbs, bool spherical);
// View 1..3 of "Coordenadas Planetarias": relative longitudes, absolute longitudes,
// latitudes of the eleven bodies.
void drawCoordinatesView(PageCanvas& canvas, const ChartState& chart, int view);

// The planetary powers of a chart computed from scratch, as the analysis window runs the
// ruler of the nativity (the chart handed over with Placidus houses), in a folder of its
// own so that the program folder stays as it was. FileError when a correction file fails.
Powers powersOf(const ChartState& chart, const DataRoot& data);

// Registers these views, the sector drawings and the printable pages as named views
// (Views.h): structure, weave-elemental, humoral-elemental, weave-seasonal,
// humoral-seasonal, dodecatemoria, antiscia-1..4, affinities-1..3, powers,
// grid-ecliptic, grid-spherical, longitudes-relative, longitudes-absolute, latitudes,
// vertical1, vertical2, horizontal1, horizontal2. Safe to call more than once.
void registerAnalysisViews();

}  // namespace athanor
