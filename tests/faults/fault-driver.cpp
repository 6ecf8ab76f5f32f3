// Runs one writing operation on a prepared folder and tells how it ended: 0 when it
// reported success, 3 when it reported a file error (the message on stderr), 4 for any
// other exception. The fault runner starts it under the failing-call shim.
//
//   fault-driver prepare OP WORK CORRECTIONS   the folder the operation starts from
//   fault-driver run OP WORK CORRECTIONS       the operation itself
//   fault-driver reopen OP WORK                what the next start of the program reads
//
// WORK/prog is the program folder; WORK/backup, WORK/update and WORK/csv hold what the
// backup, restore, update and import take or write. The generators run as programs of
// their own (WORK/gen-atlas holds a copy of the atlas generator and its small world).
#include "app/Backup.h"
#include "app/Settings.h"
#include "app/TextDocument.h"
#include "engine/CorrectionFiles.h"
#include "engine/CorrectionFixtures.h"
#include "foundations/FileError.h"
#include "foundations/Format.h"
#include "foundations/RecordFile.h"
#include "interpretation/OrbFiles.h"
#include "knowledge/CsvExchange.h"
#include "knowledge/Editors.h"
#include "knowledge/KbFixture.h"
#include "knowledge/Rebuild.h"
#include "knowledge/UpdateInstall.h"
#include "subjects/ArchiveOps.h"
#include "subjects/BirthStamp.h"
#include "subjects/SubjectFiles.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace athanor;

