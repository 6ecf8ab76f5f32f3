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
    selected_ = 0;
}

void LocalityPicker::typeKey(char key) {
    if (key == '\b') {
        if (!prefix_.empty()) prefix_.pop_back();
    } else {
        const bool upper = list_->italian() || prefix_.empty();
        if (upper && key >= 'a' && key <= 'z') key = static_cast<char>(key - 'a' + 'A');
        prefix_.push_back(key);
    }
    selected_ = 0;
    if (prefix_.empty()) return;
    browser_.centreOn(list_->bisect(prefix_));
    // The search lands after the names that continue the text with a blank ("New York"
    // lands on "New York Mills", below "New York City"): select the first name that starts
    // with the text, and move the window when that name lies outside it.
    selected_ = list_->firstStartingWith(prefix_);
    selectedByTyping_ = true;
    if (selected_ != 0 && !selectedLine()) browser_.centreOn(selected_);
}

void LocalityPicker::clickField() {
    prefix_.clear();
    browser_.reset();
    selected_ = 0;
}

std::optional<int> LocalityPicker::selectedLine() const noexcept {
    if (selected_ < 1) return std::nullopt;
    const std::int64_t line = selected_ - browser_.recordOfLine(0);
    if (line < 0 || line >= kLocalityWindowLines) return std::nullopt;
    return static_cast<int>(line);
}

void LocalityPicker::selectLine(int line) noexcept {
    selected_ = chooseLine(line).value_or(0);
    selectedByTyping_ = false;
}

LocalityPicker::Enter LocalityPicker::enter(bool datesComplete) const {
    if (!datesComplete) return {EnterOutcome::MissingDates};
    if (!selectedLine()) return {EnterOutcome::DoubleClickNeeded};
    // Typed text that names several places exactly cannot tell them apart: the user picks one.
    if (selectedByTyping_ && list_->exactMatches(prefix_, 2).size() > 1) return {EnterOutcome::DoubleClickNeeded};
    return {EnterOutcome::Chosen, selected_};
    return {EnterOutcome::DoubleClickNeeded};
}

std::optional<std::int64_t> LocalityPicker::chooseLine(int line) const noexcept {
    if (line < 0 || line >= kLocalityWindowLines) return std::nullopt;
    const std::int64_t k = browser_.recordOfLine(line);
    if (k < 1 || k > list_->count()) return std::nullopt;
    return k;
}

}  // namespace athanor
