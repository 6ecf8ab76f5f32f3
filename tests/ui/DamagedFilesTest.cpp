// Damaged files as a user meets them: the program started on a program folder with one file
// cut or wrong, the action that reads it, then what the user sees. Every kind must name its
// file in a Spanish message, leave the file's bytes alone and let the program go on.
#include "UiTestSupport.h"
#include "support/AtlasFiles.h"

#include "app/FileMessages.h"
#include "foundations/Calendar.h"
#include "subjects/ArchiveRecords.h"
#include "subjects/BirthStamp.h"
#include "subjects/Localities.h"
#include "subjects/SubjectFiles.h"
#include "subjects/TimeZones.h"
#include "ui/knowledge/SymptomConsultationDialog.h"
#include "ui/shell/MainWindow.h"
#include "ui/subjects/BirthEntryDialog.h"

#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <filesystem>
#include <functional>
#include <memory>

namespace athanor::test {
namespace {

namespace fs = std::filesystem;

ZoneRecord change(int y, int m, int d, int h, const char* code, double c) {
    return ZoneRecord{julianDayFromCivil(1, 0, h, y, m, d).jd + kZoneDateOffset, code, c};
}

// Rome in its table: summer time in July 1990.
const std::vector<ZoneRecord> kRomeTable = {
    {2299160 + kZoneDateOffset, "GREG", 0}, change(1893, 11, 1, 0, "LMT ", -0.8322222),
    change(1893, 11, 1, 0, "CET", -1),      change(1990, 3, 25, 2, "CEST", -2),
    change(1990, 9, 30, 3, "CET", -1),
};

void cutTo(const fs::path& file, std::uintmax_t size) { fs::resize_file(file, size); }

// A program folder as a user has it (a current subject, one archived subject, a small atlas)
// and the main window started on it.
class Scene {
public:
    Scene() {
        setMessageProgramFolder(folder.root());  // as the program does once it opened its folder
        const TempDir& dir = folder.dir();
        dir.write("Localita/ITALIA.LOC", listBytes({{"ROMA", 41.9L, 12.4833333333L, 100000001, "ITALIA"}}));
        dir.write("Localita/ESTERO.LOC", listBytes({{"London", 51.5072L, -0.1275L, 100000002, "REGNO UNITO"}}));
        dir.write("Calendar/00000001.CAL", tableBytes(kRomeTable));
        dir.write("Calendar/Database.cll", tableBytes({{2361221 + kZoneDateOffset, "GREG", 0},
                                                       change(1847, 12, 1, 0, "LMT ", 0.0021),
                                                       change(1847, 12, 1, 0, "GMT", 0),
                                                       ZoneRecord{0, "****", 0}}));
        dir.write("Calendar/Elencal.002", "00000002.CAL  000000\r\n");

        BirthRecord r = birthRecord(makeBirthStamp(StampDate{1975, 5, 12, 8, 30}, -1), "41N54-012E29Roma", "Italia");
        r.notesNumber = "00000";
        replaceCurrent(folder.root(), makeEntryText("PRUEBA ROSSI MARIA", 1), r);
        addSubject(folder.root(), "BASE", "BIANCHI LUCA",
                   birthRecord("198003040700-1", "45N28-009E11Milano", "Italia"));
    }

    ~Scene() {
        window.reset();
        setMessageProgramFolder(DataRoot());
    }
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    void copyFromData(const char* sub) {
        fs::copy(fs::path(ATHANOR_SOURCE_DIR) / "data" / sub, folder.dir() / sub, fs::copy_options::recursive);
    }

    void open() {
        window = std::make_unique<MainWindow>(folder.root());
        window->start();
        settle();
        type(child<QLineEdit>(window.get(), "EdMainPass1"), "pivona");
        click(child<QPushButton>(window.get(), "BBok"));
    }

    // The entry window from the main window: a birth in Rome typed and the place looked up.
    // Returns the correction the look-up gave ("" when it failed).
    QString lookUpRome() {
        QString correction = "(the entry window did not open)";
        whenModal<BirthEntryDialog>([&](BirthEntryDialog* d) {
            settle();
            child<QLineEdit>(d, "EditSogg")->setFocus();
            // Key by key into whatever has the focus: full fields move it on.
            for (QChar ch : QString("rossi mario\r150719901015roma\r")) {
                QWidget* here = QApplication::focusWidget();
                if (!here) {
                    ADD_FAILURE() << "nothing has the focus";
                    break;
                }
                if (ch == '\r') key(here, Qt::Key_Return);
                else type(here, QString(ch));
            }
            settle();
            correction = child<QLineEdit>(d, "EditFuso")->text();
            d->reject();
        });
        click(child<QPushButton>(window.get(), "BitBtnInputA"));
        settle();
        return correction;
    }

    // The symptom consultation from the main window and a symptom chosen in it.
    void consultSymptom() {
        whenModal<SymptomConsultationDialog>([](SymptomConsultationDialog* d) {
            settle();
            auto* search = child<QLineEdit>(d, "EdCerca");
            type(search, "in");
            key(search, Qt::Key_Return);
            settle();
            d->reject();
        });
        click(child<QPushButton>(window.get(), "BBSintomi"));
        settle();
    }