namespace {

struct Context {
    fs::path work;
    fs::path corrections;
    DataRoot root() const { return DataRoot(work / "prog"); }
};

SaveInput subject(const std::string& name, const std::string& date) {
    SaveInput in;
    in.name = name;
    const StampDate d = stampDate(displayedToStored(date));
    in.moment = BirthMoment({d.day, d.month, d.year, d.hour, d.minute}, correctionFromZone("+1"), 1);
    in.locality = "ROMA";
    in.coordText = "41N54-012E29";
    in.zoneText = "+1";
    in.country = "ITALIA";
    return in;
}

void save(const Context& c, const std::string& name, const std::string& date, std::array<std::string, 4> notes = {}) {
    const CorrectionFiles files(DataRoot(c.corrections));
    SaveRequest req;
    req.archive = "BASE";
    req.notes = std::move(notes);
    saveSubject(c.root(), ChartState{}, files, subject(name, date), req);
}

void prepareArchive(const Context& c) {
    fs::create_directories(c.work / "prog" / "FileDum");
    ensureBaseArchive(c.root());
    Archive(c.root(), "TMPR").create();
    save(c, "ROSSI MARIO", "21/03/1990 14:30", {"Alergia al polen", "", "", ""});
    save(c, "BIANCHI ANNA", "02/11/1975 06:05");
    save(c, "VERDI GIUSEPPE", "10/10/1913 20:00", {"Compositor", "Busseto", "", ""});
    createTextDocument(c.root(), "BASE", "VERDI GIUSEPPE");
}

std::vector<RemedyRecord> remedies(const std::string& tag) {
    std::vector<RemedyRecord> r{RemedyRecord{}};
    for (int i = 1; i <= 6; ++i)
        r.push_back(test::remedy("Remedio " + tag + std::to_string(i), "Indicaci\xF3n " + std::to_string(i),
                                 "Marte", "Aries"));
    return r;
}

void writeKnowledgeBase(const fs::path& prog, const std::string& tag) {
    test::writeRecords(prog / "OpzioneH" / "DBmain.rnd", remedies(tag));
    test::writeRecords(prog / "OpzioneH" / "Repertorio.rnd",
                       std::vector<TherapyRecord>{TherapyRecord{}, test::therapy("Gripe", "Remedio " + tag + "1"),
                                                  test::therapy("Tos", "Remedio " + tag + "2", "3 gotas")});
    test::writeRecords(prog / "OpzioneS" / "DataQvl.rnd",
                       std::vector<PlantSymptomRecord>{PlantSymptomRecord{},
                                                       test::plantSymptom("Salvia " + tag, "Fiebre", "Sol")});
    fs::create_directories(prog / "FileDum");
}

GeneralSettings someSettings() {
    GeneralSettings s;
    s.backupFolder = "Da definire";
    return s;
}

OrbSets someOrbSets(long double base) {
    OrbSets sets;
    for (int k = 0; k < 3; ++k)
        for (int i = 0; i < 16; ++i) sets.sets[k][i] = base + k + i / 4.0L;
    sets.letter = "A";
    return sets;
}

constexpr CalendarDay kToday{11, 12, 2026};

// Runs a generator as its user does. Under the shim, the generator's own calls are the ones
// counted (this process leaves the count to it); its exit 1 with a message is its report of
// the error.
void runGenerator(const std::vector<std::string>& args, const std::vector<std::string>& env = {}) {
    if (args.front().empty()) throw std::runtime_error("generator not built");
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("cannot start " + args.front());
    if (pid == 0) {
        for (const auto& e : env) ::putenv(const_cast<char*>(e.c_str()));
        if (!std::freopen("/dev/null", "w", stdout)) ::_exit(127);
        std::vector<char*> argv;
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::unsetenv("FAILSHIM_COUNT");
    int st = 0;
    ::waitpid(pid, &st, 0);
    if (WIFEXITED(st) && WEXITSTATUS(st) == 0) return;
    if (WIFEXITED(st) && WEXITSTATUS(st) == 1) throw FileError(args.back(), "the generator reported an error");
    throw std::runtime_error(args.front() + " ended with status " + std::to_string(st));
}

void runAtlasGenerator(const Context& c, const std::vector<std::string>& env = {}) {
    runGenerator({ATHANOR_NODE, (c.work / "gen-atlas" / "gen-atlas.mjs").string(), "--out", (c.work / "prog").string()},
                 env);
}

void prepareAtlas(const Context& c) {
    const fs::path tool = c.work / "gen-atlas";
    const fs::path source = fs::path(ATHANOR_SOURCE_DIR) / "tools" / "gen-atlas";
    fs::create_directories(tool);
    for (const char* file : {"gen-atlas.mjs", "reforms.json", "iana_expected.py"})
        fs::copy_file(source / file, tool / file);
    fs::copy(fs::path(ATHANOR_SOURCE_DIR) / "tests" / "faults" / "atlas-world", tool / "node_modules",
             fs::copy_options::recursive);
    runAtlasGenerator(c, {"ATHANOR_ATLAS_WORLD=old"});
}

struct Operation {
    std::function<void(const Context&)> prepare;
    std::function<void(const Context&)> run;
};

const std::map<std::string, Operation>& operations() {
    static const std::map<std::string, Operation> ops = {
        {"save", {prepareArchive, [](const Context& c) { save(c, "NERI LUCA", "01/01/2000 00:00"); }}},
        {"save-notes",
         {prepareArchive,
          [](const Context& c) { save(c, "ALBERTI LEON", "18/02/1404 12:00", {"Arquitecto", "G\xE9nova", "", ""}); }}},
        {"modify",
         {prepareArchive,
          [](const Context& c) {
              Archive archive(c.root(), "BASE");
              const auto s = loadForModify(archive, 2);
              if (!s) throw FileError(archive.indexPath(), "no subject at 2");
              ModifyForm f = s->form;
              f.name = "ZANETTI ANNA";  // moves the entry to the end
              f.date = "03/11/1975";
              f.notes = {"Nueva nota", "", "", ""};
              const ModifyCheck check = checkModification(f);
              if (!check.ok) throw FileError(archive.indexPath(), check.message);
              const CorrectionFiles files(DataRoot(c.corrections));
              applyModification(ChartState{}, files, archive, *s, check.form);
          }}},
        {"delete",
         {prepareArchive,
          [](const Context& c) {
              Archive archive(c.root(), "BASE");
              // VERDI, the one with a text document
              const auto s = showForDeletion(archive, 3);
              if (!s) throw FileError(archive.indexPath(), "no subject at 3");
              if (!deleteSubject(c.root(), archive, *s)) throw FileError(archive.indexPath(), "not deleted");
          }}},
        {"settings",
         {[](const Context& c) {
              fs::create_directories(c.work / "prog" / "FileSet");
              saveSettings(c.root(), someSettings());
          },
          [](const Context& c) {
              GeneralSettings s;
              loadSettings(c.root(), s);
              s.lineFactor = 2.5L;
              s.printerType = 1;
              saveSettings(c.root(), s);
          }}},
        {"orbs",
         {[](const Context& c) {
              fs::create_directories(c.work / "prog" / "FileSet");
              fs::create_directories(c.work / "prog" / "FileDum");
              const OrbSets sets = someOrbSets(1);
              writeOrbSets(c.root(), sets);
              writeOrbSettings(c.root(), sets.sets[0], ChartState{}, "A");
          },
          [](const Context& c) {
              OrbSets sets = readOrbSets(c.root());
              sets.sets[1][3] = 7.5L;
              sets.letter = "B";
              writeOrbSets(c.root(), sets);
              writeOrbSettings(c.root(), sets.sets[1], ChartState{}, "B");
          }}},
        {"kb-save",
         {[](const Context& c) { writeKnowledgeBase(c.work / "prog", "A"); },
          [](const Context& c) {
              if (!saveRecord(c.root(), 3, test::remedy("Remedio A3", "Otra indicaci\xF3n", "Venus")))
                  throw FileError(c.work, "not saved");
          }}},
        {"kb-save-new",
         {[](const Context& c) { writeKnowledgeBase(c.work / "prog", "A"); },
          [](const Context& c) { saveRecordAsNew(c.root(), test::therapy("Fiebre", "Remedio A4", "5 gotas")); }}},
        {"kb-delete",
         {[](const Context& c) { writeKnowledgeBase(c.work / "prog", "A"); },
          [](const Context& c) { deleteRecord(c.root(), EditorKind::Remedies, 2); }}},
        {"kb-reorder",
         {[](const Context& c) { writeKnowledgeBase(c.work / "prog", "A"); },
          [](const Context& c) {
              std::vector<std::string> entries = reorderingList(c.root(), EditorKind::Remedies);
              std::reverse(entries.begin(), entries.end());
              commitReordering(c.root(), EditorKind::Remedies, entries);
          }}},
        {"kb-rebuild",
         {[](const Context& c) { writeKnowledgeBase(c.work / "prog", "A"); },
          [](const Context& c) { rebuildDerivedFiles(c.root()); }}},
        {"csv-import",
         {[](const Context& c) {
              writeKnowledgeBase(c.work / "prog", "A");
              fs::create_directories(c.work / "csv");
              exportKnowledgeCsv(c.root(), c.work / "csv");
              writeKnowledgeBase(c.work / "prog", "B");
          },
          [](const Context& c) { importKnowledgeCsv(c.root(), c.work / "csv"); }}},
        {"update",
         {[](const Context& c) {
              writeKnowledgeBase(c.work / "prog", "A");
              writeKnowledgeBase(c.work / "update", "B");
              fs::remove_all(c.work / "update" / "OpzioneS");
              fs::remove_all(c.work / "update" / "FileDum");
          },
          [](const Context& c) { installUpdate(c.root(), c.work / "update"); }}},
        {"text-document",
         {prepareArchive, [](const Context& c) { createTextDocument(c.root(), "BASE", "ROSSI MARIO"); }}},
        {"make-current",
         {[](const Context& c) {
              prepareArchive(c);
              const Archive archive(c.root(), "BASE");
              retrieveSubject(c.root(), archive, archive.readEntry(2));
          },
          [](const Context& c) {
              const Archive archive(c.root(), "BASE");
              const auto s = retrieveSubject(c.root(), archive, archive.readEntry(2));
              if (!s) throw FileError(archive.indexPath(), "no subject at 2");
              makeRetrievedCurrent(c.root(), *s, "ROSSI MARIO JUNIOR", "MILANO", "ITALIA");
          }}},
        {"editor-save",
         {prepareArchive,
          [](const Context& c) {
              const fs::path path = c.root().resolve(readEditTarget(c.root()));
              DecodedDocument doc = loadDocument(path);
              doc.text += "\nCompuso Nabucco en 1842.";
              saveDocument(path, doc.text, doc.format);
          }}},
        {"gen-corrections",
         {[](const Context& c) { test::writeZeroCorrectionFiles(c.work / "prog"); },
          [](const Context& c) {
              runGenerator({ATHANOR_GEN_CORRECTIONS, "--limit", "3", "--out", (c.work / "prog" / "FilePosi").string()});
          }}},
        {"gen-atlas", {prepareAtlas, [](const Context& c) { runAtlasGenerator(c); }}},
        {"backup",
         {prepareArchive, [](const Context& c) { runBackup(c.root(), c.work / "backup", kToday); }}},
        {"restore",
         {[](const Context& c) {
              prepareArchive(c);
              runBackup(c.root(), c.work / "backup", kToday);
              save(c, "NERI LUCA", "01/01/2000 00:00");
              createTextDocument(c.root(), "BASE", "NERI LUCA");
          },
          [](const Context& c) { runRestore(c.root(), c.work / "backup", "20261211-0100"); }}},
    };
    return ops;
}

// What the program reads at its next start: every archive file opened (an interrupted
// rewrite is put back then), every entry and record read.
void reopen(const Context& c) {
    if (!fs::exists(c.work / "prog" / "BASE.ST1")) return;
    const Archive archive(c.root(), "BASE");
    for (const std::string& entry : archive.readAllEntries()) (void)entry;
    for (int n = 0; n < archive.birthRecordCount(); ++n) (void)archive.readRecord(n);
    if (archive.hasNotesFile())
        for (int n = 0; n < archive.notesRecordCount(); ++n) (void)archive.readNotes(n);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: fault-driver prepare|run|reopen OP WORK [CORRECTIONS]\n");
        return 2;
    }
    const std::string verb = argv[1];
    const auto op = operations().find(argv[2]);
    if (op == operations().end()) {
        std::fprintf(stderr, "unknown operation %s\n", argv[2]);
        return 2;
    }
    const Context c{fs::absolute(argv[3]), argc > 4 ? fs::absolute(argv[4]) : fs::path()};
    setCollationLocale("es");
    try {
        if (verb == "prepare") {
            if (!fs::exists(c.corrections / "FilePosi")) test::writeZeroCorrectionFiles(c.corrections);
            op->second.prepare(c);
        } else if (verb == "run") {
            op->second.run(c);
        } else if (verb == "reopen") {
            reopen(c);
        } else {
            return 2;
        }
    } catch (const FileError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 3;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "unexpected: %s\n", e.what());
        return 4;
    }
    return 0;
}
