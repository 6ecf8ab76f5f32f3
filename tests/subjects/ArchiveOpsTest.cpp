#include "foundations/FileError.h"
#include "foundations/Format.h"
#include "foundations/RecordFile.h"
#include "foundations/TextFile.h"
#include "subjects/ArchiveOps.h"
#include "subjects/BirthStamp.h"
#include "subjects/SubjectFiles.h"
#include "subjects/SubjectFixtures.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace athanor {
namespace {

using test::TempDir;

// Every test gets a fresh program folder with BASE and TMPR; the correction files are
// shared by the suite.
class ArchiveOpsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        corrections_ = std::make_unique<TempDir>();
        test::writeZeroCorrectionFiles(corrections_->path());
        files_ = std::make_unique<CorrectionFiles>(DataRoot(corrections_->path()));
    }
    static void TearDownTestSuite() {
        files_.reset();
        corrections_.reset();
    }

    void SetUp() override {
        ensureBaseArchive(root);
        Archive(root, "TMPR").create();
    }

    // The hand-off as the entry's checks make it: the moment of the date shown, C from the zone.
    static SaveInput subject(const std::string& name, const std::string& date = "21/03/1990 14:30",
                             const std::string& zone = "+1", int calendarFlag = 1) {
        SaveInput in;
        in.name = name;
        const StampDate d = stampDate(displayedToStored(date));
        in.moment = BirthMoment({d.day, d.month, d.year, d.hour, d.minute}, correctionFromZone(zone), calendarFlag);
        in.locality = "ROMA";
        in.coordText = "41N54-012E29";
        in.zoneText = zone;
        in.country = "ITALIA";
        return in;
    }

    SaveResult save(const SaveInput& in, const std::string& archive = "BASE", std::array<std::string, 4> notes = {},
                    const std::string& document = "") {
        SaveRequest req;
        req.archive = archive;
        req.notes = notes;
        req.documentNumber = document;
        return saveSubject(root, settings, *files_, in, req);
    }

    TempDir dir;
    DataRoot root{dir.path()};
    ChartState settings;
    static inline std::unique_ptr<TempDir> corrections_;
    static inline std::unique_ptr<CorrectionFiles> files_;
};

TEST_F(ArchiveOpsTest, SaveWritesRecordEntryAndCurrentSubject) {
    const SaveResult first = save(subject("ROSSI MARIO"));
    EXPECT_EQ(first.recordNumber, 1);
    EXPECT_EQ(first.position, 1);
    EXPECT_EQ(first.entryText, "ROSSI MARIO" + std::string(27, ' ') + "00001");
    const SaveResult second = save(subject("BIANCHI ANNA"));
    EXPECT_EQ(second.recordNumber, 2);
    EXPECT_EQ(second.position, 1);

    Archive base(root, "BASE");
    EXPECT_EQ(base.readEntry(1), second.entryText);
    EXPECT_EQ(base.readEntry(2), first.entryText);

    const BirthRecord r = base.readRecord(1);
    EXPECT_EQ(r.birthStamp, "199003211430-1");
    EXPECT_EQ(r.placeText, "41N54-012E29ROMA");
    EXPECT_EQ(r.calendarCode, "GR");
    EXPECT_EQ(r.country, "ITALIA");
    EXPECT_EQ(r.notesNumber, "00000");
    EXPECT_EQ(r.reserved21, "");
    EXPECT_EQ(r.planetSummary.size(), 72u);
    EXPECT_EQ(r.cuspSummary.size(), 60u);
    EXPECT_LE(r.aspectSummary.size(), 124u);
    EXPECT_EQ(r.cuspSummary.substr(0, 2), "01");
    EXPECT_EQ(r.cuspSummary.substr(55, 2), "12");

    // The summaries belong to the birth moment: another date gives others.
    const SaveResult third = save(subject("VERDI LUCA", "21/09/1990 14:30"));
    EXPECT_NE(base.readRecord(third.recordNumber).planetSummary, r.planetSummary);

    const CurrentSubject current = loadCurrent(root);
    EXPECT_EQ(current.entryText, third.entryText);
    EXPECT_EQ(current.record, base.readRecord(third.recordNumber));
    EXPECT_EQ(archivesWritten(root), std::vector<std::string>{"BASE"});
}

