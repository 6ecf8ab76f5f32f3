#include "app/SubjectDisplay.h"

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

}  // namespace athanor
