// A locality list as the entry window searches it for a typed name.
#include "../FuzzSupport.h"
#include "../Targets.h"

#include "foundations/FileError.h"
#include "subjects/Localities.h"

namespace athanor::fuzz {

void localityList(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const auto kind = (in.byte() & 1) ? LocalityListKind::Foreign : LocalityListKind::Italian;
    const std::string typed = in.part();
    const Scratch& s = Scratch::fresh();
    s.write(localityListFile(kind), in.rest());
    try {
        const LocalityList list(s.root(), kind);
        const std::int64_t centre = list.bisect(typed);
        (void)list.windowLines(centre);
        (void)list.firstStartingWith(typed);
        for (const std::int64_t k : list.exactMatches(typed)) {
            const LocalityRecord place = list.record(k);
            (void)localityLine(place);
            (void)tableFileName(place.tableNumber);
        }
        for (std::int64_t k = 0; k <= list.count() && k < 8; ++k) (void)localityLine(list.record(k));
    } catch (const FileError&) {
    }
}

}  // namespace athanor::fuzz