TEST(ZoneText, IsTheCorrectionWithTheOppositeSignAndFourCharacters) {
    struct Case {
        const char* correction;
        const char* zone;
    } cases[] = {{"-1", "+1"}, {"+10,75", "-10,7"}, {"-0.833333", "+0,83"}, {"+0", "-0"}, {"-5,5", "+5,5"}};
    for (const auto& c : cases) EXPECT_EQ(zoneTextFromCorrection(c.correction), c.zone) << c.correction;
}

TEST_F(ArchiveOpsTest, CorrectionIsTheNegatedZoneWithAComma) {
    struct Case {
        const char* zone;
        const char* stamp;
    } cases[] = {{"+1", "199003211430-1"},
                 {"-5,5", "199003211430+5,5"},
                 {"+0", "199003211430+0"},
                 {"-10,7", "199003211430+10,7"},
                 {"+0,83", "199003211430-0,83"}};
    Archive base(root, "BASE");
    for (const auto& c : cases) {
        SaveInput in = subject("ROSSI MARIO", "21/03/1990 14:30", c.zone);
        const SaveResult r = save(in);
        EXPECT_EQ(base.readRecord(r.recordNumber).birthStamp, c.stamp) << c.zone;
    }
}

TEST_F(ArchiveOpsTest, NotesAreAppendedAndNamedByTheRecord) {
    const SaveResult r = save(subject("ROSSI MARIO"), "BASE", {"PRIMA NOTA  ", "", "TERZA", "QUARTA"}, "00003");
    Archive base(root, "BASE");
    const BirthRecord rec = base.readRecord(r.recordNumber);
    EXPECT_EQ(rec.notesNumber, "00001");
    const NotesRecord notes = base.readNotes(1);
    EXPECT_EQ(notes.lines[0], "PRIMA NOTA  ");
    EXPECT_EQ(notes.documentNumber(), "00003");
    EXPECT_EQ(readNotesLine(root), "PRIMA NOTA  TERZA QUARTA" + std::string(58, ' ') + "00003");
    // The current subject is the archive's record, notes number included.
    EXPECT_EQ(loadCurrent(root).record.notesNumber, "00001");
}

TEST_F(ArchiveOpsTest, SavingIntoTmprTouchesRecordZeroOfItsIndexOnly) {
    Archive tmpr(root, "TMPR");
    const SaveResult r = save(subject("ROSSI MARIO"), "TMPR", {"NOTA", "", "", ""});
    EXPECT_EQ(r.position, 0);
    EXPECT_EQ(r.recordNumber, 1);
    EXPECT_EQ(tmpr.indexRecordCount(), 1);
    EXPECT_EQ(tmpr.readEntry(0), r.entryText);
    EXPECT_EQ(tmpr.birthRecordCount(), 2);
    EXPECT_EQ(tmpr.notesRecordCount(), 1);  // no notes for TMPR
    EXPECT_EQ(tmpr.readRecord(0), tmpr.readRecord(1));
}

TEST_F(ArchiveOpsTest, AnInterruptedSaveLeavesNoEntryPointingAtNothing) {
    save(subject("ROSSI MARIO"));
    Archive base(root, "BASE");
    const std::string indexBefore = TempDir::read(base.indexPath());

    SaveRequest req;
    req.archive = "BASE";
    req.beforeIndexEntry = [&] { throw FileError(base.indexPath(), "No space left on device"); };
    EXPECT_THROW(saveSubject(root, settings, *files_, subject("BIANCHI ANNA"), req), FileError);

    EXPECT_EQ(TempDir::read(base.indexPath()), indexBefore);
    EXPECT_EQ(base.birthRecordCount(), 3);  // the record is there, just not listed
    for (const std::string& e : base.readAllEntries()) EXPECT_LT(*entryRecordNumber(e), base.birthRecordCount());

    // The next save goes on normally after the orphan.
    const SaveResult next = save(subject("BIANCHI ANNA"));
    EXPECT_EQ(next.recordNumber, 3);
    EXPECT_EQ(base.count(), 2);
}

