#include "knowledge/Editors.h"

#include "foundations/FileError.h"
#include "foundations/FolderLock.h"
#include "foundations/Format.h"
#include "foundations/RecordFile.h"
#include "knowledge/FileReplacement.h"
#include "knowledge/KnowledgeText.h"
#include "knowledge/RecordScan.h"
#include "knowledge/TextLists.h"

#include <unordered_map>

namespace athanor {

namespace {

std::size_t recordSize(EditorKind kind) {
    return kind == EditorKind::Remedies ? RemedyRecord::kSize : TherapyRecord::kSize;
}

// The remedy and the second part (indication, pathology) of a record's bytes.
EditorEntry partsOf(EditorKind kind, const std::uint8_t* r) {
    if (kind == EditorKind::Remedies) return {std::string(remedyName(r)), remedyIndication(r)};
    return {std::string(therapyRemedy(r)), std::string(therapyPathology(r))};
}

template <class F>
void forEachRecordFrom(const DataRoot& root, EditorKind kind, std::int64_t from, F f) {
    RecordScanner(root.resolve(editorFile(kind)), recordSize(kind)).forEach(f, from);
}

template <class R>
bool save(const DataRoot& root, EditorKind kind, std::int64_t k, const R& r) {
    if (k < 1) return false;
    replaceRecord(root.resolve(editorFile(kind)), R::kSize, k, r.encode());
    return true;
}

}  // namespace

const char* editorFile(EditorKind kind) { return kind == EditorKind::Remedies ? kRemedyDatabaseFile : kRepertoryFile; }

std::vector<std::string> editorList(const DataRoot& root, EditorKind kind, EditorOrder order) {
    if (!root.exists(editorFile(kind))) return {};
    std::vector<std::string> entries;
    forEachRecordFrom(root, kind, 1, [&](std::int64_t, const std::uint8_t* r) {
        const EditorEntry e = partsOf(kind, r);
        entries.push_back(order == EditorOrder::ByRemedy ? e.remedy + "**" + e.second : e.second + "**" + e.remedy);
        return true;
    });
    return sortedAscending(std::move(entries));
}

EditorEntry splitEditorEntry(std::string_view entry, EditorOrder order) {
    const std::size_t star = entry.find('*');
    EditorEntry e;
    e.remedy = std::string(entry.substr(0, star));
    if (star != std::string_view::npos)
        for (char c : entry.substr(star))
            if (c != '*') e.second += c;
    if (order == EditorOrder::ByPathology) std::swap(e.remedy, e.second);
    return e;
}

std::optional<std::int64_t> findEditorRecord(const DataRoot& root, EditorKind kind, const EditorEntry& entry) {
    std::optional<std::int64_t> found;
    forEachRecordFrom(root, kind, 1, [&](std::int64_t k, const std::uint8_t* r) {
        if (partsOf(kind, r) != entry) return true;
        found = k;
        return false;
    });
    return found;
}

// Every writer holds the program folder's lock, so a second running program waits for it
// instead of interleaving its records with ours.
bool saveRecord(const DataRoot& root, std::int64_t k, const RemedyRecord& r) {
    const FolderLock lock(root.root());
    return save(root, EditorKind::Remedies, k, r);
}
bool saveRecord(const DataRoot& root, std::int64_t k, const TherapyRecord& t) {
    const FolderLock lock(root.root());
    return save(root, EditorKind::Repertory, k, t);
}

std::int64_t saveRecordAsNew(const DataRoot& root, const RemedyRecord& r) {
    const FolderLock lock(root.root());
    return appendRecord(root.resolve(kRemedyDatabaseFile), RemedyRecord::kSize, r.encode());
}
std::int64_t saveRecordAsNew(const DataRoot& root, const TherapyRecord& t) {
    const FolderLock lock(root.root());
    return appendRecord(root.resolve(kRepertoryFile), TherapyRecord::kSize, t.encode());
}

void deleteRecord(const DataRoot& root, EditorKind kind, std::int64_t k) {
    const FolderLock lock(root.root());
    const auto file = root.resolve(editorFile(kind));
    if (k < 1) throw FileError(file, "record 0 is reserved");
    removeRecord(file, recordSize(kind), k);
}

PendingChanges pendingChanges(std::string_view rememberedName, std::string_view rememberedSecond, std::string_view name,
                              std::string_view second, bool descriptionsChanged) {
    if (second == "Indicaciones") second = "";
    return {name != rememberedName, second != rememberedSecond, descriptionsChanged};
}

std::optional<RemedyRecord> databaseRecordOf(const DataRoot& root, std::string_view remedy) {
    const std::string wanted = upperCased(remedy);
    std::optional<std::int64_t> found;
    forEachRecordFrom(root, EditorKind::Remedies, 1, [&](std::int64_t k, const std::uint8_t* r) {
        if (upperCased(remedyName(r)) != wanted) return true;
        found = k;
        return false;
    });
    if (!found) return std::nullopt;
    return KnowledgeFile<RemedyRecord>(root.resolve(kRemedyDatabaseFile)).read(*found);
}

RemedyPanelTexts remedyPanelTexts(const RemedyRecord& r) {
    auto blank = [](std::string s) { return trailingTrimmed(std::move(s)).empty(); };
    RemedyPanelTexts t;
    t.warnings = blank(r.warnings[0]) ? "No hay advertencias para este remedio" : r.warningsText();
    if (blank(r.primarySignature) && blank(r.secondarySignature) && blank(r.zodiacSignature))
        t.signatures = "Ninguna signatura Astrol\xF3gica";
    else t.signatures = r.primarySignature + "\r\n" + r.secondarySignature + "\r\n" + r.zodiacSignature;
    t.synthesis = blank(r.synthesis[0]) ? "Ninguna s\xEDntesis ps\xEDquica grabada" : r.synthesisText();
    if (blank(r.notes[0]) && blank(r.notes[1]) && blank(r.notes[2])) t.notes = "Ninguna Nota grabada";
    else t.notes = r.notes[0] + "\r\n" + r.notes[1] + "\r\n" + r.notes[2];
    return t;
}

std::vector<std::string> reorderingList(const DataRoot& root, EditorKind kind) {
    std::vector<std::string> entries;
    forEachRecordFrom(root, kind, 1, [&](std::int64_t, const std::uint8_t* r) {
        const EditorEntry e = partsOf(kind, r);
        entries.push_back(e.remedy + "**" + e.second);
        return true;
    });
    return entries;
}

void ReorderList::doubleClick(int i) {
    if (i < 0 || i >= static_cast<int>(entries_.size())) return;
    if (!picked_) {
        picked_ = i;
    } else if (*picked_ == i) {
        picked_.reset();
    } else {
        move(*picked_, i);
        picked_.reset();
    }
}

void ReorderList::move(int from, int to) {
    const int n = static_cast<int>(entries_.size());
    if (from < 0 || from >= n || to < 0 || to >= n || from == to) return;
    std::string e = std::move(entries_[static_cast<std::size_t>(from)]);
    entries_.erase(entries_.begin() + from);
    entries_.insert(entries_.begin() + to, std::move(e));
}

std::vector<std::int64_t> planReordering(const DataRoot& root, EditorKind kind,
                                         const std::vector<std::string>& entries) {
    // One pass instead of one scan per entry: the records of each (name, indication),
    // both trimmed, in record order; an entry takes the first one left, which is the
    // first record not yet used that a scan from record 0 would find.
    struct Chain {
        std::int64_t first, last;
    };
    std::unordered_map<std::string, Chain> recordsOf;  // key: name, '\0', indication
    std::vector<std::int64_t> nextOf;                  // the next record of the same key, or -1
    auto keyOf = [](EditorEntry e) {
        trimTrailingCharacters(e.remedy);
        trimTrailingCharacters(e.second);
        return e.remedy + '\0' + e.second;
    };
    forEachRecordFrom(root, kind, 0, [&](std::int64_t k, const std::uint8_t* r) {
        nextOf.push_back(-1);
        const auto [it, fresh] = recordsOf.try_emplace(keyOf(partsOf(kind, r)), Chain{k, k});
        if (!fresh) {
            nextOf[static_cast<std::size_t>(it->second.last)] = k;
            it->second.last = k;
        }
        return true;
    });
    std::vector<std::int64_t> plan;
    plan.reserve(entries.size());
    for (const auto& entry : entries) {
        const auto it = recordsOf.find(keyOf(splitEditorEntry(trailingTrimmed(entry), EditorOrder::ByRemedy)));
        if (it == recordsOf.end() || it->second.first < 0) continue;
        const std::int64_t k = it->second.first;
        it->second.first = nextOf[static_cast<std::size_t>(k)];
        plan.push_back(k);
    }
    return plan;
}

std::int64_t commitReordering(const DataRoot& root, EditorKind kind, const std::vector<std::string>& entries,
                              const std::function<void(std::int64_t)>& progress) {
    const FolderLock lock(root.root());
    const auto path = root.resolve(editorFile(kind));
    const std::size_t size = recordSize(kind);
    const std::vector<std::int64_t> plan = planReordering(root, kind, entries);

    const RecordFile old(path, size);
    if (old.count() == 0) throw FileError(path, "Read beyond end of file (record 0 of 0)");
    FileReplacement out(path);
    Bytes record(size);
    old.read(0, record.data());
    out.write(record);
    // Records that follow each other in the old file and in the new order are copied as
    // one run (by the kernel when it can): a move of a few entries copies almost all of
    // the file in a few long runs.
    std::int64_t runFrom = -1, runLength = 0;
    auto flushRun = [&] {
        if (runLength >= 64) {
            out.copyFrom(path, static_cast<std::uint64_t>(runFrom) * size,
                         static_cast<std::uint64_t>(runLength) * size);
        } else {
            for (std::int64_t k = runFrom; k < runFrom + runLength; ++k) {
                old.read(k, record.data());
                out.write(record);
            }
        }
        runFrom = -1;
        runLength = 0;
    };
    std::int64_t written = 0;
    for (const std::int64_t k : plan) {
        if (runLength > 0 && k != runFrom + runLength) flushRun();
        if (runLength == 0) runFrom = k;
        ++runLength;
        ++written;
        if (progress) progress(written);
    }
    flushRun();
    out.commit();
    return written;
}

}  // namespace athanor
