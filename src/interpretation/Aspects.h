#pragma once
#include "foundations/AspectKinds.h"

#include <optional>
#include <string>
#include <string_view>

namespace athanor {

// The working orb settings: the current set and the two extra orbs. The engine settings
// that travel in the same file live in the chart state.
struct OrbSettings {
    AspectOrbs AspectOrb{};  // by orb index
    long double ParallelOrb = 0;
    long double AntisciaOrb = 0;
    std::string OrbSetLetter = "A";
};

// The aspect tests of foundations/AspectKinds.h with the current set.
inline bool aspectTest(long double separation, int orbIndex, const OrbSettings& orbs) {
    return aspectTest(separation, orbIndex, orbs.AspectOrb);
}
inline std::optional<int> classifyAspect(long double separation, const OrbSettings& orbs) {
    return classifyAspect(separation, orbs.AspectOrb);
}
// As the aspect list and the position codes find it.
inline std::optional<int> majorAspect(long double separation, const OrbSettings& orbs) {
    return majorAspect(separation, orbs.AspectOrb);
}

// Captions of the main window's orb-set selector.
std::string orbSetCaption(char letter);  // "A (normali)", "B (personali)", "C (personali)"
std::optional<char> orbSetLetterFromCaption(std::string_view caption);

}  // namespace athanor