TEST_F(ArchiveOpsTest, AFullArchiveIsRefusedBeforeAnythingIsWritten) {
    Archive base(root, "BASE");
    std::filesystem::resize_file(base.birthPath(), 385u * 100000);
    const std::string index = TempDir::read(base.indexPath());
    EXPECT_THROW(save(subject("ROSSI MARIO")), FileError);
    EXPECT_EQ(TempDir::read(base.indexPath()), index);
    EXPECT_EQ(std::filesystem::file_size(base.birthPath()), 385u * 100000);
}

TEST_F(ArchiveOpsTest, SaveWithATextDocument) {
    const std::string number = createTextDocument(root, "BASE", "ROSSI MARIO" + std::string(40, 'X'));
    EXPECT_EQ(number, "00001");
    EXPECT_EQ(TempDir::read(dir / "BASEtxt" / "00001.txt"), "ROSSI MARIO" + std::string(27, 'X') + "\r\n");
    EXPECT_EQ(TempDir::read(dir / "BASEtxt" / "FlagTxt.set"), "2\r\n");
    EXPECT_EQ(readLines(dir / "FileDum" / "DatModif.dum"), std::vector<std::string>{"BASEtxt\\00001.txt"});
    EXPECT_EQ(readLines(dir / "FileDum" / "StrText.dum"), (std::vector<std::string>{"BASE", "00001"}));

    const SaveResult r = save(subject("ROSSI MARIO"), "BASE", {}, number);
    Archive base(root, "BASE");
    EXPECT_EQ(base.readNotes(base.readRecord(r.recordNumber).notesRecord()).documentNumber(), "00001");
    EXPECT_EQ(currentTextDocument(root), "BASEtxt\\00001.txt");
}

TEST_F(ArchiveOpsTest, RetrievalLoadsTheSubjectAndItsNotes) {
    save(subject("ROSSI MARIO"), "BASE", {" UNA ", "DOS", "", ""}, "00009");
    SaveInput bracket = subject("BIANCHI (ANNA) MARIA", "21/03/1990 14:30", "-5,5");
    bracket.locality = "REGGIO *EMILIA*  NORD  ";
    save(bracket);
    Archive base(root, "BASE");

    const auto rossi = retrieveSubject(root, base, base.readEntry(2));
    ASSERT_TRUE(rossi);
    EXPECT_EQ(rossi->recordNumber, 1);
    EXPECT_EQ(rossi->name, "ROSSI MARIO" + std::string(27, ' '));
    EXPECT_EQ(rossi->words, (std::vector<std::string>{"ROSSI", "MARIO"}));
    EXPECT_EQ(rossi->displayDate, "21/03/1990 14:30");
    EXPECT_EQ(rossi->correction, "-1");
    EXPECT_EQ(rossi->coordText, "41N54-012E29");
    EXPECT_EQ(rossi->calendar, "GREG");
    EXPECT_EQ(rossi->memo, (std::array<std::string, 4>{" UNA", " DOS", " ", " 00009"}));
    EXPECT_EQ(rossi->documentNumber, "00009");
    EXPECT_EQ(readLines(dir / "FileDum" / "PointGlo.dum"), (std::vector<std::string>{"00001", "BASE"}));
    EXPECT_EQ(readNotesLine(root), " UNA DOS  00009");
    EXPECT_EQ(readLines(dir / "FileDum" / "StrText.dum"), (std::vector<std::string>{"BASE", "00009"}));

    const auto bianchi = retrieveSubject(root, base, base.readEntry(1));
    ASSERT_TRUE(bianchi);
    EXPECT_EQ(bianchi->name, "BIANCHI ");
    EXPECT_EQ(bianchi->words, std::vector<std::string>{"BIANCHI"});
    EXPECT_EQ(bianchi->locality, "REGGIO (EMILIA) NORD");
    EXPECT_EQ(bianchi->correction, "+5,5");
    // Without notes: the blank notes record and an empty document number.
    EXPECT_EQ(bianchi->memo, (std::array<std::string, 4>{" ", " ", " ", " "}));
    EXPECT_EQ(readLines(dir / "FileDum" / "StrText.dum"), (std::vector<std::string>{"BASE", ""}));
}

