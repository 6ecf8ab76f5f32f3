#include "knowledge/PrefixSearch.h"

#include "foundations/Collation.h"
#include "foundations/Format.h"

#include <algorithm>

namespace athanor {

namespace {
char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

void TypedPrefix::type(char c) {
    if (c == '\b') return backspace();
    if (static_cast<unsigned char>(c) < 0x20) return;
    text_.push_back(mode_ == Case::Upper || text_.empty() ? upper(c) : c);
}

void TypedPrefix::backspace() {
    if (!text_.empty()) text_.pop_back();
}

int prefixPosition(const std::vector<std::string>& entries, std::string_view p) {
    if (entries.empty()) return -1;
    const int n = static_cast<int>(entries.size());
    int lo = 0;
    int hi = n;
    int a = hi / 2;
    for (int step = 0; step < 100; ++step) {
        // std::string_view compares bytes as unsigned, as the ordinal comparison does.
        const std::string_view s = std::string_view(entries[a]).substr(0, p.size());
        if (s > p) {
            hi = a;
            a = (a + lo) / 2;
        } else if (s < p) {
            lo = a;
            a = (a + hi) / 2;
        }
    }
    return a;
}

int sortedPrefixPosition(const std::vector<std::string>& entries, std::string_view p) {
    if (entries.empty()) return -1;
    // Upper-cased on both sides: the collation alone still orders "o" before "O".
    const std::string typed = upperCased(p);
    const auto at = std::partition_point(entries.begin(), entries.end(), [&](const std::string& e) {
        return collate(upperCased(std::string_view(e).substr(0, p.size())), typed) < 0;
    });
    return static_cast<int>(std::min<std::ptrdiff_t>(at - entries.begin(), std::ssize(entries) - 1));
}

}  // namespace athanor
