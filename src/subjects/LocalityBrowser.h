#pragma once
#include "subjects/Localities.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace athanor {

// The seven-line window over a locality list: its centre record and how the scroll bar
// and the keys move it. N is the number of places.
class LocalityBrowser {
public:
    enum class Move {
        LineDown,            // scroll bar arrow: +1 while centre < N-3
        LineUp,              // -1 while centre > 4
        PageDown,            // scroll bar page: +7 while centre < N-11
        PageUp,              // -7 while centre > 12
        Thumb,               // = position, clamped to 4 .. N-4
        KeyDownOnLastLine,   // Down on line 7: +1 while centre < N-3
        KeyUpOnFirstLine,    // Up on line 1: -1 while centre > 4
        PageDownOnLastLine,  // Page Down on line 7: +6 while centre < N-6, at most to N-3
        PageUpOnFirstLine,   // Page Up on line 1: -6 while centre > 4, at least to 4
    };

    static constexpr std::int64_t kStartCentre = 4;

    explicit LocalityBrowser(std::int64_t count) : count_(count) {}

    std::int64_t count() const noexcept { return count_; }
    std::int64_t centre() const noexcept { return centre_; }

    // Back to the start of the list.
    void reset() noexcept { centre_ = kStartCentre; }

    // Applies one movement; `position` is the thumb's position for Move::Thumb. Returns
    // whether the centre changed.
    bool move(Move m, std::int64_t position = 0) noexcept;

    // Centres the window on a search result, clamped to 4 .. N-4.
    void centreOn(std::int64_t record) noexcept { centre_ = clamped(record); }

    // The record shown on line 0..6 (the list's record centre-3+line).
    std::int64_t recordOfLine(int line) const noexcept { return centre_ - 3 + line; }

    // The scroll bar: range 1 .. N, position the centre.
    std::int64_t scrollMinimum() const noexcept { return 1; }
    std::int64_t scrollMaximum() const noexcept { return count_; }

private:
    // 4 .. N-4; a list too short for that range keeps 4.
    std::int64_t clamped(std::int64_t c) const noexcept;

    std::int64_t count_;
    std::int64_t centre_ = kStartCentre;
};

// The place field and the list window of the birth-data entry: the typed prefix, the list
// in use and the window over it. Keeps the list file open, as the window does.
class LocalityPicker {
public:
    // Opens a list with its window at the start. FileError when the list is missing.
    LocalityPicker(const DataRoot& root, LocalityListKind kind);

    // Closes the open list and opens the other at the start; the typed prefix stays.
    void switchTo(LocalityListKind kind);

    const LocalityList& list() const noexcept { return *list_; }
    LocalityBrowser& browser() noexcept { return browser_; }
    const LocalityBrowser& browser() const noexcept { return browser_; }
    const std::string& prefix() const noexcept { return prefix_; }

    // A key other than Enter typed into the field ('\b' is Backspace). The key is
    // upper-cased (a-z) for the Italian list, and for the foreign list only as the first
    // character. A prefix left non-empty is searched and the window centred on it; the
    // first place that starts with it is selected and brought into the window.
    void typeKey(char key);

    // The selected place's line in the window, when it shows there.
    std::optional<int> selectedLine() const noexcept;
    // The place on a line becomes the selected one (the arrow keys, a click); a line that
    // shows no place clears the selection.
    void selectLine(int line) noexcept;

    // A click into the field: empty prefix, window at the start.
    void clickField();

    // The seven window lines around the centre.
    std::array<std::string, kLocalityWindowLines> lines() const { return list_->windowLines(browser_.centre()); }

    enum class EnterOutcome { MissingDates, Chosen, DoubleClickNeeded };
    struct Enter {
        EnterOutcome outcome;
        std::int64_t record = 0;  // the chosen place when outcome is Chosen
    };
    // Enter in the field. `datesComplete`: none of the five date and time fields is empty.
    // The selected place is chosen when the window shows it, so Enter takes what the list
    // shows selected and nothing else; without one, or when the typed text names several
    // places exactly and none was picked by hand, the list asks for a double click.
    Enter enter(bool datesComplete) const;

    // A double click on a line, or Enter in the list: the record shown there; nothing for
    // a line that shows no place.
    std::optional<std::int64_t> chooseLine(int line) const noexcept;

private:
    DataRoot root_;
    std::unique_ptr<LocalityList> list_;
    LocalityBrowser browser_;
    std::string prefix_;
    std::int64_t selected_ = 0;  // 0: none
    bool selectedByTyping_ = false;
};

// The messages of the place field.
inline constexpr const char* kMessageEnterDates = "Introduzca las fechas de nacimiento";
inline constexpr const char* kMessageDoubleClickList = "Haga doble clic en la Lista de la localidad";

}  // namespace athanor
