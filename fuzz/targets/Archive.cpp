// The subject archives as a user's folder may hold them: index, birth records, notes and the
// journal of an interrupted rewrite.
#include "../FuzzSupport.h"
#include "../Targets.h"

#include "foundations/FileError.h"
#include "subjects/Archive.h"
#include "subjects/BirthStamp.h"
#include "subjects/CoordText.h"
#include "subjects/SubjectFiles.h"

namespace athanor::fuzz {

void archiveRecords(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const std::uint8_t ask = in.byte();
    const Scratch& s = Scratch::fresh();
    const std::string index = in.part(), births = in.part(), notes = in.part(), journal = in.part();
    const std::string prefix = in.part();
    if (!(ask & 1)) s.write("BASE.ST1", index);
    s.write("BASE.ST2", births);
    if (!(ask & 2)) s.write("BASE.ST3", notes);
    if (ask & 4) s.write("BASE.ST2.jnl", journal);
    try {
        if (ask & 1) ensureBaseArchive(s.root());
        const Archive archive(s.root(), "BASE");
        const std::vector<std::string> entries = archive.readAllEntries();
        (void)archive.count();
        (void)archive.birthRecordCount();
        int shown = 0;
        for (const std::string& entry : entries) {
            if (++shown > 40) break;
            (void)entryName(entry);
            const auto n = entryRecordNumber(entry);
            if (!n) continue;
            try {
                const BirthRecord r = archive.readRecord(*n);
                const BirthMoment m = readBirthStamp(r.birthStamp, r.calendarFlag());
                (void)m.julianDay();
                (void)m.dateText();
                (void)decodeCoordText(r.coordText());
                (void)parseCoordText(r.coordText(), CoordCheck::Modify);
                if (r.notesRecord() > 0) (void)memoText(archive.readNotes(r.notesRecord()));
            } catch (const FileError&) {
                // one damaged subject; the others are still read
            }
        }
        (void)archive.firstStartingWith(prefix);
        (void)archive.findNear(prefix);
    } catch (const FileError&) {
    }
}

}  // namespace athanor::fuzz
