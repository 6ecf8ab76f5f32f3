// The correction files' lookups over a short file: the input chooses the file, the record
// asked for and where between two records the Julian day falls.
#include "../FuzzSupport.h"
#include "../Targets.h"

#include "engine/CorrectionFiles.h"
#include "engine/PrecisionSupplement.h"
#include "foundations/FileError.h"

namespace athanor::fuzz {

void correctionFiles(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const int which = in.byte() % 4;
    const int field = 1 + in.byte() % 17;
    const long double record = in.u16() % 4096;
    const long double fraction = in.u16() / 65536.0L;
    const Scratch& s = Scratch::fresh();
    static constexpr const char* kFiles[] = {"FilePosi\\DSEL.rnd", "FilePosi\\DPR1.rnd", "FilePosi\\NOJLNE.rnd",
                                             supplement::kFileName};
    s.write(kFiles[which], in.rest());
    const CorrectionFiles files(s.root());
    try {
        switch (which) {
        case 0: (void)files.moon(1721420.5L + record + fraction); break;
        case 1: (void)files.planet(1721408.5L + 5 * record + 5 * fraction, field); break;
        case 2: (void)files.blackMoon(2341972.5L + record + fraction); break;
        default:
            if (const supplement::File* f = files.supplement()) {
                double arcseconds = 0;
                for (int body : {1, 3, 11, 15})
                    (void)f->lookup(body, supplement::Longitude, 2451545.0L + 36 * record + fraction, arcseconds);
                (void)f->pieces();
            }
        }
    } catch (const FileError&) {
    }
}

}  // namespace athanor::fuzz
