#pragma once
#include "foundations/DataRoot.h"
#include "knowledge/Consultation.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace athanor {

// What one of the three page windows (symptoms, remedies, therapies) holds between two
// events: the selected item, its matches kept as the entries of a result page, the page
// shown, the step counters of the row buttons, and whether the rows are on show ("Limpiar"
// empties them and keeps the rest).

enum class ConsultationKind { Symptom, Remedy, Therapy };

// The one-line hint of a selection that matches nothing.
inline constexpr const char* kNoResultsHint = "Ning\xFAn resultado";

class ConsultationPage {
public:
    ConsultationPage(DataRoot root, ConsultationKind kind);

    ConsultationKind kind() const noexcept { return kind_; }

    // An entry of the list is selected: page 1, step counters back to 0, the file scanned
    // from record 1 and every match offered to the page. A file error leaves the page
    // empty and is passed on.
    void select(std::string_view item);
    bool hasSelection() const noexcept { return selected_.has_value(); }
    const std::string& selected() const;
    const Matches& matches() const noexcept { return matches_; }
    // A selection was made and nothing matched it.
    bool nothingFound() const noexcept { return selected_ && matches_.total == 0; }

    const ResultPager& pager() const noexcept { return pager_; }
    // The rows are on show: after a selection or a page move, not after "Limpiar".
    bool rowsShown() const noexcept { return shown_; }
    // The records of the rows on show, row 1 first.
    std::vector<std::int64_t> rowRecords() const;
    // Their texts, read from the file.
    std::vector<ConsultationRow> rows() const;

    // Page moves; false (and nothing changes) at either end. A move shows the rows again.
    bool next();
    bool previous();
    // "Limpiar": the rows go; entries, page and step counters stay.
    void clear() noexcept { shown_ = false; }

    // The button of row n (1..14): the note of the row's step, the step then moving on.
    // Nothing (and no step taken) for an empty row.
    std::optional<NoteText> press(int n);

    // Remedy window: the texts of the last matching record; nothing when none matched.
    std::optional<RemedyHeader> remedyHeader() const;

private:
    DataRoot root_;
    ConsultationKind kind_;
    std::optional<std::string> selected_;
    Matches matches_;
    ResultPager pager_;
    RowSteps steps_;
    bool shown_ = false;
};

// Where the remedy window's list holds a remedy name: the line equal to it (trailing blanks
// aside), or else the first alias line that points at it; -1 when the list has neither.
int remedyLineIndex(const std::vector<std::string>& lines, std::string_view name);

// The pages of the Corvell-1 window: the spin button's down arrow goes on, the up arrow
// back, never past the first or the last page.
class PlantPages {
public:
    void reset(int count) noexcept {
        count_ = count < 1 ? 1 : count;
        page_ = 1;
    }
    int page() const noexcept { return page_; }
    int count() const noexcept { return count_; }
    bool forward() noexcept { return page_ < count_ ? (++page_, true) : false; }
    bool back() noexcept { return page_ > 1 ? (--page_, true) : false; }
    // "Pagina p/P"
    std::string label() const { return "Pagina " + std::to_string(page_) + "/" + std::to_string(count_); }

private:
    int page_ = 1;
    int count_ = 1;
};

}  // namespace athanor
