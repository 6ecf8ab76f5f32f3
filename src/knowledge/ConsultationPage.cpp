#include "knowledge/ConsultationPage.h"

#include "knowledge/KnowledgeRecords.h"
#include "knowledge/TextLists.h"

#include <algorithm>

namespace athanor {

namespace {
std::string_view withoutTrailingBlanks(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}
}  // namespace

ConsultationPage::ConsultationPage(DataRoot root, ConsultationKind kind)
    : root_(std::move(root)), kind_(kind), steps_(kind == ConsultationKind::Therapy ? 2 : 4) {}

const std::string& ConsultationPage::selected() const {
    static const std::string none;
    return selected_ ? *selected_ : none;
}

void ConsultationPage::select(std::string_view item) {
    selected_ = std::string(item);
    matches_ = {};
    pager_.reset();
    steps_.reset();
    shown_ = true;
    switch (kind_) {
    case ConsultationKind::Symptom:
        matches_ = findSymptom(root_, item);
        break;
    case ConsultationKind::Remedy:
        matches_ = findRemedy(root_, item);
        break;
    case ConsultationKind::Therapy:
        matches_ = findTherapy(root_, item);
        break;
    }
    pager_.offerAll(matches_.records);
}

std::vector<std::int64_t> ConsultationPage::rowRecords() const {
    return shown_ ? pager_.rows() : std::vector<std::int64_t>{};
}

std::vector<ConsultationRow> ConsultationPage::rows() const {
    const auto records = rowRecords();
    switch (kind_) {
    case ConsultationKind::Symptom:
        return symptomRows(root_, records);
    case ConsultationKind::Remedy:
        return remedyRows(root_, records);
    case ConsultationKind::Therapy:
        return therapyRows(root_, records);
    }
    return {};
}

bool ConsultationPage::next() {
    if (!pager_.next()) return false;
    shown_ = true;
    return true;
}

bool ConsultationPage::previous() {
    if (!pager_.previous()) return false;
    shown_ = true;
    return true;
}

std::optional<NoteText> ConsultationPage::press(int n) {
    if (!shown_) return std::nullopt;
    const std::int64_t k = pager_.rowRecord(n);
    if (k < 0) return std::nullopt;
    if (kind_ == ConsultationKind::Therapy) {
        const TherapyRecord t = KnowledgeFile<TherapyRecord>(root_.resolve(kRepertoryFile)).read(k);
        return steps_.press(n) == 0 ? therapyPairingNotes(root_, selected(), t.remedy)
                                    : therapyRemedyWarnings(root_, t.remedy);
    }
    const RemedyRecord r = KnowledgeFile<RemedyRecord>(root_.resolve(kRemedyDatabaseFile)).read(k);
    const int step = steps_.press(n);
    return kind_ == ConsultationKind::Symptom ? symptomRowNote(r, step) : remedyRowNote(r, step);
}

std::optional<RemedyHeader> ConsultationPage::remedyHeader() const {
    if (kind_ != ConsultationKind::Remedy || matches_.last < 0) return std::nullopt;
    const RemedyRecord last = KnowledgeFile<RemedyRecord>(root_.resolve(kRemedyDatabaseFile)).read(matches_.last);
    return athanor::remedyHeader(last, selected());
}

int remedyLineIndex(const std::vector<std::string>& lines, std::string_view name) {
    const std::string_view wanted = withoutTrailingBlanks(name);
    if (wanted.empty()) return -1;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (withoutTrailingBlanks(lines[i]) == wanted) return static_cast<int>(i);
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (withoutTrailingBlanks(aliasTarget(lines[i])) == wanted) return static_cast<int>(i);
    return -1;
}

}  // namespace athanor
