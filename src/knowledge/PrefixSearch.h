#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace athanor {

// The text typed into a list's search box, kept beside the box. Typed letters a-z are
// upper-cased: every one of them, or (symptom, Corvell-2, multiple-symptom windows and
// the database editor ordered by pathology) only the first character of the text.
class TypedPrefix {
public:
    enum class Case { Upper, FirstUpper };
    explicit TypedPrefix(Case mode = Case::Upper) : mode_(mode) {}

    // Appends a typed character; '\b' removes the last one, other control characters
    // (Enter among them) are not part of the text.
    void type(char c);
    void backspace();
    void clear() { text_.clear(); }  // a click into the box
    const std::string& text() const noexcept { return text_; }

private:
    Case mode_;
    std::string text_;
};

// Where the selection of a sorted list goes for the typed text p: a bisection of exactly
// 100 steps comparing the first |p| characters of an entry with p byte by byte, from the
// bounds 0 and the number of entries. -1 for an empty list. (The bisection never lands
// on its upper bound, so it starts from the entry count in every window, never from the
// last index: the last entry stays reachable.)
int prefixPosition(const std::vector<std::string>& entries, std::string_view p);

// The same search in the order the list is sorted in (case-insensitive, by the user's
// locale): the first entry whose first |p| characters do not sort before p, or the last
// entry when all do. The byte comparison above goes astray on names in mixed case ("TSA
// Romero" sorts after the typed "TSA ROM"), so the keeping windows position with this one.
int sortedPrefixPosition(const std::vector<std::string>& entries, std::string_view p);

}  // namespace athanor
