#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace athanor {

// The "find" buttons beside a list: the next entry whose upper-cased text contains the
// upper-cased word, continuing after the last one found.
class ListFinder {
public:
    enum class AtEnd {
        // Multiple-symptom and composite-therapy windows ("Trova"): the list first selects
        // its first entry; when nothing more is found it stays there and the position is kept.
        StayOnFirst,
        // Editors ("trova"): no find leaves the selection alone and the next press starts
        // again from the top.
        RestartFromTop,
    };
    explicit ListFinder(AtEnd mode) : mode_(mode) {}

    // The entry to select, or -1 for none (an empty list, or no find in RestartFromTop).
    int find(const std::vector<std::string>& entries, std::string_view word);
    // A click into the box: the next press starts from the top.
    void restart() { position_ = 0; }
    int position() const noexcept { return position_; }

private:
    AtEnd mode_;
    int position_ = 0;
};

}  // namespace athanor
