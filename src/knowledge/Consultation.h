#pragma once
#include "foundations/DataRoot.h"
#include "knowledge/KnowledgeRecords.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace athanor {

// The consultation of the knowledge base: the symptom, remedy and therapies windows with
// their pages of fourteen rows, and the two windows of the plant data set (Corvell-1,
// Corvell-2). Read only.

// ---- Lists shown at opening ------------------------------------------------------

std::vector<std::string> symptomList(const DataRoot& root);     // Sintomi.txt, file order
std::vector<std::string> remedyLineList(const DataRoot& root);  // ProdotB.txt, file order
std::vector<std::string> pathologyList(const DataRoot& root);   // Patolog.txt sorted; empty when absent
// Records 1 on of OpzioneS\Piante.rnd and OpzioneS\Sintomi.rnd, sorted; empty when absent.
std::vector<std::string> plantList(const DataRoot& root);
std::vector<std::string> plantSymptomList(const DataRoot& root);

// ---- The scans ---------------------------------------------------------------------

inline constexpr int kPageRows = 14;
inline constexpr int kMaxEntries = 140;  // ten pages

// The records that match a selection, from record 1, in file order.
struct Matches {
    std::vector<std::int64_t> records;  // the first 140: what the page keeps
    std::int64_t total = 0;             // every match
    std::int64_t last = -1;             // the last match (the remedy window shows its texts)
    std::string name;                   // remedy window: the name the records carry
};

// Records whose whole indication (both parts) equals the symptom.
Matches findSymptom(const DataRoot& root, std::string_view symptom);
// Records whose name equals the line; when none does and the line is an alias line, the
// records of the name at its character 71.
Matches findRemedy(const DataRoot& root, std::string_view line);
// Repertory records whose pathology equals it.
Matches findTherapy(const DataRoot& root, std::string_view pathology);

// ---- The page of fourteen rows ---------------------------------------------------

// Up to 140 matching records kept as entries, shown fourteen to a page.
class ResultPager {
public:
    // A new selection: page 1, no entries.
    void reset();
    // Offers the next matching record of the scan: kept as an entry while fewer than 140
    // are; placed in the first free row of the page if there is one.
    void offer(std::int64_t record);
    void offerAll(const std::vector<std::int64_t>& records);

    int page() const noexcept { return page_; }
    // ceil(entries / 14), at least 1.
    int pageCount() const noexcept;
    int entryCount() const noexcept { return static_cast<int>(entries_.size()); }
    const std::vector<std::int64_t>& entries() const noexcept { return entries_; }
    // "p/P" of the page box.
    std::string pageText() const;
    // The box is red while matches wait beyond the page shown, aqua otherwise.
    bool morePending() const noexcept { return red_; }

    // The records in the rows of the page shown, row 1 first (at most 14).
    const std::vector<std::int64_t>& rows() const noexcept { return rows_; }
    // The record of row n (1..14), or -1 for an empty row.
    std::int64_t rowRecord(int n) const;

    // Page moves; false (and nothing changes) at the first or last page.
    bool next();
    bool previous();

private:
    void showPage();

    std::vector<std::int64_t> entries_;
    std::vector<std::int64_t> rows_;
    int page_ = 1;
    bool red_ = false;
};

// What a row shows.
struct ConsultationRow {
    std::string remedy;
    std::string planets;  // primary, a blank, secondary, cut to 71 (empty in therapies)
    std::string signs;    // zodiacal signature (empty in therapies)
    std::string fourth;   // symptom window: posology; remedy window: indication; therapies: posology
};
ConsultationRow symptomRow(const RemedyRecord& r);
ConsultationRow remedyRow(const RemedyRecord& r);
ConsultationRow therapyRow(const TherapyRecord& t);

// The rows of the current page read from the file.
std::vector<ConsultationRow> symptomRows(const DataRoot& root, const std::vector<std::int64_t>& records);
std::vector<ConsultationRow> remedyRows(const DataRoot& root, const std::vector<std::int64_t>& records);
std::vector<ConsultationRow> therapyRows(const DataRoot& root, const std::vector<std::int64_t>& records);

// ---- Texts beside the rows -------------------------------------------------------

