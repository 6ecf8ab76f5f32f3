#pragma once
#include "foundations/DataRoot.h"
#include "subjects/ArchiveRecords.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace athanor {

// One subject archive: the files NAME.ST1, NAME.ST2 and NAME.ST3 in the program folder,
// opened around each operation. Failures throw FileError.
class Archive {
public:
    // name: four characters; stored upper-cased. Throws std::invalid_argument otherwise.
    Archive(DataRoot root, std::string_view name);

    const std::string& name() const { return name_; }
    const DataRoot& root() const { return root_; }
    bool isTemporary() const { return name_ == "TMPR"; }

    std::filesystem::path indexPath() const;
    std::filesystem::path birthPath() const;
    std::filesystem::path notesPath() const;
    bool exists() const;  // the ".ST1" is there
    bool hasNotesFile() const;

    // Number of subjects: index records minus the header.
    int count() const;
    int indexRecordCount() const;
    int birthRecordCount() const;
    int notesRecordCount() const;

    std::string readEntry(int k) const;
    void writeEntry(int k, std::string_view text);
    // Every index entry, the header included.
    std::vector<std::string> readAllEntries() const;

    BirthRecord readRecord(int n) const;
    void writeRecord(int n, const BirthRecord& record);
    int appendRecord(const BirthRecord& record);

    NotesRecord readNotes(int n) const;
    void writeNotes(int n, const NotesRecord& notes);
    int appendNotes(const NotesRecord& notes);

    // Appends `text` and moves it down to its place in one pass from the end to record 2,
    // swapping every neighbour pair that is out of order (ties swap as well). Returns the
    // entry's final position. The index is rewritten whole, so a failure leaves the old
    // index intact.
    int insertEntry(std::string_view text);

    // Removes entry k (1 <= k < record count): the later entries move down by one.
    void removeEntry(int k);

    // The position the browsers centre on for a typed prefix: 100 bisection steps with the
    // prefix padded with "!" to 38 characters.
    // The first entry that begins with `prefix` (entries compared as stored); 0 when none does.
    int firstStartingWith(std::string_view prefix) const;
    int findNear(std::string_view prefix) const;

    // Folder of the archive's text documents ("BASEtxt").
    std::string textFolder() const { return name_ + "txt"; }
    // Relative name of document `number` ("BASEtxt\00007.txt").
    std::string textDocument(std::string_view number) const;
    // Takes the next document number from the counter "FlagTxt.set", creating folder and
    // counter when absent. A number whose document already exists is passed over.
    std::string nextTextNumber();

    // Creates the three files, each holding only its record 0, for the files that are
    // missing; a file that exists is kept. A missing index beside birth records is rebuilt
    // from them, one entry "SIN NOMBRE nnnnn" per record, so that no subject is hidden; returns
    // how many entries it rebuilt.
    int create();

private:
    std::filesystem::path path(std::string_view extension) const;

    // The index as the searches of a typed name see it, read whole and kept while the file
    // is the one it was read from: the name browser searches twice per key typed, and a
    // read per record visited cost more than the search.
    struct IndexSnapshot;
    std::shared_ptr<const IndexSnapshot> indexSnapshot() const;

    DataRoot root_;
    std::string name_;
    mutable std::shared_ptr<const IndexSnapshot> snapshot_;
};

// True for a name of four characters that can name files (no separators, no dots).
bool isArchiveName(std::string_view name);

// The archives of the program folder: every "????.ST1" (any letter case), upper-cased,
// sorted, without duplicates.
std::vector<std::string> listArchives(const DataRoot& root);

// The caption of an archive in the lists: "BASE (personale)", "TMPR (temporaneo)",
// "RICE (speciale)", "BANK (banca dati)", or the bare name.
std::string archiveCaption(std::string_view name);

// At start-up: when no "BASE.st1" exists, create the BASE archive. Returns true when it did;
// `recovered` (when given) receives the subjects whose index entries had to be rebuilt.
bool ensureBaseArchive(const DataRoot& root, int* recovered = nullptr);

// Index entries that cannot belong to the birth-record file beside them: an entry whose
// record number is not a number or names no record, or that names a record an earlier entry
// already names. The trace of an index and a record file that do not go together (one of
// them restored from another copy, a failed copy).
// A file whose size is not whole records was cut (a failed copy, a full disk): the index is
// always replaced whole, so a cut index is damage; a cut birth-record file may be the trace
// of an interrupted save, which the next save overwrites.
struct IndexMismatch {
    std::vector<int> dangling;    // positions of entries naming no record
    std::vector<int> duplicates;  // positions of later entries naming a record already named
    bool indexCut = false;        // the index ends in part of an entry
    bool recordsCut = false;      // the birth-record file ends in part of a record
    bool any() const { return !dangling.empty() || !duplicates.empty(); }
};
IndexMismatch findIndexMismatch(const Archive& archive);

// Keeps a copy of the index beside it (NAME.ST1.copia-YYYYMMDD-hhmmss) and rewrites the index
// without the entries findIndexMismatch names (found again under the folder lock). Returns
// the copy's file name.
std::string repairIndex(Archive& archive);

// The name a rebuilt index entry gives the subject of birth record k.
std::string unnamedSubject(int k);

// Runs of the insertion pass on entries held in memory (the header at 0 never moves).
// Returns the final position of the entry appended last.
int insertionPass(std::vector<std::string>& entries);

}  // namespace athanor
