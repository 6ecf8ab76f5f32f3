#include "app/SubjectDisplay.h"

#include "foundations/Calendar.h"
#include "foundations/Format.h"
#include "subjects/ArchiveRecords.h"
#include "subjects/BirthStamp.h"

namespace athanor {

std::array<std::string, 6> subjectDisplayLines(const CurrentSubject& subject) {
    const BirthRecord& r = subject.record;
    const StampDisplay stamp = storedToDisplayed(withCommaSeparator(r.birthStamp));
    std::string locality = r.placeText.size() > 12 ? r.placeText.substr(12, 28) : std::string();
    cleanLocality(locality);
    std::array<std::string, 6> lines;
    lines[0] = trimRight(subject.entryText.substr(0, kNameWidth));
    lines[1] = "Nascita " + stamp.dateTime + "  Correz. " + stamp.correctionText;
    lines[2] = "Localit\xE0: " + locality;
    lines[3] = "Nazionalit\xE0: " + r.country;
    lines[4] = "Coordinate: " + r.coordText();
    lines[5] = std::string("Calendario ") + calendarCaption(r.calendarFlag());
    return lines;
}

std::string impossibleDateWarning(const CurrentSubject& subject) {
    const std::string& stamp = subject.record.birthStamp;
    if (stamp.size() < 8 || stamp.find_first_not_of("0123456789") < 8) return {};
    const int year = std::stoi(stamp.substr(0, 4)), month = std::stoi(stamp.substr(4, 2)),
              day = std::stoi(stamp.substr(6, 2));
    if (civilDateExists(year, month, day, subject.record.calendarFlag())) return {};
    return "\xA1"
           "Atenci\xF3n! La fecha guardada no existe en su calendario: corr\xEDjala con "
           "\xABMod. Datos Nacim.\xBB";
}

}  // namespace athanor
