#pragma once
// A program folder with a current subject and its chart, the installed glyphs and texts,
// and a small knowledge base, for the analysis and chart windows.
#include "subjects/SubjectChart.h"
#include "interpretation/OrbFiles.h"
#include "knowledge/KnowledgeRecords.h"
#include "app/Settings.h"
#include "app/Workstation.h"
#include "subjects/ArchiveRecords.h"
#include "subjects/BirthStamp.h"
#include "subjects/SubjectFiles.h"
#include "ui/UiTestSupport.h"

#include <filesystem>
#include <string>
#include <vector>

namespace athanor::test {

class ChartWindowFixture : public ::testing::Test {
protected:
    ChartWindowFixture() : ws(folder.root()) {
        const std::filesystem::path data = std::filesystem::path(ATHANOR_SOURCE_DIR) / "data";
        for (const char* dir : {"Simboli", "Zodiaco", "OpzioneT", "Scambi"})
            std::filesystem::copy(data / dir, folder.dir() / dir, std::filesystem::copy_options::recursive);
        for (const char* file : {"Appoggio/Messaggi.txt", "Appoggio/GoverAnno.txt"})
            std::filesystem::copy_file(data / file, folder.dir() / file);

        BirthRecord r = BirthRecord::blank();
        r.birthStamp = makeBirthStamp(StampDate{1975, 5, 12, 8, 30}, -1);
        r.placeText = "41N54-012E29Roma";
        r.calendarCode = "GR";
        r.country = "Italia";
        r.planetSummary = r.cuspSummary = r.aspectSummary = r.reserved21 = r.reserved12 = "";
        r.notesNumber = "00000";
        replaceCurrent(folder.root(), makeEntryText("Prueba Rossi Maria", 1), r);

        writeKnowledgeBase();
        loadSettings(ws.root, ws.settings);
        loadOrbSettings(ws.root, ws.orbs, ws.chart);
        buildCurrentChart(ws.chart, *ws.corrections, ChartVariant::MainWindow);
        ws.drawing.setScreenScale(4);
    }

    static RemedyRecord remedy(const std::string& name, const std::string& indication, const std::string& planets,
                               const std::string& signs) {
        RemedyRecord r;
        r.name = name;
        r.setIndication(indication);
        r.primarySignature = planets;
        r.zodiacSignature = signs;
        r.setSynthesis("Sintesis de " + name);
        return r;
    }

    void writeKnowledgeBase() {
        const auto path = [&](const char* rel) { return folder.root().resolveForWriting(rel); };
        {
            KnowledgeFile<RemedyRecord> db(path(kRemedyDatabaseFile), RecordFile::Mode::Create);
            db.append(RemedyRecord{});
            db.append(remedy("Aurum", "Cansancio", "Sol", "Leo Aries"));
            db.append(remedy("Aurum", "Palpitaciones", "Sol", "Leo Aries"));
            db.append(remedy("Ferrum", "Anemia", "Marte", "Aries Escorpio"));
            db.append(remedy("Argentum", "Insomnio", "Luna", "C\xE1ncer"));
        }
        {
            KnowledgeFile<TherapyRecord> rep(path(kRepertoryFile), RecordFile::Mode::Create);
            rep.append(TherapyRecord{});
            rep.append(TherapyRecord{"Astenia", "", "Aurum", {}});
            rep.append(TherapyRecord{"Anemia", "", "Ferrum", {}});
            rep.append(TherapyRecord{"Insomnio", "", "Argentum", {}});
        }
        {
            KnowledgeFile<NameRecord> sol(path("OpzioneH\\SolePri.rnd"), RecordFile::Mode::Create);
            sol.append(NameRecord{"Aurum"});
            KnowledgeFile<NameRecord> aries(path("OpzioneH\\Aries.rnd"), RecordFile::Mode::Create);
            aries.append(NameRecord{"Aurum"});
            aries.append(NameRecord{"Ferrum"});
        }
        {
            KnowledgeFile<PlantSymptomRecord> qvl(path(kPlantSymptomFile), RecordFile::Mode::Create);
            qvl.append(PlantSymptomRecord{});
            PlantSymptomRecord p;
            p.plant = "Hiperico";
            p.symptom = "Tristeza";
            p.primarySignature = "Sol";
            qvl.append(p);
            p.symptom = "Heridas";
            qvl.append(p);
            KnowledgeFile<PlantNameRecord> plants(path("OpzioneS\\SolePri.rnd"), RecordFile::Mode::Create);
            plants.append(PlantNameRecord{"Hiperico"});
            plants.append(PlantNameRecord{"Romero"});
        }
    }

    // The text of message section n as the information memo shows it.
    std::string section(int n) const {
        const auto lines = readLines(folder.path("Appoggio/Messaggi.txt"));
        int seen = 0;
        std::string out;
        for (const auto& l : lines) {
            if (l.find('#') != std::string::npos) {
                ++seen;
                if (seen > n) break;
                continue;
            }
            if (seen == n) out += (out.empty() ? "" : "\n") + l;
        }
        return out;
    }

    ProgramFolderFixture folder;
    Workstation ws;
};

}  // namespace athanor::test
