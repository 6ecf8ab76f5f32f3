#pragma once
#include "engine/CorrectionFiles.h"
#include "foundations/ChartState.h"
#include "foundations/DataRoot.h"
#include "subjects/Archive.h"
#include "subjects/BirthMoment.h"
#include "subjects/CoordText.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace athanor {

// The writing side of the archive windows: save, retrieve, delete and modify, as plain
// functions over the files. The windows add the widgets, the colours and the messages.

// ---- save ---------------------------------------------------------------------------

// What the entry window hands to the save window.
struct SaveInput {
    std::string name;    // upper case, at most 38 characters
    BirthMoment moment;  // made by the entry's checks; what the save writes and computes from
    std::string locality;
    std::string coordText;
    std::string zoneText;       // -C as the save window shows it: "+1", "-5,5"
    long double julianDay = 0;  // EditJD as the entry window showed it (nothing is computed from it)
    std::string country;
};

struct SaveRequest {
    std::string archive;               // four characters
    std::array<std::string, 4> notes;  // EditMemo1..4
    std::string documentNumber;        // EditNfile: five digits or ""
    // Called after the birth record is written and before the index entry is: a save
    // interrupted there leaves an unlisted record, never an entry pointing at nothing.
    std::function<void()> beforeIndexEntry;
};

struct SaveResult {
    int recordNumber = 0;  // in the archive's ".ST2"
    int position = 0;      // of the new entry in the archive's ".ST1" (0 for TMPR)
    std::string entryText;
};

// The zone text the entry window hands over for its correction field (EditFuso): the
// opposite sign, at most four characters after it, "," for ".": "-1" -> "+1",
// "+10,75" -> "-10,7".
std::string zoneTextFromCorrection(std::string_view correction);

// C from the zone text: its value negated; 0 when it is not a number.
long double correctionFromZone(std::string_view zoneText);

// Writes the subject into the archive and makes it the current subject: notes (when any
// note or a document number is given, not for TMPR), the birth record (its stamp and
// summaries from the hand-off's birth moment), record 0 of TMPR, then the index entry in
// its place. Throws FileError on a file failure, and when the archive already holds
// 99,999 birth records.
SaveResult saveSubject(const DataRoot& root, const ChartState& settings, const CorrectionFiles& files,
                       const SaveInput& input, const SaveRequest& request);

// "Guardar y Crear Archivos de Texto", before the editor opens: creates the archive's
// text folder and counter when absent, takes the next number, writes the document with
// the name as its first line, and points DatModif.dum and StrText.dum at it. Returns the
// number.
std::string createTextDocument(const DataRoot& root, std::string_view archive, std::string_view name);

// ---- retrieve -----------------------------------------------------------------------

// Up to three words of a name for the surname/name inversion; the third keeps the rest.
std::vector<std::string> nameWords(std::string_view name);

// The inversion button: two words alternate, three go through all six orders. The press
// counter is shared and restarts at 0 when the window opens (reset()).
class NameInversion {
public:
    void reset() { presses_ = 0; }
    std::string press(const std::vector<std::string>& words);

private:
    int presses_ = 0;
};

struct RetrievedSubject {
    std::string entryText;
    int recordNumber = 0;
    BirthRecord record;
    std::string name;  // EditNome: the name part of the entry, up to "("
    std::vector<std::string> words;
    std::string displayDate;          // EditData
    std::string correction;           // EditCorr
    std::string coordText;            // EditCoord
    std::string locality;             // EditLocal: cleaned for display
    std::string country;              // EditNaz
    std::string calendar;             // EditCal: "GREG" or "GIUL"
    bool hasNotes = false;            // the archive has its ".ST3"
    std::array<std::string, 4> memo;  // MemoAnnotaz
    std::string documentNumber;
};

// Loading a picked entry in the retrieval window. The record number is the last five
// characters of `entry`, or else of `fallbackEntry` (the list's fifth line); nullopt when
// neither gives a record of the archive (a wrong selection). Writes PointGlo.dum and, when
// the archive has notes, Annotaz.dum and StrText.dum.
std::optional<RetrievedSubject> retrieveSubject(const DataRoot& root, const Archive& archive, std::string_view entry,
                                                std::string_view fallbackEntry = {});

