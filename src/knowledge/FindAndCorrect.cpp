#include "knowledge/FindAndCorrect.h"

#include "foundations/Format.h"
#include "knowledge/FileReplacement.h"
#include "knowledge/KnowledgeRecords.h"
#include "knowledge/RecordScan.h"

namespace athanor {

bool isRepertoryField(UtilityField f) { return f >= UtilityField::TherapyRemedy; }

int utilityCapacity(UtilityField f) {
    switch (f) {
    case UtilityField::Name:
        return 50;
    case UtilityField::Indication:
        return 300;
    case UtilityField::Posology:
        return 900;
    case UtilityField::Warnings:
        return 400;
    case UtilityField::PrimarySignature:
        return 30;
    case UtilityField::SecondarySignature:
        return 40;
    case UtilityField::ZodiacSignature:
        return 70;
    case UtilityField::Synthesis:
        return 1500;
    case UtilityField::Notes:
        return 750;
    case UtilityField::ExtraNotes:
        return 750;
    case UtilityField::TherapyRemedy:
        return 100;
    case UtilityField::TherapyPathology:
        return 100;
    case UtilityField::TherapyPosology:
        return 250;
    case UtilityField::TherapyNotes:
        return 750;
    }
    return 0;
}

namespace {

std::string textOf(const RemedyRecord& r, UtilityField f) {
    switch (f) {
    case UtilityField::Name:
        return r.name;
    case UtilityField::Indication:
        return r.indicationText();
    case UtilityField::Posology:
        return r.posologyText();
    case UtilityField::Warnings:
        return r.warningsText();
    case UtilityField::PrimarySignature:
        return r.primarySignature;
    case UtilityField::SecondarySignature:
        return r.secondarySignature;
    case UtilityField::ZodiacSignature:
        return r.zodiacSignature;
    case UtilityField::Synthesis:
        return r.synthesisText();
    case UtilityField::Notes:
        return r.notesText();
    default:
        return r.extraNotesText();
    }
}

void setText(RemedyRecord& r, UtilityField f, std::string_view t) {
    switch (f) {
    case UtilityField::Name:
        r.name = t.substr(0, 50);
        break;
    case UtilityField::Indication:
        r.setIndication(t);
        break;
    case UtilityField::Posology:
        r.setPosology(t);
        break;
    case UtilityField::Warnings:
        r.setWarnings(t);
        break;
    case UtilityField::PrimarySignature:
        r.primarySignature = t.substr(0, 30);
        break;
    case UtilityField::SecondarySignature:
        r.secondarySignature = t.substr(0, 40);
        break;
    case UtilityField::ZodiacSignature:
        r.zodiacSignature = t.substr(0, 70);
        break;
    case UtilityField::Synthesis:
        r.setSynthesis(t);
        break;
    case UtilityField::Notes:
        r.setNotes(t);
        break;
    default:
        r.setExtraNotes(t);
        break;
    }
}

std::string textOf(const TherapyRecord& r, UtilityField f) {
    switch (f) {
    case UtilityField::TherapyRemedy:
        return r.remedy;
    case UtilityField::TherapyPathology:
        return r.pathology;
    case UtilityField::TherapyPosology:
        return r.posology;
    default:
        return r.notesText();
    }
}

void setText(TherapyRecord& r, UtilityField f, std::string_view t) {
    switch (f) {
    case UtilityField::TherapyRemedy:
        r.remedy = t.substr(0, 100);
        break;
    case UtilityField::TherapyPathology:
        r.pathology = t.substr(0, 100);
        break;
    case UtilityField::TherapyPosology:
        r.posology = t.substr(0, 250);
        break;
    default:
        r.setNotes(t);
        break;
    }
}

template <class R>
std::optional<UtilityFind> findIn(const DataRoot& root, const char* file, UtilityField field, const std::string& phrase,
                                  std::int64_t from, std::int64_t& last,
                                  std::string_view (*remedyOf)(const std::uint8_t*)) {
    std::optional<UtilityFind> find;
    RecordScanner scan(root.resolve(file), R::kSize);
    last = scan.count() - 1;
    scan.forEach(
        [&](std::int64_t k, const std::uint8_t* bytes) {
            const R r = R::decode(bytes);
            const std::string text = textOf(r, field);
            const auto at = upperCased(text).find(phrase);
            if (at == std::string::npos) return true;
            find = UtilityFind{k,
                               std::string(remedyOf(bytes)),
                               text.substr(0, at),
                               text.substr(at),
                               k + 1,
                               std::to_string(text.size()) + "/" + std::to_string(utilityCapacity(field))};
            return false;
        },
        from);
    return find;
}

template <class R>
void saveIn(const DataRoot& root, const char* file, std::int64_t k, UtilityField field, std::string_view text) {
    const auto path = root.resolve(file);
    R r = KnowledgeFile<R>(path).read(k);
    setText(r, field, text);
    replaceRecord(path, R::kSize, k, r.encode());
}

}  // namespace

void FindAndCorrect::setField(UtilityField field) {
    field_ = field;
    underWay_ = false;
    next_ = 0;
    found_.reset();
}

void FindAndCorrect::setPhrase(std::string_view phrase) {
    phrase_ = upperCased(phrase);
    underWay_ = false;
    next_ = 0;
    found_.reset();
}

std::optional<UtilityFind> FindAndCorrect::next() {
    if (!underWay_) {
        underWay_ = true;
        next_ = 0;
    }
    std::optional<UtilityFind> find;
    if (!phrase_.empty()) {
        find = isRepertoryField(field_)
                   ? findIn<TherapyRecord>(root_, kRepertoryFile, field_, phrase_, next_, lastRecord_, therapyRemedy)
                   : findIn<RemedyRecord>(root_, kRemedyDatabaseFile, field_, phrase_, next_, lastRecord_, remedyName);
    } else {
        const bool repertory = isRepertoryField(field_);
        lastRecord_ = RecordScanner(root_.resolve(repertory ? kRepertoryFile : kRemedyDatabaseFile),
                                    repertory ? TherapyRecord::kSize : RemedyRecord::kSize)
                          .count() -
                      1;
    }
    if (!find) {
        underWay_ = false;
        next_ = 0;
        found_.reset();
        return std::nullopt;
    }
    next_ = find->next;
    found_ = find->record;
    return find;
}

bool FindAndCorrect::save(std::string_view before, std::string_view after) {
    if (!found_) return false;
    const std::string text = std::string(before) + std::string(after);
    if (isRepertoryField(field_)) saveIn<TherapyRecord>(root_, kRepertoryFile, *found_, field_, text);
    else saveIn<RemedyRecord>(root_, kRemedyDatabaseFile, *found_, field_, text);
    return true;
}

}  // namespace athanor
