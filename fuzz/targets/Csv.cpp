// The spreadsheet files of a knowledge-base import: checked, and imported when they pass.
#include "../FuzzSupport.h"
#include "../Targets.h"

#include "foundations/FileError.h"
#include "knowledge/CsvExchange.h"

namespace athanor::fuzz {

void csvImport(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const std::uint8_t ask = in.byte();
    const Scratch& s = Scratch::fresh();
    s.write("import\\DBmain.csv", in.part());
    s.write("import\\Repertorio.csv", in.part());
    s.write("import\\DataQvl.csv", in.part());
    const auto folder = s.root().resolve("import");
    try {
        for (const CsvFault& f : checkKnowledgeCsv(folder)) (void)f.describe();
        if (ask & 1) (void)importKnowledgeCsv(s.root(), folder);
    } catch (const FileError&) {
    } catch (const CsvImportError&) {
    }
}

}  // namespace athanor::fuzz
