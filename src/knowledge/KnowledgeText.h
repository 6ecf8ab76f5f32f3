#pragma once
#include <string>
#include <string_view>

namespace athanor {

// The trailing-character trim of the knowledge base: up to ten times, the last character
// goes when it is not a letter, a digit, ")" or ".". Every letter of Windows-1252 stays,
// accented ones included: the Italian vowels alone would cut Spanish names ending in
// "í", "ó", "ú", "á" or "ñ" ("Ajonjolí"), and the lists would then name no record.
void trimTrailingCharacters(std::string& text);

// A letter of Windows-1252: a-z, A-Z and the accented and other letters of the code page.
bool isLetterCp1252(unsigned char c);
std::string trailingTrimmed(std::string text);

}  // namespace athanor
