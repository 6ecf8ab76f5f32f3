// The time-zone look-up of a place: its table (or the foreign tables and their index), a
// second table for a continuation, and a date chosen by the input.
#include "../FuzzSupport.h"
#include "../Targets.h"

#include "foundations/FileError.h"
#include "subjects/TimeZones.h"

namespace athanor::fuzz {

void timeZoneTables(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const std::uint8_t ask = in.byte();
    const auto list = (ask & 1) ? LocalityListKind::Foreign : LocalityListKind::Italian;
    LocalDateTime when;
    when.year = 1500 + in.u16() % 700;
    when.month = 1 + in.byte() % 12;
    when.day = 1 + in.byte() % 28;
    when.hour = in.byte() % 24;
    when.minute = in.byte() % 60;
    const Scratch& s = Scratch::fresh();
    s.write("Calendar\\00000001.CAL", in.part());
    s.write("Calendar\\00000002.CAL", in.part());
    s.write(kForeignTableIndex, in.part());
    s.write(kForeignTables, in.part());
    LocalityRecord place;
    place.name = "LUGAR";
    place.latitude = 41.9L;
    place.longitude = (ask & 4) ? -74.0L : 12.5L;
    place.tableNumber = 100000001;
    try {
        const ZoneLookup z = lookUpZone(s.root(), place, list, when, (ask & 2) ? 1 : 0);
        (void)z.dateText;
    } catch (const FileError&) {
    }
}

}  // namespace athanor::fuzz
