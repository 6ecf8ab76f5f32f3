// The general settings, the orb settings and the orb sets, then a chart computed with the
// engine settings the orb file carries (house system and the like) and its aspects.
#include "../FuzzSupport.h"
#include "../Targets.h"

#include "app/Login.h"
#include "app/Settings.h"
#include "engine/CorrectionFiles.h"
#include "foundations/FileError.h"
#include "interpretation/OrbFiles.h"
#include "subjects/SubjectChart.h"

namespace athanor::fuzz {

void settingsFiles(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const std::uint8_t ask = in.byte();
    const Scratch& s = Scratch::fresh();
    s.write(kGeneralSettingsFile, in.part());
    s.write(kOrbSettingsFile, in.part());
    s.write(kOrbSetsFile, in.part());
    s.write(kPasswordFile, in.part());
    try {
        GeneralSettings general;
        (void)readSettings(s.root(), general);
        (void)resetOldBackupLine(s.root());
    } catch (const FileError&) {
    }
    try {
        (void)readStoredPassword(s.root());
    } catch (const FileError&) {
    }
    try {
        OrbSettings orbs;
        ChartState chart;
        if (ask & 2) (void)switchOrbSet(s.root(), "ABC"[(ask >> 2) % 3], orbs, chart);
        else loadOrbSettings(s.root(), orbs, chart);
        (void)readOrbSets(s.root(), true);
        if (ask & 1) {
            std::error_code ec;
            std::filesystem::create_directory_symlink(std::filesystem::path(ATHANOR_DATA_DIR) / "FilePosi",
                                                      s.root().root() / "FilePosi", ec);
            const CorrectionFiles files(s.root());
            buildChart(chart, files, ChartSubject{"199003211430+1", "41N54-012E29", "GR"});
            for (int a = 1; a < 12; ++a)
                (void)classifyAspect(chart.BodyLongitude[static_cast<std::size_t>(a)] - chart.BodyLongitude[1], orbs);
        }
    } catch (const FileError&) {
    }
}

}  // namespace athanor::fuzz