// On a full disk a subject can still be looked at: the scratch files are skipped, not fatal.
TEST_F(ArchiveOpsTest, RetrievalNeedsNoFreeSpace) {
    save(subject("ROSSI MARIO"), "BASE", {"NOTA", "", "", ""});
    std::filesystem::remove_all(dir / "FileDum");
    dir.write("FileDum", "a file where the folder should be: every scratch write fails");
    Archive base(root, "BASE");
    const auto s = retrieveSubject(root, base, base.readEntry(1));
    ASSERT_TRUE(s);
    EXPECT_EQ(trim(s->memo[0]), "NOTA");
    EXPECT_EQ(s->locality, "ROMA");
}

TEST_F(ArchiveOpsTest, RetrievalRefusesWrongSelections) {
    save(subject("ROSSI MARIO"));
    Archive base(root, "BASE");
    const std::string good = base.readEntry(1);
    const std::string damaged = good.substr(0, 38) + "00x01";
    const std::string beyond = good.substr(0, 38) + "00042";

    EXPECT_FALSE(retrieveSubject(root, base, damaged));
    EXPECT_FALSE(retrieveSubject(root, base, beyond));
    EXPECT_FALSE(retrieveSubject(root, base, kIndexHeaderText));  // record 0 is nobody
    EXPECT_FALSE(retrieveSubject(root, base, "x"));
    const auto viaFallback = retrieveSubject(root, base, damaged, good);
    ASSERT_TRUE(viaFallback);
    EXPECT_EQ(viaFallback->recordNumber, 1);

    // An archive without notes file shows no notes and leaves the notes files alone.
    std::filesystem::remove(base.notesPath());
    writeNotesLine(root, "BEFORE");
    const auto noNotes = retrieveSubject(root, base, good);
    ASSERT_TRUE(noNotes);
    EXPECT_FALSE(noNotes->hasNotes);
    EXPECT_EQ(readNotesLine(root), "BEFORE");
}

TEST_F(ArchiveOpsTest, OkMakesTheEditedSubjectCurrentAndLeavesTheArchive) {
    save(subject("ROSSI MARIO"));
    Archive base(root, "BASE");
    const BirthRecord stored = base.readRecord(1);
    const auto s = retrieveSubject(root, base, base.readEntry(1));
    ASSERT_TRUE(s);
    makeRetrievedCurrent(root, *s, "MARIO ROSSI", "ROMA EUR", "ITALIA");
    const CurrentSubject current = loadCurrent(root);
    EXPECT_EQ(current.entryText, "MARIO ROSSI");
    EXPECT_EQ(current.record.placeText, "41N54-012E29ROMA EUR");
    EXPECT_EQ(current.record.birthStamp, stored.birthStamp);
    EXPECT_EQ(Archive(root, "TMPR").birthRecordCount(), 1);
    EXPECT_EQ(base.readRecord(1), stored);
}

TEST(NameInversion, TwoWordsAlternateAndThreeGoThroughEveryOrder) {
    NameInversion inv;
    const std::vector<std::string> two = {"ROSSI", "MARIO"};
    EXPECT_EQ(inv.press(two), "MARIO ROSSI");
    EXPECT_EQ(inv.press(two), "ROSSI MARIO");
    EXPECT_EQ(inv.press(two), "MARIO ROSSI");

    inv.reset();
    const std::vector<std::string> three = nameWords("DE LUCA  ANNA");
    ASSERT_EQ(three, (std::vector<std::string>{"DE", "LUCA", "ANNA"}));
    const char* expected[] = {"LUCA ANNA DE", "DE ANNA LUCA", "LUCA DE ANNA",
                              "ANNA DE LUCA", "ANNA LUCA DE", "DE LUCA ANNA"};
    for (const char* e : expected) EXPECT_EQ(inv.press(three), e);
    EXPECT_EQ(inv.press(three), expected[0]);

    // A fourth word stays with the third instead of being lost.
    EXPECT_EQ(nameWords(" DE LA CRUZ  JUAN "), (std::vector<std::string>{"DE", "LA", "CRUZ JUAN"}));
    EXPECT_EQ(nameWords("   "), std::vector<std::string>{});
}

