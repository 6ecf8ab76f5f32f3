#pragma once
#include "interpretation/Structure.h"
#include "knowledge/ChartRemedies.h"

#include <array>
#include <vector>

namespace athanor {

// The weaknesses of a chart as the tradition of the structure reads them, in planet order
// (Sun .. Saturn): a planet in exile or in fall, and a planet the structure leaves without
// condition (no dignity, no debility, no reception). A debility is never part of a reception
// in the structure, so a planet in reception is not weak. Each names the planet, the sign it stands
// in (the weakened sign) and the reason in words.
std::vector<ChartWeakness> chartWeaknesses(const ArchetypalStructure& structure, const std::array<int, 8>& signs);

// A chart's structure, its weaknesses and the remedies of the program folder's base that
// answer them (remediesForWeaknesses). FileError when a file of the base or of the
// reception tables is missing or damaged.
struct ChartRemedies {
    std::array<int, 8> signs{};
    ArchetypalStructure structure;
    std::vector<ChartWeakness> weaknesses;
    std::vector<RemedyForChart> remedies;
};
ChartRemedies chartRemediesFor(const DataRoot& root, const ChartState& chart);

}  // namespace athanor
