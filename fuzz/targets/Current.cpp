// The current subject (record 0 of TMPR) and the small files that carry it between windows,
// read as the chart and the ruler of the nativity read them.
#include "../FuzzSupport.h"
#include "../Targets.h"

#include "engine/CorrectionFiles.h"
#include "foundations/FileError.h"
#include "interpretation/NativityRuler.h"
#include "subjects/DatiNasc.h"
#include "subjects/SubjectChart.h"
#include "subjects/SubjectFiles.h"

namespace athanor::fuzz {

void currentSubject(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const std::uint8_t ask = in.byte();
    const Scratch& s = Scratch::fresh();
    s.write("TMPR.ST1", in.part());
    s.write("TMPR.ST2", in.part());
    s.write("FileTmp\\DatiNasc.Tmp", in.part());
    s.write("FileDum\\StrText.dum", in.part());
    s.write("FileDum\\Annotaz.dum", in.part());
    s.write("FileDum\\MMordina.dum", in.part());
    // The charts need the real correction files beside the damaged records.
    std::error_code ec;
    std::filesystem::create_directory_symlink(std::filesystem::path(ATHANOR_DATA_DIR) / "FilePosi",
                                              s.root().root() / "FilePosi", ec);
    const CorrectionFiles files(s.root());
    try {
        const CurrentSubject current = loadCurrent(s.root());
        (void)current.record.notesRecord();
        if (ask & 1) {
            ChartState chart;
            buildCurrentChart(chart, files);
        }
    } catch (const FileError&) {
    }
    try {
        const ChartHandOff handOff = readChartHandOff(s.root());
        (void)nativityDescription(handOff);
        if (ask & 2) {
            ChartState chart;
            setHandOffInstant(chart, handOff);
            (void)nativityResultLines(runNativityRuler(s.root(), chart, files));
        }
    } catch (const FileError&) {
    }
    try {
        (void)readTextReference(s.root());
        (void)currentTextDocument(s.root());
        (void)readNotesLine(s.root());
        (void)archivesWritten(s.root());
    } catch (const FileError&) {
    }
}

}  // namespace athanor::fuzz
