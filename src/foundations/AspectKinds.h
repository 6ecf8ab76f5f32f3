#pragma once
// The fourteen aspect kinds and the strict orb test: plain geometry that the interpretation
// runs with the current orb set and the birth record's summary with its own fixed orbs.

#include <array>
#include <optional>

namespace athanor {

// Orb index of each aspect kind: its position in an orb array.
namespace aspect {
inline constexpr int Conjunction = 0;
inline constexpr int Sextile = 1;
inline constexpr int Square = 2;
inline constexpr int Trine = 3;
inline constexpr int Opposition = 4;
inline constexpr int Semisextile = 5;
inline constexpr int Decile = 6;
inline constexpr int Novile = 7;
inline constexpr int Semisquare = 8;
inline constexpr int Septile = 9;
inline constexpr int Quintile = 10;
inline constexpr int Sesquiquadrate = 11;
inline constexpr int Biquintile = 12;
inline constexpr int Quincunx = 13;
}  // namespace aspect

inline constexpr int kAspectKinds = 14;

struct AspectKind {
    const char* editorName;  // row caption of the orb editor
    long double angle;       // degrees
    int orbIndex;
    int glyphCode;         // 0: the kind has no glyph
    int setA;              // the fixed orb of set A
    const char* defaultB;  // initial texts of the editor's fields
    const char* defaultC;
};

// The fourteen kinds in display order: editor rows, file lines.
extern const std::array<AspectKind, kAspectKinds> kAspectsByDisplay;

// The kind with a given orb index.
const AspectKind& aspectKind(int orbIndex);

// Orbs in degrees, by orb index.
using AspectOrbs = std::array<long double, kAspectKinds>;

// The strict test: angle − orb < s < angle + orb; for the conjunction s < orb.
bool aspectTest(long double separation, int orbIndex, const AspectOrbs& orbs);

// The first kind that passes among opposition, quincunx, biquintile, sesquiquadrate,
// trine, square, quintile, sextile, semisquare, semisextile, conjunction (decile, novile
// and septile are never reported). Returns the orb index.
std::optional<int> classifyAspect(long double separation, const AspectOrbs& orbs);

// The major aspect of a separation: opposition, trine, square, sextile with the strict
// test, then the conjunction.
std::optional<int> majorAspect(long double separation, const AspectOrbs& orbs);

// Separation of two ecliptic longitudes, in [0, 180].
long double eclipticSeparation(long double from, long double to);

}  // namespace athanor
