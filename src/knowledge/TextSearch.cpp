#include "knowledge/TextSearch.h"

#include "foundations/FileError.h"
#include "foundations/Format.h"
#include "foundations/RecordFile.h"
#include "foundations/TextFile.h"
#include "knowledge/FileReplacement.h"
#include "knowledge/RecordScan.h"

#include <unordered_map>

namespace athanor {

namespace {

std::string fieldOf(const std::uint8_t* r, RemedyText field) {
    return field == RemedyText::Composition ? remedyNotes(r) : remedySynthesis(r);
}

// The field joined into `out`, upper-cased, reusing its storage.
void upperFieldInto(std::string& out, const std::uint8_t* r, RemedyText field) {
    out.clear();
    if (field == RemedyText::Composition)
        for (auto at : remedy_field::kNotes) out += fieldView(r, at, 250);
    else
        for (auto at : remedy_field::kSynthesis) out += fieldView(r, at, 250);
    upperCase(out);
}

// The field as the window shows it: a synthesis too short to be one says so.
std::string shownText(const std::uint8_t* r, RemedyText field) {
    std::string text = fieldOf(r, field);
    if (field == RemedyText::Synthesis && text.size() < 5)
        text = "Todav\xED"
               "a no se ha confirmado una s\xEDntesis ps\xEDquica";
    return text;
}

}  // namespace

const char* noResultEntry(RemedyText field) {
    return field == RemedyText::Composition ? "**NING\xDAN RESULTADO**" : "**NINGUN RESULTADO**";
}

std::vector<std::string> remedyTexts(const DataRoot& root, RemedyText field, const std::vector<std::string>& names) {
    std::unordered_map<std::string_view, std::vector<std::size_t>> wanted;
    for (std::size_t i = 0; i < names.size(); ++i) wanted[names[i]].push_back(i);
    std::vector<std::string> texts(names.size());
    RecordScanner(root.resolve(kRemedyDatabaseFile), RemedyRecord::kSize)
        .forEach([&](std::int64_t, const std::uint8_t* r) {
            const auto w = wanted.find(trimmedBlanks(remedyName(r)));
            if (w == wanted.end()) return true;
            const std::string text = shownText(r, field);
            for (auto i : w->second) texts[i] = text;
            wanted.erase(w);
            return !wanted.empty();
        });
    return texts;
}

std::string remedyText(const DataRoot& root, RemedyText field, std::string_view name) {
    return remedyTexts(root, field, {std::string(name)}).front();
}

std::optional<std::string> findRemedyText(const DataRoot& root, RemedyText field, std::string_view name) {
    std::optional<std::string> found;
    RecordScanner(root.resolve(kRemedyDatabaseFile), RemedyRecord::kSize)
        .forEach([&](std::int64_t, const std::uint8_t* r) {
            if (trimmedBlanks(remedyName(r)) != name) return true;
            found = shownText(r, field);
            return false;
        });
    return found;
}

std::vector<std::string> searchRemedyTexts(const DataRoot& root, RemedyText field,
                                           const std::vector<RemedyNameEntry>& list, std::string_view word) {
    const std::string w = upperCased(word);
    if (w.empty()) return {};
    // One pass instead of one per entry: each record is matched to its entry by name,
    // and an entry is a hit when any of its records contains the word.
    std::unordered_map<std::string_view, std::size_t> entryOf;
    for (std::size_t i = 0; i < list.size(); ++i) entryOf.emplace(list[i].name, i);
    std::vector<bool> hit(list.size(), false);
    std::string text;
    RecordScanner(root.resolve(kRemedyDatabaseFile), RemedyRecord::kSize)
        .forEach([&](std::int64_t, const std::uint8_t* r) {
            const auto e = entryOf.find(trimmedBlanks(remedyName(r)));
            if (e == entryOf.end() || hit[e->second]) return true;
            upperFieldInto(text, r, field);
            if (text.find(w) != std::string::npos) hit[e->second] = true;
            return true;
        });
    std::vector<std::string> found;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (hit[i]) found.push_back(list[i].name);
    return found;
}

std::string withCapitalisedHit(std::string text, std::string_view word) {
    const std::string w = upperCased(word);
    if (w.empty()) return text;
    const auto at = upperCased(text).find(w);
    if (at != std::string::npos) text.replace(at, w.size(), w);
    return text;
}

void generatePrinciples(const DataRoot& root) {
    const auto source = root.resolve(kPrinciplesText);
    TextReader in(source);
    std::string bytes;
    bytes.reserve(kPrincipleRecords * kPrincipleRecordSize);
    for (int k = 0; k < kPrincipleRecords; ++k) {
        Bytes record(kPrincipleRecordSize, 0);
        for (int i = 0; i < kPrincipleLines; ++i) writeField(record.data() + i * 41, 40, upperCased(in.line()));
        bytes.append(reinterpret_cast<const char*>(record.data()), record.size());
    }
    replaceFileContents(root.resolveForWriting(kPrinciplesArchive), bytes);
}

std::vector<std::vector<std::string>> readPrinciples(const DataRoot& root) {
    const RecordFile file(root.resolve(kPrinciplesArchive), kPrincipleRecordSize);
    const Bytes all = file.readAll();
    std::vector<std::vector<std::string>> records;
    for (std::size_t at = 0; at + kPrincipleRecordSize <= all.size(); at += kPrincipleRecordSize) {
        auto& lines = records.emplace_back();
        for (int i = 0; i < kPrincipleLines; ++i) lines.push_back(readField(all.data() + at + i * 41, 40));
    }
    return records;
}

}  // namespace athanor
