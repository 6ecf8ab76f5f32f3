#include "subjects/LocalityBrowser.h"

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
        case Move::PageDownOnLastLine:
            if (centre_ < n - 6) centre_ += 6;
            break;
        case Move::PageUpOnFirstLine:
            if (centre_ > 4) centre_ -= 6;
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
        const std::string line = lines()[3];
        if (line.compare(0, prefix_.size(), prefix_) == 0) return {EnterOutcome::Chosen, browser_.centre()};
    }
    return {EnterOutcome::DoubleClickNeeded};
}

}  // namespace athanor
