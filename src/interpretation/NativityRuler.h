#pragma once
#include "engine/CorrectionFiles.h"
#include "foundations/ChartState.h"
#include "foundations/DataRoot.h"
#include "subjects/DatiNasc.h"

#include <array>
#include <string>
#include <vector>

namespace athanor {

// The ruler of the nativity scores the ten bodies Sun .. Pluto in the engine's order
// (8 Uranus, 9 Neptune, 10 Pluto); the ascendant and the midheaven take part as bodies 11
// and 12 without a score of their own.
inline constexpr int kScoredBodies = 10;

inline constexpr const char* kRulerReportFile = "FileDum\\MMMaitre.dum";
inline constexpr const char* kRulerResultFile = "FileDum\\MMMaitr2.dum";

// Positions at the chart instant J and two hours later.
struct NativityPositions {
    std::array<long double, 13> longitude{};  // 1..10 bodies, 11 ascendant, 12 midheaven
    std::array<long double, 11> later{};      // 1..10 at J + 0.08333333 days
    CuspArray cusps{};                        // cusp of house k at [k-1]
};

struct NativityScores {
    std::array<int, 13> sign{};           // 1..12
    std::array<int, 11> house{};          // 1..10
    std::array<long double, 11> speed{};  // degrees per day
    // rows[r][b]: criterion r (0..6) for body b (1..10). Row 0 holds the ascendant's
    // sign rows as added to every body.
    std::array<std::array<int, 11>, 7> rows{};
    std::vector<int> houseRowInHouseOrder;  // row 4 as the report lists it
    std::array<int, 11> totals{};
    std::array<int, 4> elements{};             // fire, earth, air, water
    std::array<int, 4> elementsTraditional{};  // Sun .. Saturn only
};

// Sign-table entry: row = sign 1..12, column = body 1..10.
int rulerSignValue(int sign, int body);

// Third criterion: 5 strictly inside one of the body's four traditional zones (bodies 1..7).
int rulerZoneValue(int body, long double longitude);
// Seventh criterion: 1, 3 or 5 for a direct body below, within or above its bounds; -1,
// -3 or -5 for a retrograde one by its absolute speed.
int rulerSpeedValue(int body, long double speed);

// House of a body for this method: the first house whose arc, cusp included at both
// ends, holds it, so a body on a cusp stands in the earlier house.
int rulerHouseOf(long double longitude, const CuspArray& cusps);

NativityScores scoreNativity(const NativityPositions& p);

// Element values from twelve signs and twelve totals (bodies 11 and 12 score 0).
std::array<int, 4> elementValues(const std::array<int, 13>& signs, const std::array<int, 13>& totals);

// "Nascita a LOCALITY il DD/MM/YYYY hh:mm  GMT+1"
std::string nativityDescription(const ChartHandOff& handOff);

std::vector<std::string> nativityReportLines(const std::string& name, const std::string& description,
                                             const NativityScores& s);
std::vector<std::string> nativityResultLines(const NativityScores& s);

// Reads the chart hand-off file, computes the positions with the engine at its Julian day
// (the house system held in the chart), scores them and writes both files. The chart
// state is left with the hand-off's place and instant and the positions two hours after
// the birth; the caller rebuilds its chart.
NativityScores runNativityRuler(const DataRoot& root, ChartState& chart, const CorrectionFiles& files);

}  // namespace athanor