    // The current subject shown and its chart computed, as after a sound start.
    void expectSubjectAndChart() {
        const QString memo = child<QPlainTextEdit>(window.get(), "MemoDati")->toPlainText();
        EXPECT_TRUE(memo.startsWith("PRUEBA ROSSI MARIA")) << memo.toStdString();
        const ChartState& chart = window->workstation().chart;
        EXPECT_GE(chart.BodySign[1], 1) << "the Sun has no sign: the chart was not computed";
        EXPECT_LE(chart.BodySign[1], 12);
    }

    ProgramFolderFixture folder;
    MessageLog messages{false};  // the only question, the archive index's repair, is declined
    std::unique_ptr<MainWindow> window;
};

struct DamagedCase {
    const char* kind;
    const char* file;     // its place in the program folder, as the message names it
    const char* wording;  // what the message says of it
    std::function<void(Scene&, const fs::path&)> damage;
    std::function<void(Scene&)> act;  // the user's action that reads it, after the start and the login
    bool chartComputes;               // whether the current subject's chart can still be computed
    bool placesLookUp;                // whether the entry window can still look up a place
};

TEST(DamagedFiles, EachKindIsNamedInSpanishLeftAsItIsAndTheProgramGoesOn) {
    const auto atStart = [](Scene&) {};
    const DamagedCase cases[] = {
        {"archive records cut in the last one", "BASE.ST2", "BASE.ST2 está cortado",
         [](Scene&, const fs::path& f) { cutTo(f, fs::file_size(f) - 100); }, atStart, true, true},
        {"archive records missing beside their index", "BASE.ST2", "Falta",
         [](Scene&, const fs::path& f) { fs::remove(f); },
         // Not made anew: an empty record file would leave every subject of the index dangling.
         [](Scene& t) { EXPECT_FALSE(fs::exists(t.folder.path("BASE.ST2"))); }, true, true},
        {"archive index cut in its last entry", "BASE.ST1", "está cortado",
         [](Scene&, const fs::path& f) { cutTo(f, fs::file_size(f) - 10); }, atStart, true, true},
        {"general settings with five lines of eight", "FileSet/MMVarLas.stt", "lo creará de nuevo",
         [](Scene& t, const fs::path&) {
             t.folder.dir().write("FileSet/MMVarLas.stt", "1\r\n0\r\n0\r\n1\r\n 1.00000000000000E+0000\r\n");
         },
         atStart, true, true},
        {"orb settings with twelve lines of twenty", "FileSet/OrbiDomi.Stt", "está dañado",
         [](Scene&, const fs::path& f) {
             std::vector<std::string> lines = readLines(f);
             lines.resize(12);
             writeLines(f, lines);
         },
         atStart, true, true},
        {"five-day correction file cut in the middle", "FilePosi/DPR1.rnd", "está dañado",
         [](Scene&, const fs::path& f) { cutTo(f, fs::file_size(f) / 2 + 7); }, atStart, false, true},
        {"time-zone table continued in a table that does not exist", "Calendar/00000001.CAL", "está dañado",
         [](Scene& t, const fs::path&) {
             std::vector<ZoneRecord> records(kRomeTable.begin(), kRomeTable.begin() + 3);
             records.push_back(ZoneRecord{7, "RICH", 0});
             t.folder.dir().write("Calendar/00000001.CAL", tableBytes(records));
         },
         [](Scene& t) { EXPECT_EQ(t.lookUpRome(), ""); }, true, false},
        {"remedy database with half a record at its end", "OpzioneH/DBmain.rnd", "está dañado",
         [](Scene& t, const fs::path& f) {
             t.folder.dir().write("OpzioneH/DBmain.rnd", TempDir::read(f) + std::string(2407, '\x20'));
         },
         [](Scene& t) { t.consultSymptom(); }, true, true},
    };
    for (const DamagedCase& c : cases) {
        SCOPED_TRACE(c.kind);
        Scene t;
        if (std::string(c.file).starts_with("OpzioneH")) {
            t.copyFromData("OpzioneH");
            t.copyFromData("OpzioneS");
        }
        const fs::path file = t.folder.path(c.file);
        c.damage(t, file);
        const std::string damaged = TempDir::read(file);

        t.open();
        c.act(t);

        const auto naming = [&] {
            std::vector<std::string> found;
            for (const std::string& m : t.messages.texts())
                if (m.find(c.file) != std::string::npos) found.push_back(m);
            return found;
        };
        const std::vector<std::string> shown = naming();
        if (shown.size() != 1) {
            ADD_FAILURE() << "not one message naming the file: " << ::testing::PrintToString(t.messages.texts());
            continue;
        }
        EXPECT_NE(shown[0].find(c.wording), std::string::npos) << shown[0];
        for (const char* raw : {"Read beyond", "record", "bytes", "file", "No such"})
            EXPECT_EQ(shown[0].find(raw), std::string::npos) << "the system's words: " << shown[0];
        EXPECT_EQ(TempDir::read(file), damaged) << "the damaged file was rewritten";

        // The rest of the program: a place looked up in the entry window (the main window is
        // activated again when it closes) and the current subject's chart.
        t.messages.clear();
        if (c.placesLookUp) {
            EXPECT_EQ(t.lookUpRome(), "-2");
        }
        if (c.chartComputes) t.expectSubjectAndChart();
        EXPECT_TRUE(naming().empty()) << "reported again: " << ::testing::PrintToString(t.messages.texts());
        EXPECT_EQ(TempDir::read(file), damaged) << "the damaged file was rewritten";
    }
}

}  // namespace
}  // namespace athanor::test