TEST_F(ArchiveOpsTest, DeleteShowsTheSubjectThenRemovesItsEntryAndDocument) {
    SaveInput julian = subject("ROSSI MARIO", "21/03/1990 14:30", "+1", 0);
    const std::string number = createTextDocument(root, "BASE", "ROSSI MARIO");
    save(julian, "BASE", {"NOTA", "", "", ""}, number);
    Archive base(root, "BASE");
    const auto st2 = std::filesystem::file_size(base.birthPath());
    const auto st3 = std::filesystem::file_size(base.notesPath());

    const auto shown = showForDeletion(base, 1);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->lines[0], "ROSSI MARIO" + std::string(27, ' '));
    EXPECT_EQ(shown->lines[1], "Nascita 21/03/1990 14:30  Correz. -1");
    EXPECT_EQ(shown->lines[2], "Localit\xE0: ROMA");
    EXPECT_EQ(shown->lines[3], "Nazionalit\xE0: ITALIA");
    EXPECT_EQ(shown->lines[4], "Coordinate: 41N54-012E29");
    EXPECT_EQ(shown->lines[5], "Calendario: GIULIANO");
    EXPECT_EQ(shown->lines[6], "");
    EXPECT_EQ(shown->memo[0], " NOTA");
    EXPECT_EQ(shown->documentNumber, "00001");

    // An entry that changed since it was shown is not deleted.
    SubjectForDeletion stale = *shown;
    stale.entryText[0] = 'X';
    EXPECT_FALSE(deleteSubject(root, base, stale));
    EXPECT_EQ(base.count(), 1);

    EXPECT_TRUE(deleteSubject(root, base, *shown));
    EXPECT_EQ(base.count(), 0);
    EXPECT_EQ(base.readAllEntries(), std::vector<std::string>{std::string(kIndexHeaderText)});
    EXPECT_EQ(std::filesystem::file_size(base.birthPath()), st2);
    EXPECT_EQ(std::filesystem::file_size(base.notesPath()), st3);
    EXPECT_FALSE(std::filesystem::exists(dir / "BASEtxt" / "00001.txt"));
    EXPECT_EQ(archivesWritten(root), std::vector<std::string>{"BASE"});

    // A damaged entry cannot be shown.
    base.insertEntry("ROSSI MARIO                           0000?");
    EXPECT_FALSE(showForDeletion(base, 1));
}

ModifyForm goodForm() {
    ModifyForm f;
    f.name = "ROSSI MARIO";
    f.date = "21/03/1990";
    f.time = "14:30";
    f.calendar = "GREGORIANO";
    f.locality = "ROMA";
    f.correction = "-1";
    f.coordText = "41N54-012E29";
    f.country = "ITALIA";
    return f;
}

