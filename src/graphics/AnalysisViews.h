#pragma once

namespace athanor {

// Registers the analysis drawings and the printable pages as named views (Views.h):
// structure, the weaves, dodecatemoria, antiscia, affinities, powers, the aspect grids,
// the coordinate tables and the four pages. Safe to call more than once.
void registerAnalysisViews();

}  // namespace athanor
