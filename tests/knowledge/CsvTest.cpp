// The CSV exchange: export, import with its checks, and the round trip.
#include "foundations/TextFile.h"
#include "knowledge/CsvExchange.h"
#include "KbFixture.h"

#include <gtest/gtest.h>

namespace athanor {
namespace {

using namespace test;
namespace fs = std::filesystem;

KbFolder richBase() {
    RemedyRecord a =
        remedy("MSA - Ortica (2)", "Anemia, \"ferrop\xE9nica\" leve", "Marte-Sol", "Aries Escorpio", "J\xFApiter");
    a.setSynthesis(std::string(600, 's') + "\r\nsegunda l\xEDnea");
    a.setWarnings("No usar en embarazo; \xBF"
                  "consultar?");
    a.setNotes("Urtica dioica; hojas");
    RemedyRecord b = remedy("Tilo", "Nervios", "Venus", "Tauro Libra");
    b.setPosology(std::string(900, 'p'));
    PlantSymptomRecord p = plantSymptom("Ortiga", "Anemia", "Marte", "Aries", "Uso tradicional");
    p.code = "ORT-1";
    p.note = "Coma, \"comillas\" y \xF1";
    return KbFolder({a, b}, {therapy("Anemia", "MSA - Ortica (2)", "20 gotas, 3 veces")}, {p});
}

std::string readAll(const fs::path& p) { return TempDir::read(p); }

TEST(Csv, ExportImportExportIsByteIdentical) {
    const KbFolder first = richBase();
    TempDir once, twice;
    exportKnowledgeCsv(first.root(), once.path());
    const std::string db = readAll(once.path() / "DBmain.csv");
    EXPECT_TRUE(db.starts_with("\xEF\xBB\xBF\"remedio\",\"posologia\",\"indicacion\""));
    // UTF-8 out, quotes doubled, line breaks kept inside the quoted cell.
    EXPECT_NE(db.find("\"Anemia, \"\"ferrop\xC3\xA9nica\"\" leve\""), std::string::npos);
    EXPECT_NE(db.find("\r\nsegunda l\xC3\xADnea"), std::string::npos);
    EXPECT_TRUE(checkKnowledgeCsv(once.path()).empty());

    const KbFolder second({remedy("Otro", "x")});
    const ImportSummary s = importKnowledgeCsv(second.root(), once.path());
    EXPECT_EQ(s.remedyRecords, 2);
    EXPECT_EQ(s.repertoryRecords, 1);
    EXPECT_EQ(s.plantSymptomRecords, 1);
    exportKnowledgeCsv(second.root(), twice.path());
    for (const char* f : {"DBmain.csv", "Repertorio.csv", "DataQvl.csv"})
        EXPECT_EQ(readAll(once.path() / f), readAll(twice.path() / f)) << f;
    // The records themselves came back, and the derived lists were rebuilt.
    EXPECT_EQ(readAllRecords<RemedyRecord>(second.path("OpzioneH\\DBmain.rnd")),
              readAllRecords<RemedyRecord>(first.path("OpzioneH\\DBmain.rnd")));
    EXPECT_EQ(readLines(second.path("OpzioneH\\Sintomi.txt")),
              (std::vector<std::string>{"Anemia, \"ferrop\xE9nica\" leve", "Nervios"}));
}

TEST(Csv, ADamagedFileChangesNothingAndNamesTheRowAndColumn) {
    const KbFolder source = richBase();
    TempDir good;
    exportKnowledgeCsv(source.root(), good.path());
    const std::string db = readAll(good.path() / "DBmain.csv");
    const std::string header = db.substr(0, db.find("\r\n") + 2);
    auto row = [](std::vector<std::string> cells) {
        cells.resize(10);
        std::string s;
        for (std::size_t i = 0; i < cells.size(); ++i) s += (i ? "," : "") + cells[i];
        return s + "\r\n";
    };
    const std::string ok = row({"Salvia", "", "Tos", "", "Sol", "", "Leo"});

    struct Case {
        const char* what;
        std::string file;  // the new DBmain.csv
        std::int64_t row;
        int column;
        const char* words;  // in the message
    } cases[] = {
        {"quote inside a bare cell", header + ok + row({"Sal\"via"}), 3, 1, "comillas"},
        {"text after the closing quote", header + ok + row({"\"Salvia\"x"}), 3, 1, "comillas"},
        {"quote never closed", header + ok + ok + row({"\"Salvia"}), 4, 1, "comillas"},
        {"name too long", header + row({std::string(51, 'n')}) + ok, 2, 1, "51 caracteres"},
        {"indication too long", header + ok + row({"x", "", std::string(301, 'i')}), 3, 3, "caben 300"},
        {"unknown sign", header + ok + row({"Salvia", "", "Tos", "", "Sol", "", "Leo-Aires"}), 3, 7, "Aires"},
        {"unknown planet", header + row({"Salvia", "", "Tos", "", "Sol-Pluton"}), 2, 5, "Pluton"},
        {"a node not in one word", header + row({"Salvia", "", "", "", "", "Nodo Norte"}), 2, 6, "Nodo"},
        {"missing columns", header + ok + "\"a\",\"b\"\r\n", 3, 0, "2 columnas"},
        {"no Windows-1252 character", header + row({"Salvia \xCE\xA9"}), 2, 1, "Windows-1252"},
        {"not UTF-8", header + row({"Salvia \xE9"}), 2, 1, "UTF-8"},
        {"wrong header", "\"nombre\"" + header.substr(header.find(',')) + ok, 1, 1, "remedio"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir bad;
        exportKnowledgeCsv(source.root(), bad.path());
        bad.write("DBmain.csv", c.file);
        const KbFolder target({remedy("Intacto", "x")});
        const auto before = target.snapshot();
        try {
            importKnowledgeCsv(target.root(), bad.path());
            ADD_FAILURE() << "imported";
        } catch (const CsvImportError& e) {
            const CsvFault& f = e.faults().front();
            EXPECT_EQ(f.file, "DBmain.csv");
            EXPECT_EQ(f.row, c.row);
            EXPECT_EQ(f.column, c.column);
            EXPECT_NE(f.describe().find(c.words), std::string::npos) << f.describe();
        }
        EXPECT_EQ(target.snapshot(), before);
    }
}

TEST(Csv, EveryFaultOfEveryFileIsReported) {
    const KbFolder source = richBase();
    TempDir dir;
    exportKnowledgeCsv(source.root(), dir.path());
    const std::string rep = readAll(dir.path() / "Repertorio.csv");
    dir.write("Repertorio.csv", rep + "\"" + std::string(101, 'p') + "\",\"\",\"x\",\"\"\r\n\"a\",\"b\",\"" +
                                    std::string(101, 'r') + "\",\"\"\r\n");
    fs::remove(dir.path() / "DataQvl.csv");
    const auto faults = checkKnowledgeCsv(dir.path());
    ASSERT_EQ(faults.size(), 3u);
    EXPECT_EQ(faults[0].describe(),
              "Repertorio.csv, fila 3, columna 1 (patologia): el texto tiene 101 caracteres y caben 100");
    EXPECT_EQ(faults[1].row, 4);
    EXPECT_EQ(faults[1].column, 3);
    EXPECT_EQ(faults[2].file, "DataQvl.csv");
}

}  // namespace
}  // namespace athanor
