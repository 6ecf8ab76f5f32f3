#pragma once
#include <array>

namespace athanor {

// The fixed figures drawn between sign midpoints (signs 1 Aries .. 12 Pisces), with the
// logical pen of each line.

struct SignChord {
    int from, to, pen;
};

// Energetic affinities: "Magnéticas" (solid) and "Soli-lunares" (dotted).
inline constexpr std::array<SignChord, 6> kMagneticChords = {
    {{7, 1, 77}, {8, 2, 77}, {12, 6, 22}, {5, 3, 22}, {11, 9, 33}, {10, 4, 33}}};
inline constexpr std::array<SignChord, 6> kSoliLunarChords = {
    {{11, 4, 33}, {10, 9, 33}, {12, 3, 22}, {6, 5, 22}, {2, 1, 77}, {8, 7, 77}}};

// Antiscia: the pairs mirrored about the Aries–Libra axis, and the contrantiscia about
// the Cancer–Capricorn axis.
inline constexpr std::array<SignChord, 6> kAntisciaChords = {
    {{12, 1, 33}, {11, 2, 33}, {10, 3, 33}, {9, 4, 33}, {8, 5, 33}, {7, 6, 33}}};
inline constexpr std::array<SignChord, 6> kContrantisciaChords = {
    {{4, 3, 22}, {5, 2, 22}, {6, 1, 22}, {7, 12, 22}, {8, 11, 22}, {9, 10, 22}}};

// The fourth antiscia view: three closed quadrilaterals, joined in this order and back.
struct SignQuadrilateral {
    std::array<int, 4> signs;
    int pen;
};
inline constexpr std::array<SignQuadrilateral, 3> kAntisciaQuadrilaterals = {
    {{{1, 12, 7, 6}, 77}, {{4, 3, 10, 9}, 33}, {{5, 8, 11, 2}, 22}}};

}  // namespace athanor
