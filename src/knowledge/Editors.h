#pragma once
#include "foundations/DataRoot.h"
#include "knowledge/KnowledgeRecords.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace athanor {

// The two editors of the primary data set: the remedy database (OpzioneH\DBmain.rnd) and
// the therapies repertory (OpzioneH\Repertorio.rnd). Their lists, the record an entry
// stands for, save, save as new, delete and the re-ordering. Every change replaces the
// whole file (written beside it and renamed over it), so a failure or a crash leaves the
// old base or the new one. Record 0 is never written.

enum class EditorKind { Remedies, Repertory };
// By remedy: "name**indication" ("remedy**pathology"); by pathology: the two swapped.
enum class EditorOrder { ByRemedy, ByPathology };

const char* editorFile(EditorKind kind);

// The entries of the list in its normal mode, one per record from 1, sorted; empty when
// the file does not exist.
std::vector<std::string> editorList(const DataRoot& root, EditorKind kind, EditorOrder order);

// An entry taken apart: the text before its first "*" and the rest with every "*"
// removed, swapped in the pathology order so that `remedy` is the remedy.
struct EditorEntry {
    std::string remedy;
    std::string second;  // indication, or pathology
    bool operator==(const EditorEntry&) const = default;
};
EditorEntry splitEditorEntry(std::string_view entry, EditorOrder order);

// The first record from 1 whose name and whole indication (repertory: remedy and
// pathology) equal the entry's parts.
std::optional<std::int64_t> findEditorRecord(const DataRoot& root, EditorKind kind, const EditorEntry& entry);

// "Salva": false, and nothing written, when no record is loaded (k < 1); the window then
// says kOnlySaveAsNew.
inline constexpr const char* kOnlySaveAsNew = "S\xF3lo es posible [Guardar como Nuevo]";
bool saveRecord(const DataRoot& root, std::int64_t k, const RemedyRecord& r);
bool saveRecord(const DataRoot& root, std::int64_t k, const TherapyRecord& t);
// "Salva come Nuovo": appended after the last record; returns its number.
std::int64_t saveRecordAsNew(const DataRoot& root, const RemedyRecord& r);
std::int64_t saveRecordAsNew(const DataRoot& root, const TherapyRecord& t);
// Delete: every later record moves down one place. k >= 1.
void deleteRecord(const DataRoot& root, EditorKind kind, std::int64_t k);

// What leaving the editor finds changed, compared with the values of the loaded record.
// The placeholder "Indicaciones" of an emptied indication box counts as empty.
struct PendingChanges {
    bool name = false;
    bool second = false;        // indication (repertory: pathology)
    bool descriptions = false;  // any other text
    bool any() const { return name || second || descriptions; }
};
PendingChanges pendingChanges(std::string_view rememberedName, std::string_view rememberedSecond, std::string_view name,
                              std::string_view second, bool descriptionsChanged);

// The panel of the repertory editor: the database record of the loaded remedy, the
// first from record 1 whose name, upper-cased, equals the remedy upper-cased.
std::optional<RemedyRecord> databaseRecordOf(const DataRoot& root, std::string_view remedy);

// What the panel's four buttons show of that record.
struct RemedyPanelTexts {
    std::string warnings;    // both parts, or "No hay advertencias para este remedio"
    std::string signatures;  // three lines, or "Ninguna signatura Astrológica"
    std::string synthesis;   // six parts joined, or "Ninguna síntesis psíquica grabada"
    std::string notes;       // three lines, the three parts, or "Ninguna Nota grabada"
};
RemedyPanelTexts remedyPanelTexts(const RemedyRecord& r);
// Shown in red when the remedy is not in the database.
inline constexpr const char* kNotInDatabase = " No lo se encuentra en la Base de Datos primaria.";

// ---- Re-ordering ---------------------------------------------------------------

// The list of the re-ordering mode: one entry per record from 1, in record order, in the
// by-remedy form.
std::vector<std::string> reorderingList(const DataRoot& root, EditorKind kind);

// The picking and dropping of entries by double clicks.
class ReorderList {
public:
    explicit ReorderList(std::vector<std::string> entries) : entries_(std::move(entries)) {}
    // A double click on entry i: picks it when none is picked; drops the picked entry at
    // i (the entries between move by one place) when another one is; releases it when it
    // is the picked one itself.
    void doubleClick(int i);
    // Moves the entry at `from` to index `to`.
    void move(int from, int to);
    std::optional<int> picked() const noexcept { return picked_; }
    const std::vector<std::string>& entries() const noexcept { return entries_; }

private:
    std::vector<std::string> entries_;
    std::optional<int> picked_;
};

// The records the entries take, in their order, as "Definitivo" would write them (below).
// The editor writes only when it covers every record after record 0, so that a stale or
// odd entry (a name holding "*") never drops a record.
std::vector<std::int64_t> planReordering(const DataRoot& root, EditorKind kind, const std::vector<std::string>& entries);

// "Definitivo": the file rewritten in the order of the entries. Record 0 is kept; each
// entry (trailing-character trimmed, taken apart as splitEditorEntry does) takes the
// first record from 0 not yet taken whose name and whole indication (repertory: remedy
// and pathology), both trailing-character trimmed, equal its parts; an entry that finds
// none writes nothing, a record that no entry takes is dropped. The new file is written
// beside the old one and renamed over it. Returns the number of records written after
// record 0. `progress` is told the number of records written so far.
std::int64_t commitReordering(const DataRoot& root, EditorKind kind, const std::vector<std::string>& entries,
                              const std::function<void(std::int64_t)>& progress = {});

}  // namespace athanor
