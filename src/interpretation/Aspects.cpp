#include "interpretation/Aspects.h"

namespace athanor {

std::string orbSetCaption(char letter) {
    switch (letter) {
    case 'B':
        return "B (personali)";
    case 'C':
        return "C (personali)";
    default:
        return "A (normali)";
    }
}

std::optional<char> orbSetLetterFromCaption(std::string_view caption) {
    for (char c : {'A', 'B', 'C'})
        if (caption == orbSetCaption(c)) return c;
    return std::nullopt;
}

}  // namespace athanor
