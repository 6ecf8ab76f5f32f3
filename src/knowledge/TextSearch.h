#pragma once
#include "foundations/DataRoot.h"
#include "knowledge/TextLists.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace athanor {

// The plants and psychic-synthesis windows: a word searched in one text field of every
// remedy, and the principles archive.

enum class RemedyText {
    Composition,  // notes, parts 1-3: the plants and active ingredients
    Synthesis,    // synthesis, parts 1-6
};

// The entry list 2 shows when nothing is found.
const char* noResultEntry(RemedyText field);

// The field of the first record of the remedy (from record 0, trailing blanks of the name
// aside); "" when none carries the name. A synthesis shorter than five characters reads
// "Todavía no se ha confirmado una síntesis psíquica".
std::string remedyText(const DataRoot& root, RemedyText field, std::string_view name);
// The same, but nothing when no record carries the name.
std::optional<std::string> findRemedyText(const DataRoot& root, RemedyText field, std::string_view name);

// The remedies of the list whose field, upper-cased, contains the word upper-cased, in
// list order, each once however many of its records contain it. Every record of a
// remedy is looked at, in one pass over the file. An empty word finds nothing.
std::vector<std::string> searchRemedyTexts(const DataRoot& root, RemedyText field,
                                           const std::vector<RemedyNameEntry>& list, std::string_view word);

// The field of the first record of each name (as remedyText), in one pass over the file.
std::vector<std::string> remedyTexts(const DataRoot& root, RemedyText field, const std::vector<std::string>& names);

// The text with its first occurrence of the upper-cased word written in capitals, the
// rest in its own letter case; unchanged when the word does not occur.
std::string withCapitalisedHit(std::string text, std::string_view word);

// Principles archive: five lines of Principi.txt upper-cased and cut to 40 characters
// into each of the fifteen records (205 bytes) of Principi.sto, both in the program
// folder. A file too short stops at the first missing line (FileError) and leaves
// Principi.sto as it was.
inline constexpr const char* kPrinciplesText = "Principi.txt";
inline constexpr const char* kPrinciplesArchive = "Principi.sto";
inline constexpr int kPrincipleRecords = 15;
inline constexpr int kPrincipleLines = 5;
inline constexpr std::size_t kPrincipleRecordSize = 205;
void generatePrinciples(const DataRoot& root);
// The records of Principi.sto, five lines each, as the window shows them once generated.
std::vector<std::vector<std::string>> readPrinciples(const DataRoot& root);

}  // namespace athanor