TEST(ModifyChecks, EachFailureHasItsMessageInOrder) {
    struct Case {
        void (*change)(ModifyForm&);
        const char* message;
    } cases[] = {
        {[](ModifyForm& f) { f.date = "32/03/1990"; }, "Fecha de nacimiento incorrecta o incomplete"},
        {[](ModifyForm& f) { f.date = "00/03/1990"; }, "Fecha de nacimiento incorrecta o incomplete"},
        {[](ModifyForm& f) { f.date = "21/03/2081"; }, "Fecha de nacimiento incorrecta o incomplete"},
        {[](ModifyForm& f) { f.date = "21/3/1990"; }, "Fecha de nacimiento incorrecta o incomplete"},
        {[](ModifyForm& f) { f.time = "24:00"; }, "Hora nacimiento incorrecta o incompleta"},
        {[](ModifyForm& f) { f.time = "1a:00"; }, "Hora nacimiento incorrecta o incompleta"},
        {[](ModifyForm& f) { f.coordText = "41N60-012E29"; }, "Coordenadas incorrecta o incomplete"},
        {[](ModifyForm& f) { f.coordText = "41N54-012O29"; }, "Coordenadas incorrecta o incomplete"},
        {[](ModifyForm& f) { f.calendar = "JULIANO"; }, "Error definici\xF3n Calendar"},
        {[](ModifyForm& f) { f.correction = "uno"; }, "Error en la entrada \"Corr.\" (correcci\xF3n total)"},
        {[](ModifyForm& f) { f.correction = "13"; }, "\"Corr\" muestra un valor imposible"},
        {[](ModifyForm& f) { f.correction = "-12,5"; }, "\"Corr\" muestra un valor imposible"},
        // the first failing check wins
        {[](ModifyForm& f) {
             f.time = "99:99";
             f.calendar = "X";
         },
         "Hora nacimiento incorrecta o incompleta"},
    };
    for (const auto& c : cases) {
        ModifyForm f = goodForm();
        c.change(f);
        const ModifyCheck r = checkModification(f);
        EXPECT_FALSE(r.ok) << c.message;
        EXPECT_EQ(r.message, c.message);
    }

    ModifyForm padded = goodForm();
    padded.name = "  ROSSI MARIO ";
    padded.correction = " 3,5 ";
    padded.coordText = " 41N54-012E29";
    const ModifyCheck ok = checkModification(padded);
    EXPECT_TRUE(ok.ok);
    EXPECT_EQ(ok.form.name, "ROSSI MARIO");
    EXPECT_EQ(ok.form.correction, "3.5");
    EXPECT_EQ(ok.form.coordText, "41N54-012E29");
}

TEST(ModifyChecks, ACorrectionFarFromTheLongitudeAsksFirst) {
    struct Case {
        const char* coord;
        const char* correction;
        bool ask;
    } cases[] = {
        {"41N54-012E29", "+5", true},  // Rome with five hours west of Greenwich
        {"41N54-012E29", "-1", false}, {"41N54-012E29", "-2", false}, {"40N43-074W00", "+5", false},  // New York
        {"40N43-074W00", "-1", true},  {"35N41-139E41", "-9", false},                                 // Tokyo
    };
    for (const auto& c : cases) {
        ModifyForm f = goodForm();
        f.coordText = c.coord;
        f.correction = c.correction;
        const ModifyCheck r = checkModification(f);
        EXPECT_TRUE(r.ok) << c.coord << c.correction;
        EXPECT_EQ(r.needsConfirmation, c.ask) << c.coord << " " << c.correction;
    }
}

