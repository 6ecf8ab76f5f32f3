#pragma once
#include "foundations/ChartState.h"
#include "foundations/DataRoot.h"
#include "interpretation/Aspects.h"

#include <array>
#include <string>

namespace athanor {

inline constexpr const char* kOrbSettingsFile = "FileSet\\OrbiDomi.Stt";
inline constexpr const char* kOrbSetsFile = "FileDum\\MMVarOrb.dum";

// Shown by the main window before the file error when the orb sets file is missing.
inline constexpr const char* kMissingOrbSetsMessage = "Manca File \"MMVarOrb.dum\"";

// One orb set as the files keep it: 14 orbs in display order, then the parallel and
// the antiscia orb.
using OrbSetValues = std::array<long double, 16>;

// The three sets of the orb sets file and the letter of its last line.
struct OrbSets {
    std::array<OrbSetValues, 3> sets{};  // A, B, C
    std::string letter;                  // empty when the file has no 49th line
};

// Reads the 20-line settings file into the orbs and the engine settings of the chart.
// A missing or short file, or a non-numeric orb, is a FileError.
void loadOrbSettings(const DataRoot& root, OrbSettings& orbs, ChartState& chart);

// Writes the 20 lines: the set's values, the engine settings held and the letter.
void writeOrbSettings(const DataRoot& root, const OrbSetValues& values, const ChartState& chart,
                      const std::string& letter);

// Rewrites line `line` (1..20) with `text`, every line cut to 25 characters, then loads
// the settings again.
void replaceSettingsLine(const DataRoot& root, int line, const std::string& text, OrbSettings& orbs, ChartState& chart);

// The orb sets file: 48 numbers and, when `withLetter`, the letter line.
OrbSets readOrbSets(const DataRoot& root, bool withLetter = true);
void writeOrbSets(const DataRoot& root, const OrbSets& sets);

bool orbSetsFileMissing(const DataRoot& root);

// Makes set `letter` ('A', 'B' or 'C') current: the settings file gets that set with the
// engine settings held in memory, the sets file is rewritten with the letter, and the
// settings are loaded again. Returns the letter now loaded. FileError when a file fails
// (the caller shows kMissingOrbSetsMessage first when orbSetsFileMissing()).
char switchOrbSet(const DataRoot& root, char letter, OrbSettings& orbs, ChartState& chart);

}  // namespace athanor