// The retrieval's OK: TMPR.ST1 and TMPR.ST2 rewritten with the loaded subject, its name,
// locality and country as edited.
void makeRetrievedCurrent(const DataRoot& root, const RetrievedSubject& subject, std::string_view editedName,
                          std::string_view editedLocality, std::string_view editedCountry);

// ---- delete -------------------------------------------------------------------------

struct SubjectForDeletion {
    std::string entryText;
    int position = 0;
    BirthRecord record;
    std::array<std::string, 7> lines;  // MemoSogg
    std::array<std::string, 4> memo;   // MemoAnnotaz
    std::string documentNumber;        // Label10
    std::string notesWarning;          // set when the notes file could not give this subject's notes
};

// Showing the subject at `position`; nullopt when its entry holds no usable record number.
std::optional<SubjectForDeletion> showForDeletion(const Archive& archive, int position);

// Removes the entry (when it still is the one shown: otherwise false, nothing changed),
// lists the archive in MMordina.dum and deletes the subject's text document. The birth
// and notes records stay.
bool deleteSubject(const DataRoot& root, Archive& archive, const SubjectForDeletion& shown);

// ---- modify -------------------------------------------------------------------------

struct ModifyForm {
    std::string name;                  // EditNomeSogg
    std::string date;                  // EditDataNasc "DD/MM/YYYY"
    std::string time;                  // EditOraNasc "hh:mm"
    std::string calendar;              // EditCalend "GREGORIANO" / "GIULIANO"
    std::string locality;              // EditLocalita
    std::string correction;            // EditGmt
    std::string coordText;             // EditCoordi
    std::string country;               // EditStato
    std::array<std::string, 4> notes;  // EditMemo1..4
    std::string documentNumber;        // EditNfile
};

struct SubjectForModify {
    int position = 0;
    int recordNumber = 0;
    std::string oldKey;  // first 38 characters of the entry
    BirthRecord record;  // as read: reserved fields and notes number are kept
    ModifyForm form;
    std::string notesWarning;  // the notes could not be read: shown empty, saved as new ones
};

// Loading the entry at `position`; nullopt when its record number is not a number or not
// a record of the archive. Notes that cannot be read (a missing or short notes file) come
// empty with `notesWarning` set, so that the subject can still be modified.
std::optional<SubjectForModify> loadForModify(const Archive& archive, int position);

struct ModifyCheck {
    bool ok = false;
    std::string message;             // the fixed text of the first failing check
    bool needsConfirmation = false;  // the longitude and the correction disagree
    ModifyForm form;                 // trimmed, with "," of the correction turned into "."
};

inline constexpr const char* kModifyConfirmCaption = "Explorer";
extern const char* const kModifyConfirmQuestion;

// Checks 1 to 6 in order, stopping at the first failure.
ModifyCheck checkModification(const ModifyForm& form);

struct ModifyResult {
    int position = 0;  // of the entry after the move
    std::string entryText;
    BirthRecord record;
};

// Steps 8 to 12 for a form that passed the checks: the notes, the birth record rewritten in
// place, then the index entry moved when the first eight characters of the name changed.
ModifyResult applyModification(const ChartState& settings, const CorrectionFiles& files, Archive& archive,
                               const SubjectForModify& subject, const ModifyForm& checked);

// "Crear / Actualizar texto ampliado": keeps the document named by `documentNumber` when it
// exists, otherwise takes a new number and creates the document with the name as first
// line. Returns the number to show in EditNfile.
std::string prepareTextDocument(Archive& archive, std::string_view documentNumber, std::string_view name);

// Moves an entry as the modify operation does (in memory; the header at 0 never moves):
// towards the start while the new key sorts before the entry above, or towards the end
// while it sorts after the entry below. Returns the final position.
int moveEntry(std::vector<std::string>& entries, int position, const std::string& newKey);

}  // namespace athanor