TEST(ModifyMove, TheEntryStepsUntilTheOrderHolds) {
    const std::vector<std::string> index = {"0 header", "BIANCHI", "FERRARI", "ROSSI", "VERDI"};
    struct Case {
        int from;
        const char* key;
        int to;
        std::vector<std::string> after;
    } cases[] = {
        {3, "ALBERTI", 1, {"0 header", "ALBERTI", "BIANCHI", "FERRARI", "VERDI"}},
        {3, "COLOMBO", 2, {"0 header", "BIANCHI", "COLOMBO", "FERRARI", "VERDI"}},
        {1, "ZANI", 4, {"0 header", "FERRARI", "ROSSI", "VERDI", "ZANI"}},
        {2, "GALLI", 2, {"0 header", "BIANCHI", "GALLI", "ROSSI", "VERDI"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> e = index;
        EXPECT_EQ(moveEntry(e, c.from, c.key), c.to) << c.key;
        EXPECT_EQ(e, c.after) << c.key;
    }
}

TEST_F(ArchiveOpsTest, ModifyRewritesTheRecordInPlaceAndMovesTheEntry) {
    save(subject("BIANCHI ANNA"));
    save(subject("FERRARI LUCA"));
    save(subject("ROSSI MARIO"));
    Archive base(root, "BASE");
    BirthRecord reserved = base.readRecord(3);
    reserved.reserved12 = "RISERVATO";
    base.writeRecord(3, reserved);
    const auto st2 = std::filesystem::file_size(base.birthPath());

    auto loaded = loadForModify(base, 3);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->recordNumber, 3);
    EXPECT_EQ(loaded->form.date, "21/03/1990");
    EXPECT_EQ(loaded->form.time, "14:30");
    EXPECT_EQ(loaded->form.correction, "-1");
    EXPECT_EQ(loaded->form.calendar, "GREGORIANO");

    // Same first eight characters: the entry keeps its place, even out of order.
    ModifyForm f = loaded->form;
    f.name = "ROSSI MAAAA";
    f.correction = "-3,5";
    ModifyCheck check = checkModification(f);
    ASSERT_TRUE(check.ok);
    ModifyResult r = applyModification(settings, *files_, base, *loaded, check.form);
    EXPECT_EQ(r.position, 3);
    EXPECT_EQ(base.readEntry(3), "ROSSI MAAAA" + std::string(27, ' ') + "00003");
    const BirthRecord rec = base.readRecord(3);
    EXPECT_EQ(rec.birthStamp, "199003211430-3,5");
    EXPECT_EQ(rec.reserved12, "RISERVATO");
    EXPECT_NE(rec.planetSummary, reserved.planetSummary);  // the houses moved with the correction
    EXPECT_EQ(std::filesystem::file_size(base.birthPath()), st2);

    // A new surname moves the entry towards the start until the order holds.
    loaded = loadForModify(base, 3);
    ASSERT_TRUE(loaded);
    f = loaded->form;
    f.name = "BIANCHI MARIO";
    f.notes = {"NUOVA", "", "", "NOTA 4"};
    check = checkModification(f);
    r = applyModification(settings, *files_, base, *loaded, check.form);
    EXPECT_EQ(r.position, 2);
    EXPECT_EQ(base.readAllEntries(),
              (std::vector<std::string>{std::string(kIndexHeaderText), makeEntryText("BIANCHI ANNA", 1),
                                        makeEntryText("BIANCHI MARIO", 3), makeEntryText("FERRARI LUCA", 2)}));
    // Notes added to a subject without notes: appended, and the record points at them.
    const int notesAt = base.readRecord(3).notesRecord();
    EXPECT_EQ(notesAt, 1);
    EXPECT_EQ(base.readNotes(1).lines[3], "NOTA 4");

    // Changing them again overwrites the same notes record.
    loaded = loadForModify(base, 2);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->form.notes[0], "NUOVA");
    f = loaded->form;
    f.notes[0] = "CAMBIATA";
    f.documentNumber = "00004";
    check = checkModification(f);
    applyModification(settings, *files_, base, *loaded, check.form);
    EXPECT_EQ(base.notesRecordCount(), 2);
    EXPECT_EQ(base.readNotes(1).lines[0], "CAMBIATA");
    EXPECT_EQ(base.readNotes(1).documentNumber(), "00004");
}

TEST_F(ArchiveOpsTest, ModifyTextDocumentKeepsAnExistingOne) {
    save(subject("ROSSI MARIO"));
    Archive base(root, "BASE");
    const std::string fresh = prepareTextDocument(base, "", "ROSSI MARIO");
    EXPECT_EQ(fresh, "00001");
    EXPECT_EQ(TempDir::read(dir / "BASEtxt" / "00001.txt"), "ROSSI MARIO\r\n");
    dir.write("BASEtxt/00001.txt", "ROSSI MARIO\r\nAPPUNTI\r\n");
    EXPECT_EQ(prepareTextDocument(base, "00001", "ALTRO"), "00001");
    EXPECT_EQ(TempDir::read(dir / "BASEtxt" / "00001.txt"), "ROSSI MARIO\r\nAPPUNTI\r\n");
    EXPECT_EQ(prepareTextDocument(base, "00077", "ALTRO"), "00002");
}

