#pragma once
#include "foundations/ChartState.h"
#include "foundations/DataRoot.h"

#include <array>
#include <string>

namespace athanor {

inline constexpr const char* kSummaryFile = "FileDum\\Dati3.dum";

// One bar of the planetary powers, bodies 1..10 in the engine's order (8 Uranus,
// 9 Neptune, 10 Pluto).
struct PowerBar {
    long double score = 0;
    std::string text;       // the score as shown, at most 4 characters
    int height = 3;         // page units, 3 to 30 (more for a score far below zero)
    bool negative = false;  // drawn red: the text begins with "-"
};

struct Powers {
    std::array<PowerBar, 11> bars{};  // [1..10]
    int dominant = 1;                 // the first body with the highest score
    long double maximum = 0;
};

// The score texts: shortest decimal form, decimal comma, cut to 4 characters.
std::string scoreText(long double score);

// Bars scaled so that the highest score stands 30 units; at least 3 units each. When no
// score is positive, the largest magnitude sets the scale instead (the highest score
// would divide by zero or turn every bar upside down); when every score is 0 every bar
// keeps the minimum height.
Powers computePowers(const std::array<long double, 11>& scores);

// The first 10 lines of the ruler-of-the-nativity result file. FileError when missing,
// short or not numeric.
std::array<long double, 11> readPowerScores(const DataRoot& root);

// The dominant body's name in capitals, as the analysis window names the bodies:
// "SOLE" .. "SATURNO", then "URANO", "NEPTUNO", "PLUT\xD3N".
const char* dominantName(int body);

// Dati3.dum: the Sun's sign name, the ascendant's sign name, the dominant body's name.
void writeSummary(const DataRoot& root, const ChartState& chart, const Powers& powers);

// Reads the scores, computes the bars and writes the summary file.
Powers runPowers(const DataRoot& root, const ChartState& chart);

}  // namespace athanor
