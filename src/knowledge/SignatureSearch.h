#pragma once
#include "foundations/DataRoot.h"
#include "knowledge/KnowledgeRecords.h"
#include "knowledge/Signatures.h"
#include "knowledge/TextLists.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace athanor {

// The signature and weakness windows over the program folder: the remedy-name list with
// FileDum\Prdts.dum, the search into FileDum\Segnat.dum and its pages, and the two steps
// of the weakness search.

// The list of remedy names of the signature, plants and synthesis windows (every record
// from 0, names trimmed, sorted, once each, none containing "Errore"); FileDum\Prdts.dum
// is rewritten with the first record of each.
std::vector<RemedyNameEntry> openRemedyNameList(const DataRoot& root);

// The first record (from record 0) that carries the name, trailing blanks aside.
std::optional<RemedyRecord> firstRecordNamed(const DataRoot& root, std::string_view name);

// The search: each entry of the list is judged by the record its line of Prdts.dum names;
// the remedies that answer (planet, sign) are written to FileDum\Segnat.dum. Returns how
// many were found.
std::size_t runSignatureSearch(const DataRoot& root, const std::vector<RemedyNameEntry>& list, std::string_view planet,
                               std::string_view sign);
// Page p (1-based) of the last search, read back from Segnat.dum.
std::vector<SignatureRow> signatureResultPage(const DataRoot& root, int page);

// The page box of the search: page p of P, red after a search that found more than one
// page, white again once the user turns a page or chooses a remedy.
class SignaturePages {
public:
    void found(std::size_t n);  // a new search: page 1
    void clear();               // rows taken by chosen remedies: the box empty
    bool next();                // false (nothing changes) on the last page
    bool previous();            // false on the first
    int page() const noexcept { return page_; }
    int pageCount() const noexcept { return count_; }
    std::size_t foundCount() const noexcept { return found_; }
    bool red() const noexcept { return red_; }
    bool holdsSearch() const noexcept { return search_; }
    // "p/P", or "" when the rows hold chosen remedies.
    std::string text() const;

private:
    std::size_t found_ = 0;
    int page_ = 0, count_ = 0;
    bool red_ = false, search_ = false;
};

// The fourteen rows where remedies chosen from the list accumulate side by side; a
// fifteenth choice starts again from row 1.
class ChosenSignatures {
public:
    void choose(const RemedyRecord& r);
    void clear() { rows_.clear(); }
    const std::vector<SignatureRow>& rows() const noexcept { return rows_; }

private:
    std::vector<SignatureRow> rows_;
};

// The weakness window, for a planet criterion and the weakened sign as its button shows
// it ("Libra" searches the remedies of "Aries"; "Cualquier" any sign).
std::vector<std::string> weaknessPathologies(const DataRoot& root, std::string_view planet,
                                             std::string_view weakenedSign);
// The remedies of the repertory for the pathology, sorted; those that answer the
// weakness as ">>> name <<<".
std::vector<std::string> weaknessRemedies(const DataRoot& root, std::string_view pathology, std::string_view planet,
                                          std::string_view weakenedSign);

}  // namespace athanor
