#pragma once
#include "engine/CorrectionFiles.h"
#include "foundations/ChartState.h"
#include "subjects/BirthMoment.h"
#include "subjects/CoordText.h"

#include <string>
#include <string_view>

namespace athanor {

// The three summaries a birth record carries, derived from the positions at the birth
// moment (engine order: Sun .. Pluto, node, Black Moon; absolute values) and the
// Placidus cusps of that moment.

// Glyph letters of bodies 1..14 (13 ascendant, 14 midheaven) and of signs 1..12; [0] unused.
inline constexpr std::string_view kBodyGlyphLetters = " elmvagsunpdhxy";
inline constexpr std::string_view kSignGlyphLetters = " ATGNLVBSRCQP";

// Twelve groups "HHbsDD": house (Placidus), body letter, sign letter, degree in the sign
// (truncated).
std::string planetSummary(const BodyArray& longitude, const CuspArray& placidus);

// Twelve groups "NNsDD": house number, sign letter, degree of the cusp as the short
// position text shows it.
std::string cuspSummary(const CuspArray& placidus);

// Four-character groups (body i, aspect, body j, first digit of the rounded orb), one per
// major aspect of bodies 1..10 with the later bodies up to 14 (node and Black Moon take no
// part), cut at 124 characters. The aspects are the interpretation's strict test with the
// record's own orbs, whatever orb set is current.
std::string aspectSummary(const BodyArray& longitude, const CuspArray& placidus);

struct Summaries {
    std::string planets;
    std::string cusps;
    std::string aspects;
};

// Computes all bodies and Placidus houses of a birth at its moment's Julian day and
// builds the summaries. `settings` supplies the node and Black Moon kinds; it is not
// changed.
Summaries computeSummaries(const ChartState& settings, const CorrectionFiles& files, const BirthMoment& moment,
                           const Coordinates& place);

}  // namespace athanor
