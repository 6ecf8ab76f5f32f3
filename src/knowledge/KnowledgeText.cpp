#include "knowledge/KnowledgeText.h"

namespace athanor {

bool isLetterCp1252(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
    switch (c) {
    case 0x83:
    case 0x8A:
    case 0x8C:
    case 0x8E:
    case 0x9A:
    case 0x9C:
    case 0x9E:
    case 0x9F:
    case 0xAA:
    case 0xBA:
        return true;
    default:
        return c >= 0xC0 && c != 0xD7 && c != 0xF7;
    }
}

void trimTrailingCharacters(std::string& text) {
    for (int i = 0; i < 10 && !text.empty(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text.back());
        if (isLetterCp1252(c) || (c >= '0' && c <= '9') || c == ')' || c == '.') break;
        text.pop_back();
    }
}

std::string trailingTrimmed(std::string text) {
    trimTrailingCharacters(text);
    return text;
}

}  // namespace athanor