// Programs open on the same folder: every save of both lands in the index, and a
// subject shown before the other program's saves is still the one modified or deleted.
TEST_F(ArchiveOpsTest, ProgramsSavingAtOnceLoseNothing) {
    constexpr int kEach = 40;
    const std::vector<std::string> surnames = {"BIANCHI", "ROSSI", "VERDI"};
    auto saveMany = [&](const std::string& prefix) {
        for (int i = 0; i < kEach; ++i) save(subject(prefix + " " + std::to_string(100 + i)));
    };
    std::vector<pid_t> others;
    for (std::size_t p = 1; p < surnames.size(); ++p) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            try {
                saveMany(surnames[p]);
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        others.push_back(pid);
    }
    saveMany(surnames[0]);
    for (const pid_t pid : others) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    const int total = kEach * static_cast<int>(surnames.size());
    Archive base(root, "BASE");
    EXPECT_EQ(base.birthRecordCount(), total + 1);
    const auto entries = base.readAllEntries();
    ASSERT_EQ(entries.size(), static_cast<std::size_t>(total + 1));
    std::set<int> records;
    for (std::size_t k = 1; k < entries.size(); ++k) {
        records.insert(entryRecordNumber(entries[k]).value_or(0));
        if (k > 1) {
            EXPECT_LE(entries[k - 1], entries[k]);
        }
    }
    EXPECT_EQ(records.size(), static_cast<std::size_t>(total));
    EXPECT_EQ(*records.begin(), 1);
    EXPECT_EQ(*records.rbegin(), total);
}

TEST_F(ArchiveOpsTest, AnEntryMovedByAnotherProgramIsStillTheOneModifiedOrDeleted) {
    save(subject("ROSSI MARIO"));
    save(subject("VERDI ANNA"));
    Archive base(root, "BASE");
    const auto shown = showForDeletion(base, 2);
    const auto loaded = loadForModify(base, 1);
    ASSERT_TRUE(shown && loaded);
    save(subject("BIANCHI ANNA"));  // the other program's save moves both down by one

    ModifyForm f = loaded->form;
    f.name = "ROSSI MARIA";
    const ModifyCheck check = checkModification(f);
    ASSERT_TRUE(check.ok);
    applyModification(settings, *files_, base, *loaded, check.form);
    EXPECT_TRUE(deleteSubject(root, base, *shown));
    EXPECT_EQ(base.readAllEntries(),
              (std::vector<std::string>{std::string(kIndexHeaderText), makeEntryText("BIANCHI ANNA", 3),
                                        makeEntryText("ROSSI MARIA", 1)}));
}

// A notes file lost or cut short hides nothing: the subjects can still be deleted and
// modified, their notes shown empty with a warning, and notes typed again are kept.
TEST_F(ArchiveOpsTest, AMissingOrShortNotesFileStillLetsSubjectsBeDeletedAndModified) {
    for (const bool missing : {true, false}) {
        SCOPED_TRACE(missing ? "missing" : "short");
        TempDir other;
        root = DataRoot(other.path());
        SetUp();
        save(subject("ROSSI MARIO"), "BASE", {"NOTA", "", "", ""});
        save(subject("VERDI ANNA"), "BASE", {"ALTRA", "", "", ""});
        Archive base(root, "BASE");
        if (missing) std::filesystem::remove(base.notesPath());
        else std::filesystem::resize_file(base.notesPath(), std::filesystem::file_size(base.notesPath()) / 3 + 7);

        const auto shown = showForDeletion(base, 2);
        ASSERT_TRUE(shown);
        EXPECT_NE(shown->notesWarning.find("BASE.ST3"), std::string::npos);
        EXPECT_NE(shown->notesWarning.find("Se muestran vac\xED" "as."), std::string::npos);
        EXPECT_TRUE(deleteSubject(root, base, *shown));

        const auto loaded = loadForModify(base, 1);
        ASSERT_TRUE(loaded);
        EXPECT_FALSE(loaded->notesWarning.empty());
        EXPECT_EQ(trim(loaded->form.notes[0]), "");
        ModifyForm f = loaded->form;
        f.notes[0] = "NOTA NUEVA";
        const ModifyCheck check = checkModification(f);
        ASSERT_TRUE(check.ok);
        const ModifyResult r = applyModification(settings, *files_, base, *loaded, check.form);
        const auto again = loadForModify(base, r.position);
        ASSERT_TRUE(again);
        EXPECT_TRUE(again->notesWarning.empty());
        EXPECT_EQ(again->form.notes[0], "NOTA NUEVA");
    }
}

}  // namespace
}  // namespace athanor
