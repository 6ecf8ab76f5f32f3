#pragma once
#include "knowledge/KnowledgeRecords.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace athanor {

// The plain-text lists of the knowledge base (one entry per line, CR LF, Windows-1252;
// read and written with readLines / writeLines) and the two work files of FileDum.

inline constexpr const char* kSymptomListFile = "OpzioneH\\Sintomi.txt";
inline constexpr const char* kRemedyListFile = "OpzioneH\\ProdotA.txt";
inline constexpr const char* kRemedyAliasListFile = "OpzioneH\\ProdotB.txt";
inline constexpr const char* kPathologyListFile = "OpzioneH\\Patolog.txt";
inline constexpr const char* kRepertoryRemedyListFile = "OpzioneH\\ProdotR.txt";
inline constexpr const char* kRemedyNumbersFile = "FileDum\\Prdts.dum";
inline constexpr const char* kSignatureResultsFile = "FileDum\\Segnat.dum";

// Sorted as a list control sorts: case-insensitive by the user's locale; entries that
// differ only in letter case follow their byte order.
std::vector<std::string> sortedAscending(std::vector<std::string> entries);

// sortedAscending, then freed of neighbours that are equal byte for byte.
std::vector<std::string> sortedWithoutRepetitions(std::vector<std::string> entries);

// The alias lines that the rebuild adds after a remedy line of ProdotB.txt: for each
// product-type prefix the line begins with ("HS 8 -", "HS", "MSA", "QSPC", "TSA", tested in
// turn), the rest of the name (a " - " separating it from the prefix left out), a blank
// and the prefix in parentheses, padded to 70
// characters (upper-cased for "QSPC"), followed by the remedy line itself.
std::vector<std::string> aliasLines(std::string_view remedyLine);

// Alias line layout: the remedy name starts at character 71 and is read as 40 characters.
inline constexpr std::size_t kAliasWidth = 70;
inline constexpr std::size_t kAliasNameWidth = 40;
// The remedy name an alias line points at ("" for a line of 70 characters or fewer).
std::string aliasTarget(std::string_view line);

// The remedy-name list of the signature, plant and synthesis windows: the names of every
// record from 0, trailing blanks trimmed, sorted, without repetitions, without any name
// that contains "Errore", each with the first record that carries it.
struct RemedyNameEntry {
    std::string name;
    std::int64_t record = 0;
    bool operator==(const RemedyNameEntry&) const = default;
};
std::vector<RemedyNameEntry> remedyNameList(const std::vector<RemedyRecord>& records);
// The same from the names of the records, record 0 first.
std::vector<RemedyNameEntry> remedyNameList(std::vector<std::string> names);

// FileDum\Prdts.dum: the record numbers of the list, one per line, line k for entry k.
void writeRemedyNumbers(const std::filesystem::path& path, const std::vector<RemedyNameEntry>& list);
// Lines that are not numbers read as -1 (they match no record).
std::vector<std::int64_t> readRemedyNumbers(const std::filesystem::path& path);

}  // namespace athanor
