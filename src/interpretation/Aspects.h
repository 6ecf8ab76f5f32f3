#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace athanor {

// Orb index of each aspect kind: its position in the working orb array.
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
    int glyphCode;           // 0: the kind has no glyph
    int setA;                // the fixed orb of set A
    const char* defaultB;    // initial texts of the editor's fields
    const char* defaultC;
};

// The fourteen kinds in display order: editor rows, file lines.
extern const std::array<AspectKind, kAspectKinds> kAspectsByDisplay;

// The kind with a given orb index.
const AspectKind& aspectKind(int orbIndex);

// The working orb settings: the current set and the two extra orbs. The engine settings
// that travel in the same file live in the chart state.
struct OrbSettings {
    std::array<long double, kAspectKinds> AspectOrb{};  // by orb index
    long double ParallelOrb = 0;
    long double AntisciaOrb = 0;
    std::string OrbSetLetter = "A";
};

// The strict test: angle − orb < s < angle + orb; for the conjunction s < orb.
bool aspectTest(long double separation, int orbIndex, const OrbSettings& orbs);

// The first kind that passes among opposition, quincunx, biquintile, sesquiquadrate,
// trine, square, quintile, sextile, semisquare, semisextile, conjunction (decile, novile
// and septile are never reported). Returns the orb index.
std::optional<int> classifyAspect(long double separation, const OrbSettings& orbs);

// The major aspect of a separation as the aspect list and the position codes find it:
// opposition, trine, square, sextile with the strict test, then the conjunction.
std::optional<int> majorAspect(long double separation, const OrbSettings& orbs);

// Separation of two ecliptic longitudes, in [0, 180].
long double eclipticSeparation(long double from, long double to);

// Captions of the main window's orb-set selector.
std::string orbSetCaption(char letter);  // "A (normali)", "B (personali)", "C (personali)"
std::optional<char> orbSetLetterFromCaption(std::string_view caption);

}  // namespace athanor
