#pragma once
#include "foundations/ChartState.h"
#include "foundations/DataRoot.h"
#include "foundations/Vocabulary.h"
#include "interpretation/Aspects.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace athanor {

inline constexpr const char* kPositionCodesFile = "OpzioneT\\PosiPian.txt";
inline constexpr const char* kSignCodesFile = "OpzioneT\\PosiSegn.txt";
inline constexpr const char* kSpecificTextsFile = "OpzioneT\\SpgPianSpe.Txt";

// (λ + 12·(λ mod 30)) mod 360.
long double dodecatemorion(long double longitude);
// 360 − λ, the mirror about the Aries–Libra axis.
long double antiscion(long double longitude);
// (540 − λ) mod 360, the mirror about the Cancer–Capricorn axis.
long double contrantiscion(long double longitude);

// Decan 1..36. A longitude on a multiple of 10° belongs to the decan that begins there,
// as a longitude on a multiple of 30° belongs to the sign that begins there.
int decanOf(long double longitude);
// The Chaldean face ruler (planet 1..7) of a decan: Mars, Sun, Venus, Mercury, Moon,
// Saturn, Jupiter, repeated from the first decan of Aries.
int decanFaceRuler(int decan);
// "SolDec05": three-letter tag, "Dec", two-digit decan.
std::string decanCode(int body, int decan);

// Six-degree sector 1..60, counted from 15° before the ascendant; a longitude on a
// boundary belongs to the sector that begins there.
int sectorOf(long double longitude, long double ascendant);

struct DerivedPosition {
    long double longitude = 0;
    int sign = 0;
    int decan = 0;
    int sector = 0;
    std::string decanCode;
};

struct BodySectors {
    DerivedPosition natal;
    DerivedPosition dodecatemorion;
    long double antiscion = 0;
    long double contrantiscion = 0;
};

// Indices 1..11; the sectors are counted from the chart's ascendant (body 10).
std::array<BodySectors, kChartBodies + 1> computeSectors(const ChartState& chart);

// The antiscion codes ("SolAnSag") then the contrantiscion codes ("SolCaG\xE9m") of the
// bodies; a body at exactly 0° has none.
std::vector<std::string> antisciaCodes(const ChartState& chart);
// The same two passes over the twelve sign midpoints: "ArAnPis" .. then "ArCaVir" ..
std::vector<std::string> signAntisciaCodes();

// Every line of the position-code file: sign, house (from 15° before the cusp), sector,
// decan code and two-letter décadas code of each body, the antiscia codes, then one line
// per major aspect ("SolQuMar"), exact oppositions included.
std::vector<std::string> positionCodes(const ChartState& chart, const OrbSettings& orbs);

// Rewrites the position-code file and the sign-code file.
void writePositionCodes(const DataRoot& root, const ChartState& chart, const OrbSettings& orbs);

// The specific interpretation texts: the first line whose leading characters equal a key
// gives characters 22 to 91.
class SpecificTexts {
public:
    explicit SpecificTexts(std::vector<std::string> lines) : lines_(std::move(lines)) {}
    static SpecificTexts load(const DataRoot& root);  // FileError when missing
    std::optional<std::string> find(std::string_view key) const;

private:
    std::vector<std::string> lines_;
};

struct TitledList {
    std::string title;
    std::vector<std::string> lines;
};

// The terms, decans and décadas lists of the bodies ("PLANETAS EN LOS T\xC9RMINOS" ...) or
// of their dodecatemoria ("DODECATEMORIAS EN LOS T\xC9RMINOS" ...). A key without text in
// the file gives no line.
std::array<TitledList, 3> sectorLists(const std::array<BodySectors, kChartBodies + 1>& sectors,
                                      const SpecificTexts& texts, bool dodecatemoria);

}  // namespace athanor