// The caption and text of the note area.
struct NoteText {
    std::string caption;
    std::string text;
    bool operator==(const NoteText&) const = default;
};

// The step counters of the row buttons: each press shows the row's current step and
// moves it on (symptom and remedy windows 0..3, therapies 0..1). Reset at each selection,
// kept by page moves.
class RowSteps {
public:
    explicit RowSteps(int steps) : steps_(steps) {}
    void reset() { counters_.fill(0); }
    // The step to show for row n (1..14); the row's counter advances.
    int press(int n);

private:
    int steps_;
    std::array<int, kPageRows> counters_{};
};

// Symptom window: warnings, synthesis, notes, additional notes, each trimmed, or its
// message when empty. Caption: name, " - ", title.
NoteText symptomRowNote(const RemedyRecord& r, int step);
// Remedy window: posology, synthesis, notes, additional notes.
NoteText remedyRowNote(const RemedyRecord& r, int step);
// Therapies window, step 0: the notes of the pairing (repertory from record 1).
NoteText therapyPairingNotes(const DataRoot& root, std::string_view pathology, std::string_view remedy);
// Therapies window, step 1: the warnings of the remedy in the database (from record 1).
NoteText therapyRemedyWarnings(const DataRoot& root, std::string_view remedy);

// The remedy window's texts for the last matching record.
struct RemedyHeader {
    std::string name;            // EdRime
    std::string warnings;        // EdAvve, or its message when empty
    std::string synthesis;       // MemoNote
    std::string productType;     // LabSpeci
    bool useNumberNote = false;  // MemoPare shown
};
RemedyHeader remedyHeader(const RemedyRecord& last, std::string_view selectedLine);
// "(Alchemical-Spagyric ... of Tessaran)" for names containing "MSA", "TSA" or "QSPC" (the
// last that applies), "" otherwise.
std::string productTypeText(std::string_view name);
// True when the text holds one of "(1)" .. "(9)".
bool hasUseNumber(std::string_view text);
inline constexpr const char* kUseNumberNote = "El n\xFAmero entre par\xE9ntesis se refiere a un uso espec\xED"
                                              "fico del Remedio y NO a una variante del mismo "
                                              "Rimedio";
inline constexpr const char* kNoWarnings = "No hay advertencias para este remedio";

// The pop-up of a planets or signs box: the text cut at every blank and "-", words of at
// most 15 characters, at most 12; in a planets box the first 1 + (number of "-") words
// are primary and carry "§ ".
std::vector<std::string> signaturePopup(std::string_view text, bool planetsBox);

// ---- Corvell-1: a plant and its symptoms ----------------------------------------

inline constexpr int kPlantPageLines = 26;
struct PlantConsultation {
    std::string plant;                                  // trimmed
    std::string primary, secondary, zodiac, synthesis;  // of the last match
    // Four pages of (symptom, authors) lines, each followed by 120 "-"; matches 1-26 on
    // page 1, 27-52 on 2, 53-78 on 3, all later ones on 4.
    std::array<std::vector<std::pair<std::string, std::string>>, 4> pages;
    int pageCount = 1;  // the highest page used, 1..4
};
PlantConsultation consultPlant(const DataRoot& root, std::string_view plant);

// ---- Corvell-2: a symptom and its plants ----------------------------------------

struct SymptomPlant {
    std::string plantLine;  // plant + 40 "-"
    std::string synthesis;
    std::string numberText;  // the record number, at least four digits
    std::int64_t record = 0;
};
struct PlantDetails {
    std::string plant, primary, secondary, zodiac, authors;
    bool operator==(const PlantDetails&) const = default;
};
struct SymptomConsultation {
    std::string symptom;  // trimmed
    std::vector<SymptomPlant> plants;
    PlantDetails details;                    // of the last match with a plant
    std::optional<std::string> alternative;  // authors of the last plant-less match, when no match had a plant
};
SymptomConsultation consultPlantSymptom(const DataRoot& root, std::string_view symptom);
// A click on a plant of the list: the record at its number.
PlantDetails plantDetails(const DataRoot& root, std::int64_t record);

}  // namespace athanor
