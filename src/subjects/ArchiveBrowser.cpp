#include "subjects/ArchiveBrowser.h"

namespace athanor {

const BrowserLayout BrowserLayout::retrieval{9, 4, 10, 9, 0,  5,  5,
                                             5, 5, 4,  9, 14, 13, "Haga doble clic en la lista Nombre"};
const BrowserLayout BrowserLayout::deletion{9, 4, 10, 10, 1,  5,  5,
                                            5, 5, 4,  9,  14, 13, "Haga doble clic en la lista de los Nombres"};
const BrowserLayout BrowserLayout::modification{8, 3, 9, 9, 1,  4,  4,
                                                4, 4, 3, 8, 13, 12, "Haga doble clic en la lista de los Nombres"};

namespace {

bool beginsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool ArchiveBrowser::open(const Archive& archive) {
    close();
    if (archive.isTemporary()) return false;
    const int n = archive.count();
    archive_.emplace(archive);
    n_ = n < 0 ? 0 : n;
    c_ = n_ < layout_.startThreshold ? layout_.startShort : layout_.startLong;
    return true;
}

void ArchiveBrowser::close() {
    archive_.reset();
    n_ = 0;
    c_ = 0;
    prefix_.clear();
    field_.clear();
    colour_ = Colour::None;
    picked_ = 0;
    loaded_ = false;
}

std::string ArchiveBrowser::entryAt(int position) const { return archive_->readEntry(position); }

int ArchiveBrowser::positionOfLine(int line) const {
    if (!enabled() || line < 0 || line >= layout_.lines) return 0;
    const int pos = shortList() ? line + 1 : c_ - layout_.above + line;
    return (pos >= 1 && pos <= n_) ? pos : 0;
}

std::vector<std::string> ArchiveBrowser::lines() const {
    if (!isOpen()) return {};
    if (n_ == 0) return {kEmptyArchiveLine};
    std::vector<std::string> out;
    for (int i = 0; i < layout_.lines; ++i)
        if (const int pos = positionOfLine(i)) out.push_back(entryAt(pos));
    return out;
}

void ArchiveBrowser::clampCentre() {
    const int hi = n_ - layout_.clampGap;
    if (c_ < layout_.clampLow) c_ = layout_.clampLow;
    if (c_ > hi) c_ = hi;
}

void ArchiveBrowser::typeKey(char key) {
    if (!enabled() || key == '\r' || key == '\n') return;
    if (key == '\b') {
        if (!prefix_.empty()) prefix_.pop_back();
    } else {
        prefix_ += upper(key);
    }
    field_ = prefix_;
    picked_ = 0;
    if (prefix_.empty()) {
        colour_ = Colour::Aqua;
        return;
    }
    // The search lands before the names that go on with a letter ("SMI" lands before
    // "SMITH"): the first entry the typed text begins is the one picked and shown.
    c_ = archive_->findNear(prefix_);
    picked_ = archive_->firstStartingWith(prefix_);
    if (picked_) c_ = picked_;
    colour_ = picked_ ? Colour::Aqua : Colour::Red;
    clampCentre();
}

void ArchiveBrowser::enterField() {
    field_.clear();
    prefix_.clear();
    colour_ = Colour::Red;
    picked_ = 0;
    loaded_ = false;
}

void ArchiveBrowser::lineDown() {
    if (c_ < n_ - layout_.lineDownGap) ++c_;
}
void ArchiveBrowser::lineUp() {
    if (c_ > layout_.lineUpMin) --c_;
}
void ArchiveBrowser::pageDown() {
    if (c_ < n_ - layout_.pageDownGap) c_ += layout_.page;
}
void ArchiveBrowser::pageUp() {
    if (c_ > layout_.pageUpMin) c_ -= layout_.page;
}
void ArchiveBrowser::thumb(int position) {
    c_ = position;
    clampCentre();
}

void ArchiveBrowser::keyDownOnLastLine() {
    if (!enabled() || shortList()) return;
    lineDown();
    if (const int pos = positionOfLine(layout_.lines - 1)) {
        field_ = entryAt(pos);
        colour_ = Colour::Aqua;
        picked_ = pos;
    }
}

void ArchiveBrowser::keyUpOnFirstLine() {
    if (!enabled() || shortList()) return;
    lineUp();
}

void ArchiveBrowser::clickLine(int line) {
    const int pos = positionOfLine(line);
    if (!pos) return;
    picked_ = pos;
    field_ = entryAt(pos);
    colour_ = Colour::Aqua;
    loaded_ = false;
}

ArchiveBrowser::Action ArchiveBrowser::doubleClick() const {
    if (field_.empty() || picked_ == 0) return {};
    return {picked_, {}};
}

ArchiveBrowser::Action ArchiveBrowser::enterInList(int line) {
    if (loaded_) return {};
    const int pos = positionOfLine(line);
    if (pos && !field_.empty() && beginsWith(entryAt(pos), field_)) {
        picked_ = pos;
        field_ = entryAt(pos);
        colour_ = Colour::Aqua;
        return {pos, {}};
    }
    return {0, layout_.noMatchMessage};
}

ArchiveBrowser::Action ArchiveBrowser::enterInField() const {
    if (loaded_ || !enabled()) return {};
    if (!prefix_.empty() && picked_ && beginsWith(entryAt(picked_), prefix_)) return {picked_, {}};
    return {0, layout_.noMatchMessage};
}

std::optional<int> ArchiveBrowser::pickedLine() const {
    for (int line = 0; picked_ && line < layout_.lines; ++line)
        if (positionOfLine(line) == picked_) return line;
    return std::nullopt;
}

void ArchiveBrowser::afterRemoval() {
    n_ = n_ > 0 ? n_ - 1 : 0;
    if (c_ > 9) --c_;
    if (n_ < 10) c_ = 1;
    prefix_.clear();
    field_.clear();
    picked_ = 0;
    loaded_ = false;
}

}  // namespace athanor
