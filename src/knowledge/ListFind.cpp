#include "knowledge/ListFind.h"

#include "foundations/Format.h"

namespace athanor {

int ListFinder::find(const std::vector<std::string>& entries, std::string_view word) {
    const std::string w = upperCased(word);
    const int n = static_cast<int>(entries.size());
    for (int i = position_; i < n; ++i) {
        if (upperCased(entries[static_cast<std::size_t>(i)]).find(w) == std::string::npos) continue;
        position_ = i + 1;
        return i;
    }
    if (mode_ == AtEnd::RestartFromTop) {
        position_ = 0;
        return -1;
    }
    return n > 0 ? 0 : -1;
}

}  // namespace athanor
