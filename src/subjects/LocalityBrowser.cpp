#include "subjects/LocalityBrowser.h"

#include <algorithm>

namespace athanor {

std::int64_t LocalityBrowser::clamped(std::int64_t c) const noexcept {
    if (c > count_ - 4) c = count_ - 4;
    if (c < kStartCentre) c = kStartCentre;
    return c;
}

bool LocalityBrowser::move(Move m, std::int64_t position) noexcept {
    const std::int64_t before = centre_;
    const std::int64_t n = count_;
    switch (m) {
    case Move::LineDown:
    case Move::KeyDownOnLastLine:
        if (centre_ < n - 3) centre_ += 1;
        break;
    case Move::LineUp:
    case Move::KeyUpOnFirstLine:
        if (centre_ > 4) centre_ -= 1;
        break;
    case Move::PageDown:
        if (centre_ < n - 11) centre_ += 7;
        break;
    case Move::PageUp:
        if (centre_ > 12) centre_ -= 7;
        break;
    case Move::Thumb:
        centre_ = clamped(position);
        break;
    // A page from the last or first line would leave the window past either end of
    // the list, with lines that show nothing; it stops where the line moves stop.
    case Move::PageDownOnLastLine:
        if (centre_ < n - 6) centre_ = std::min(centre_ + 6, n - 3);
        break;
    case Move::PageUpOnFirstLine:
        if (centre_ > 4) centre_ = std::max<std::int64_t>(centre_ - 6, kStartCentre);
        break;
    }
    return centre_ != before;
}

LocalityPicker::LocalityPicker(const DataRoot& root, LocalityListKind kind)
    : root_(root), list_(std::make_unique<LocalityList>(root, kind)), browser_(list_->count()) {}

void LocalityPicker::switchTo(LocalityListKind kind) {
    list_.reset();
    list_ = std::make_unique<LocalityList>(root_, kind);
    browser_ = LocalityBrowser(list_->count());
}

void LocalityPicker::typeKey(char key) {
    if (key == '\b') {
        if (!prefix_.empty()) prefix_.pop_back();
    } else {
        const bool upper = list_->italian() || prefix_.empty();
        if (upper && key >= 'a' && key <= 'z') key = static_cast<char>(key - 'a' + 'A');
        prefix_.push_back(key);
    }
    if (!prefix_.empty()) browser_.centreOn(list_->bisect(prefix_));
}

void LocalityPicker::clickField() {
    prefix_.clear();
    browser_.reset();
}

LocalityPicker::Enter LocalityPicker::enter(bool datesComplete) const {
    if (!datesComplete) return {EnterOutcome::MissingDates};
    if (!prefix_.empty()) {
        const auto exact = list_->exactMatches(prefix_, 2);
        if (exact.size() == 1) return {EnterOutcome::Chosen, exact.front()};
        if (exact.size() > 1) return {EnterOutcome::DoubleClickNeeded};
        const std::string line = lines()[3];
        if (line.compare(0, prefix_.size(), prefix_) == 0) return {EnterOutcome::Chosen, browser_.centre()};
    }
    return {EnterOutcome::DoubleClickNeeded};
}

std::optional<std::int64_t> LocalityPicker::chooseLine(int line) const noexcept {
    if (line < 0 || line >= kLocalityWindowLines) return std::nullopt;
    const std::int64_t k = browser_.recordOfLine(line);
    if (k < 1 || k > list_->count()) return std::nullopt;
    return k;
}

}  // namespace athanor
