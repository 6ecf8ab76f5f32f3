#include "foundations/AspectKinds.h"

#include <stdexcept>
#include <string>

namespace athanor {

const std::array<AspectKind, kAspectKinds> kAspectsByDisplay = {{
    {"Conjunci\xF3n", 0.0L, aspect::Conjunction, 1, 10, "10,0", "5,0"},
    {"SemiSextil", 30.0L, aspect::Semisextile, 9, 1, "1,0", "1,0"},
    {"Decil", 36.0L, aspect::Decile, 0, 1, "0,5", "0,5"},
    {"Novil", 40.0L, aspect::Novile, 0, 1, "0,5", "0,5"},
    {"Semicuadratura", 45.0L, aspect::Semisquare, 7, 1, "1,0", "1,0"},
    {"Septile", 360.0L / 7.0L, aspect::Septile, 0, 1, "0,5", "0,5"},
    {"Sextil", 60.0L, aspect::Sextile, 2, 4, "3,0", "3,0"},
    {"Quintil", 72.0L, aspect::Quintile, 10, 1, "1,0", "1,0"},
    {"Cuadrado", 90.0L, aspect::Square, 3, 6, "4,0", "4,5"},
    {"Tr\xEDgono", 120.0L, aspect::Trine, 4, 8, "4,0", "5,0"},
    {"Sesquicuadrad.", 135.0L, aspect::Sesquiquadrate, 6, 1, "1,0", "0,8"},
    {"Biquintil", 144.0L, aspect::Biquintile, 11, 1, "1,0", "0,8"},
    {"Quinconcio", 150.0L, aspect::Quincunx, 8, 1, "2,0", "1,5"},
    {"Oposici\xF3n", 180.0L, aspect::Opposition, 5, 9, "8,0", "7,0"},
}};

const AspectKind& aspectKind(int orbIndex) {
    for (const auto& k : kAspectsByDisplay)
        if (k.orbIndex == orbIndex) return k;
    throw std::out_of_range("aspect orb index " + std::to_string(orbIndex));
}

bool aspectTest(long double s, int orbIndex, const AspectOrbs& orbs) {
    const long double orb = orbs.at(orbIndex);
    if (orbIndex == aspect::Conjunction) return s < orb;
    const long double angle = aspectKind(orbIndex).angle;
    return angle - orb < s && s < angle + orb;
}

std::optional<int> classifyAspect(long double s, const AspectOrbs& orbs) {
    static constexpr int order[] = {aspect::Opposition, aspect::Quincunx,    aspect::Biquintile, aspect::Sesquiquadrate,
                                    aspect::Trine,      aspect::Square,      aspect::Quintile,   aspect::Sextile,
                                    aspect::Semisquare, aspect::Semisextile, aspect::Conjunction};
    for (int k : order)
        if (aspectTest(s, k, orbs)) return k;
    return std::nullopt;
}

std::optional<int> majorAspect(long double s, const AspectOrbs& orbs) {
    for (int k : {aspect::Opposition, aspect::Trine, aspect::Square, aspect::Sextile, aspect::Conjunction})
        if (aspectTest(s, k, orbs)) return k;
    return std::nullopt;
}

long double eclipticSeparation(long double from, long double to) {
    long double d = to - from;
    if (d < 0) d += 360.0L;
    if (d > 180.0L) d = 360.0L - d;
    return d;
}

}  // namespace athanor
