#pragma once
#include "foundations/DataRoot.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace athanor {

// The search utility: a phrase found in one field of the remedy database or of the
// therapies repertory, record by record from record 0, the field's text split at the
// place found so that it can be corrected, and the corrected text written back.

enum class UtilityField {
    // Remedy database
    Name,
    Indication,
    Posology,
    Warnings,
    PrimarySignature,
    SecondarySignature,
    ZodiacSignature,
    Synthesis,
    Notes,
    ExtraNotes,
    // Therapies repertory
    TherapyRemedy,
    TherapyPathology,
    TherapyPosology,
    TherapyNotes,
};
bool isRepertoryField(UtilityField field);
// The capacity the utility shows for the field.
int utilityCapacity(UtilityField field);

struct UtilityFind {
    std::int64_t record = 0;
    std::string remedy;      // name (repertory: remedy) of the record found
    std::string before;      // the text before the phrase, in its stored letter case
    std::string after;       // the text from the phrase to the end
    std::int64_t next = 0;   // the record where the next press goes on (shown as the position)
    std::string lengthText;  // the text's length, "/", the capacity
};

inline constexpr const char* kEndOfArchive = "FINE ARCHIVIO";

class FindAndCorrect {
public:
    explicit FindAndCorrect(DataRoot root, UtilityField field = UtilityField::Name)
        : root_(std::move(root)), field_(field) {}

    // Changing the field or the phrase stops the search under way.
    void setField(UtilityField field);
    void setPhrase(std::string_view phrase);
    UtilityField field() const noexcept { return field_; }
    bool underWay() const noexcept { return underWay_; }

    // "Cerca" / "Continua": the next record from the current one whose field, upper-cased,
    // contains the phrase upper-cased. nullopt is the end of the archive ("FINE
    // ARCHIVIO"): the next press starts again at record 0. An empty phrase finds nothing.
    std::optional<UtilityFind> next();
    // The number of the last record, shown at the end of the archive.
    std::int64_t lastRecord() const noexcept { return lastRecord_; }

    // "Salva": before + after becomes the field's text of the record found, cut to its
    // capacity, and the record is written back. False when there is no record found.
    bool save(std::string_view before, std::string_view after);

private:
    DataRoot root_;
    UtilityField field_;
    std::string phrase_;
    bool underWay_ = false;
    std::int64_t next_ = 0;
    std::int64_t lastRecord_ = 0;
    std::optional<std::int64_t> found_;
};

}  // namespace athanor
