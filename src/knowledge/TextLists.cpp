#include "knowledge/TextLists.h"

#include "foundations/Collation.h"
#include "foundations/Format.h"
#include "foundations/TextFile.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace athanor {

std::vector<std::string> sortedAscending(std::vector<std::string> entries) {
    std::vector<std::pair<std::string, std::string>> keyed;
    keyed.reserve(entries.size());
    for (auto& e : entries) keyed.emplace_back(collationKey(e), std::move(e));
    // Entries equal for the collator (letter case aside) are ordered by their bytes, so
    // that identical entries always end up side by side.
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::string> out;
    out.reserve(keyed.size());
    for (auto& kv : keyed) out.push_back(std::move(kv.second));
    return out;
}

std::vector<std::string> sortedWithoutRepetitions(std::vector<std::string> entries) {
    // Equal entries end up side by side, so dropping them before sorting gives the same
    // list with fewer sort keys to compute.
    std::vector<std::string> distinct;
    distinct.reserve(entries.size());  // no reallocation: the views below stay valid
    std::unordered_set<std::string_view> seen;
    for (auto& e : entries) {
        if (seen.contains(e)) continue;
        distinct.push_back(std::move(e));
        seen.insert(distinct.back());
    }
    return sortedAscending(std::move(distinct));
}

namespace {

struct AliasRule {
    std::string_view begins;
    std::size_t prefixLength;
    std::size_t restFrom;  // 1-based character
    bool upper;
};

constexpr AliasRule kAliasRules[] = {
    {"HS 8 -", 4, 8, false}, {"HS", 6, 10, false}, {"MSA", 3, 5, false}, {"QSPC", 4, 6, true}, {"TSA", 3, 5, false},
};

std::string cut(std::string_view s, std::size_t from, std::size_t n) {
    return from < s.size() ? std::string(s.substr(from, n)) : std::string();
}

// The rest of the name after the prefix, without the " - " that usually separates the
// two ("MSA - Ortica" -> "Ortica"), then cut to 30 characters.
std::string restOfName(std::string_view line, std::size_t from) {
    std::string_view rest = from < line.size() ? line.substr(from) : std::string_view();
    const std::size_t text = rest.find_first_not_of(' ');
    if (text != std::string_view::npos && rest[text] == '-') {
        rest.remove_prefix(text + 1);
        rest.remove_prefix(std::min(rest.size(), rest.find_first_not_of(' ')));
    }
    return std::string(rest.substr(0, 30));
}

}  // namespace

std::vector<std::string> aliasLines(std::string_view line) {
    std::vector<std::string> out;
    for (const auto& rule : kAliasRules) {
        if (!line.starts_with(rule.begins)) continue;
        std::string alias = restOfName(line, rule.restFrom - 1) + " (" + cut(line, 0, rule.prefixLength) + ")";
        alias.resize(std::max(alias.size(), kAliasWidth), ' ');
        if (rule.upper) upperCase(alias);
        out.push_back(alias + std::string(line));
    }
    return out;
}

std::string aliasTarget(std::string_view line) { return cut(line, kAliasWidth, kAliasNameWidth); }

std::vector<RemedyNameEntry> remedyNameList(const std::vector<RemedyRecord>& records) {
    std::vector<std::string> names;
    names.reserve(records.size());
    for (const auto& r : records) names.push_back(r.name);
    return remedyNameList(std::move(names));
}

std::vector<RemedyNameEntry> remedyNameList(std::vector<std::string> names) {
    // The first record of each trimmed name. The stored name may carry trailing blanks
    // that the list drops, so the record is found by the trimmed name too; otherwise an
    // entry would lose its line and shift every later line of Prdts.dum.
    std::unordered_map<std::string, std::int64_t> first;
    for (std::size_t k = 0; k < names.size(); ++k) {
        trimTrailingBlanks(names[k]);
        first.emplace(std::move(names[k]), static_cast<std::int64_t>(k));
    }
    // The distinct names are the keys; sorted they are the list sortedWithoutRepetitions gives.
    std::vector<std::string> distinct;
    distinct.reserve(first.size());
    for (const auto& [name, k] : first) distinct.push_back(name);
    std::vector<RemedyNameEntry> out;
    for (auto& name : sortedAscending(std::move(distinct))) {
        if (name.find("Errore") != std::string::npos) continue;
        out.push_back({name, first.at(name)});
    }
    return out;
}

void writeRemedyNumbers(const std::filesystem::path& path, const std::vector<RemedyNameEntry>& list) {
    std::vector<std::string> lines;
    lines.reserve(list.size());
    for (const auto& e : list) lines.push_back(std::to_string(e.record));
    writeLines(path, lines);
}

std::vector<std::int64_t> readRemedyNumbers(const std::filesystem::path& path) {
    std::vector<std::int64_t> out;
    for (const auto& line : readLines(path)) out.push_back(parseInteger(line).value_or(-1));
    return out;
}

}  // namespace athanor
