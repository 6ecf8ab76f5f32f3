#pragma once
#include "foundations/ChartState.h"

#include <array>

namespace athanor {

// Element rows in the elemental weave's order: Fuego, Tierra, Aire, Agua.
namespace element {
inline constexpr int Fire = 0;
inline constexpr int Earth = 1;
inline constexpr int Air = 2;
inline constexpr int Water = 3;
}  // namespace element

// Principle columns: Sal, Azufre, Mercurio.
namespace principle {
inline constexpr int Salt = 0;
inline constexpr int Sulphur = 1;
inline constexpr int Mercury = 2;
}  // namespace principle

// Season rows in the seasonal weave's order: Primavera, Verano, Otoño, Invierno.
namespace season {
inline constexpr int Spring = 0;
inline constexpr int Summer = 1;
inline constexpr int Autumn = 2;
inline constexpr int Winter = 3;
}  // namespace season

// Quality columns: cardinal, fixed, mutable.
namespace quality {
inline constexpr int Cardinal = 0;
inline constexpr int Fixed = 1;
inline constexpr int Mutable = 2;
}  // namespace quality

// The classification of a sign 1..12 by the letter codes of the weaves.
struct SignClass {
    char element;    // F fire, T earth, A air, W water
    char principle;  // S salt, Z sulphur, M mercury
    const char* elementalCell;
    char quality;  // C cardinal, F fixed, M mutable
    const char* seasonalCell;
    char season;  // A spring, F summer, T autumn, W winter
};
const SignClass& signClass(int sign);

// Row and column indices of a sign in the two weaves.
int elementOf(int sign);
int principleOf(int sign);
int seasonOf(int sign);
int qualityOf(int sign);

// counts[row][column]; every weave counts Sun .. Saturn once each.
using WeaveCounts = std::array<std::array<int, 3>, 4>;

struct Humors {
    int air = 0, fire = 0, earth = 0, water = 0;
    int hot = 0, moist = 0, cold = 0, dry = 0;
};

struct Weaves {
    WeaveCounts elemental{};  // element by principle
    WeaveCounts seasonal{};   // season by quality
    Humors humoralElemental;  // by the element of the sign
    Humors humoralSeasonal;   // by the season: spring air, summer fire, autumn earth, winter water
};

Weaves countWeaves(const std::array<int, 8>& planetSigns);
Weaves countWeaves(const ChartState& chart);

int rowTotal(const WeaveCounts& w, int row);
int columnTotal(const WeaveCounts& w, int column);

}  // namespace athanor
