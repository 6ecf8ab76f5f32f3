#pragma once
// The chart's names and key tags, in one place: the interface, the texts and the
// knowledge base all spell bodies and signs from these tables (Windows-1252).

#include <array>

namespace athanor {

// Chart-order labels of indices 1..11 as the interface and the knowledge base show them.
extern const std::array<const char*, 12> kChartBodyNames;  // [0] = ""

// Signs 1..12 ([0] is ""): three-letter abbreviations and full Spanish names.
extern const std::array<const char*, 13> kSignAbbreviations;
extern const std::array<const char*, 13> kSignNames;

// The eleven chart bodies of the analyses: 1 Sun .. 7 Saturn, 8 North Node, 9 South
// Node, 10 Ascendant, 11 Midheaven.
inline constexpr int kChartBodies = 11;

// Key tags of the chart bodies, indices 1..11 ([0] is "").
extern const std::array<const char*, 12> kBodyCode2;  // "SO", "LU", ... "MC"
extern const std::array<const char*, 12> kBodyCode4;  // "Sole", "Luna", ... "Mcie"
extern const std::array<const char*, 12> kBodyTag3;   // "Sol", "Lun", ... "Mci"
// Tags of the signs and houses, indices 1..12.
extern const std::array<const char*, 13> kSignTag4;   // "Arie" .. "Pesc"
extern const std::array<const char*, 13> kSignTag2;   // "Ar" .. "Pe"
extern const std::array<const char*, 13> kHouseTag4;  // "Prim" .. "Dodi"

}  // namespace athanor
