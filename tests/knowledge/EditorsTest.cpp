// The editors' lists, save, save as new, delete and re-ordering; the maintenance viewer;
// the search utility's find-and-correct.
#include "foundations/FileError.h"
#include "knowledge/Editors.h"
#include "knowledge/FindAndCorrect.h"
#include "knowledge/KnowledgeText.h"
#include "knowledge/MaintenanceViewer.h"
#include "KbFixture.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace athanor {
namespace {

using namespace test;
using Lines = std::vector<std::string>;

std::vector<RemedyRecord> numbered(int n) {
    std::vector<RemedyRecord> r;
    for (int i = 1; i <= n; ++i) r.push_back(remedy("R" + std::to_string(i), "I" + std::to_string(i)));
    return r;
}

Lines namesOf(const KbFolder& kb) {
    Lines out;
    for (const auto& r : readAllRecords<RemedyRecord>(kb.path("OpzioneH\\DBmain.rnd"))) out.push_back(r.name);
    return out;
}

TEST(Editors, ListsInBothOrdersAndTheRecordOfAnEntry) {
    const KbFolder kb({remedy("Salvia", "Tos"), remedy("Arnica", "Golpes"), remedy("Salvia", "Fiebre")},
                      {therapy("Gripe", "Tilo"), therapy("Anemia", "Ortica")});
    EXPECT_EQ(editorList(kb.root(), EditorKind::Remedies, EditorOrder::ByRemedy),
              (Lines{"Arnica**Golpes", "Salvia**Fiebre", "Salvia**Tos"}));
    EXPECT_EQ(editorList(kb.root(), EditorKind::Remedies, EditorOrder::ByPathology),
              (Lines{"Fiebre**Salvia", "Golpes**Arnica", "Tos**Salvia"}));
    EXPECT_EQ(editorList(kb.root(), EditorKind::Repertory, EditorOrder::ByPathology),
              (Lines{"Anemia**Ortica", "Gripe**Tilo"}));

    struct Case {
        const char* entry;
        EditorOrder order;
        EditorEntry parts;
    } cases[] = {
        {"Salvia**Tos", EditorOrder::ByRemedy, {"Salvia", "Tos"}},
        {"Tos**Salvia", EditorOrder::ByPathology, {"Salvia", "Tos"}},
        {"A*B*C", EditorOrder::ByRemedy, {"A", "BC"}},  // every "*" after the first goes
        {"Sin estrella", EditorOrder::ByRemedy, {"Sin estrella", ""}},
    };
    for (const auto& c : cases) EXPECT_EQ(splitEditorEntry(c.entry, c.order), c.parts) << c.entry;
    EXPECT_EQ(findEditorRecord(kb.root(), EditorKind::Remedies, {"Salvia", "Fiebre"}), 3);
    EXPECT_EQ(findEditorRecord(kb.root(), EditorKind::Repertory, {"Tilo", "Gripe"}), 1);
    EXPECT_FALSE(findEditorRecord(kb.root(), EditorKind::Remedies, {"Salvia", "Gripe"}));

    const KbFolder none({});
    std::filesystem::remove(none.path("OpzioneH\\DBmain.rnd"));
    EXPECT_TRUE(editorList(none.root(), EditorKind::Remedies, EditorOrder::ByRemedy).empty());
}

TEST(Editors, SaveSaveAsNewAndDelete) {
    const KbFolder kb(numbered(10));
    // Nothing loaded: "Salva" refuses, "Salva come Nuovo" appends.
    EXPECT_FALSE(saveRecord(kb.root(), 0, remedy("Nuevo", "x")));
    EXPECT_EQ(saveRecordAsNew(kb.root(), remedy("Nuevo", "x")), 11);

    // A 320-character indication is stored as 250 + 50; the last 20 are lost.
    const std::string indication = std::string(250, 'a') + std::string(50, 'b') + std::string(20, 'c');
    ASSERT_TRUE(saveRecord(kb.root(), 2, remedy("R2", indication)));
    const RemedyRecord saved = KnowledgeFile<RemedyRecord>(kb.path("OpzioneH\\DBmain.rnd")).read(2);
    EXPECT_EQ(saved.indication[0], std::string(250, 'a'));
    EXPECT_EQ(saved.indication[1], std::string(50, 'b'));

    // Deleting record 5 moves 6..11 down and leaves 10 records plus record 0.
    deleteRecord(kb.root(), EditorKind::Remedies, 5);
    EXPECT_EQ(namesOf(kb), (Lines{"", "R1", "R2", "R3", "R4", "R6", "R7", "R8", "R9", "R10", "Nuevo"}));
    EXPECT_THROW(deleteRecord(kb.root(), EditorKind::Remedies, 0), FileError);
    EXPECT_THROW(deleteRecord(kb.root(), EditorKind::Remedies, 11), FileError);
}

// Each save copies the file and renames the copy over it: two programs saving at once
// would each drop the other's records unless the folder's lock keeps them in turn.
TEST(Editors, TwoProgramsSavingAtOnceKeepEveryRecord) {
    const KbFolder kb(numbered(3));
    constexpr int kEach = 15;
    auto saveMany = [&](const std::string& who) {
        for (int i = 0; i < kEach; ++i) saveRecordAsNew(kb.root(), remedy(who + std::to_string(i), "x"));
    };
    std::vector<pid_t> others;
    for (const char* who : {"B", "C"}) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            try {
                saveMany(who);
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        others.push_back(pid);
    }
    saveMany("A");
    for (const pid_t pid : others) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const Lines names = namesOf(kb);
    const std::set<std::string> distinct(names.begin(), names.end());
    EXPECT_EQ(names.size(), 1u + 3u + 3u * kEach);
    for (const char* who : {"A", "B", "C"})
        for (int i = 0; i < kEach; ++i) EXPECT_TRUE(distinct.count(who + std::to_string(i))) << who << i;
}

TEST(Editors, LeavingFindsWhatChanged) {
    EXPECT_FALSE(pendingChanges("Tilo", "", "Tilo", "Indicaciones", false).any());
    const PendingChanges c = pendingChanges("Tilo", "Nervios", "Tila", "Nervios", true);
    EXPECT_TRUE(c.name);
    EXPECT_FALSE(c.second);
    EXPECT_TRUE(c.descriptions);
}

TEST(Editors, TheRepertoryPanelShowsTheDatabaseRecordOfItsRemedy) {
    RemedyRecord full = remedy("TSA Tilo", "Nervios", "Venus", "Tauro", "Luna");
    full.setWarnings("No conducir.");
    full.setSynthesis("Calma.");
    full.setNotes(std::string(250, 'n') + "fin");
    const KbFolder kb({remedy("TSA Romero", "Fatiga"), full});
    // Found by the name upper-cased; the first from record 1.
    const auto found = databaseRecordOf(kb.root(), "tsa tilo");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->name, "TSA Tilo");
    EXPECT_FALSE(databaseRecordOf(kb.root(), "TSA Tila"));

    const RemedyPanelTexts t = remedyPanelTexts(*found);
    EXPECT_EQ(t.warnings, "No conducir.");
    EXPECT_EQ(t.signatures, "Venus\r\nLuna\r\nTauro");
    EXPECT_EQ(t.synthesis, "Calma.");
    EXPECT_EQ(t.notes, std::string(250, 'n') + "\r\nfin\r\n");

    // Texts blank after the trailing-character trim give the fixed notices.
    RemedyRecord blank = remedy("X", "Y");
    blank.setWarnings(" ,");
    const RemedyPanelTexts e = remedyPanelTexts(blank);
    EXPECT_EQ(e.warnings, "No hay advertencias para este remedio");
    EXPECT_EQ(e.signatures, "Ninguna signatura Astrol\xF3gica");
    EXPECT_EQ(e.synthesis, "Ninguna s\xEDntesis ps\xEDquica grabada");
    EXPECT_EQ(e.notes, "Ninguna Nota grabada");
}

TEST(Reordering, PickAndDrop) {
    ReorderList list({"a", "b", "c", "d"});
    list.doubleClick(0);
    EXPECT_EQ(list.picked(), 0);
    list.doubleClick(2);  // dropped at index 2, the entries between move up
    EXPECT_EQ(list.entries(), (Lines{"b", "c", "a", "d"}));
    EXPECT_FALSE(list.picked());
    list.doubleClick(3);
    list.doubleClick(0);  // moving up works alike
    EXPECT_EQ(list.entries(), (Lines{"d", "b", "c", "a"}));
    list.doubleClick(1);
    list.doubleClick(1);  // the picked entry itself releases it
    EXPECT_FALSE(list.picked());
    EXPECT_EQ(list.entries(), (Lines{"d", "b", "c", "a"}));
}

TEST(Reordering, TheFileFollowsTheEntries) {
    std::vector<RemedyRecord> records = numbered(4);
    records.push_back(remedy("R2", "I2"));              // a twin of record 2
    records.push_back(remedy("Coma,", "Tos, seca  "));  // trimmed on both sides
    records[0].setWarnings("el primero");
    const KbFolder kb(records);
    const auto before = readAllRecords<RemedyRecord>(kb.path("OpzioneH\\DBmain.rnd"));

    ReorderList list(reorderingList(kb.root(), EditorKind::Remedies));
    EXPECT_EQ(list.entries()[5], "Coma,**Tos, seca  ");
    list.move(0, 5);  // R1 to the end
    Lines entries = list.entries();
    entries.push_back("Nadie**Nada");    // finds no record: writes nothing
    entries.erase(entries.begin() + 2);  // R4 left out: dropped
    int calls = 0;
    EXPECT_EQ(commitReordering(kb.root(), EditorKind::Remedies, entries, [&](std::int64_t) { ++calls; }), 5);
    EXPECT_EQ(calls, 5);
    const auto after = readAllRecords<RemedyRecord>(kb.path("OpzioneH\\DBmain.rnd"));
    ASSERT_EQ(after.size(), 6u);
    EXPECT_EQ(after[0], before[0]);  // record 0 unchanged
    // Both twins survive, in list order; every record keeps all its fields.
    EXPECT_EQ(after[1], before[2]);
    EXPECT_EQ(after[2], before[3]);
    EXPECT_EQ(after[3], before[5]);
    EXPECT_EQ(after[4], before[6]);
    EXPECT_EQ(after[5], before[1]);
    EXPECT_EQ(after[5].warningsText(), "el primero");
}

TEST(Reordering, ThePlanNamesTheRecordsTakenAndMissesAnEntryHoldingAStar) {
    const KbFolder kb({remedy("R1", "I1"), remedy("Uno*Dos", "Tos"), remedy("R1", "I1")});
    const Lines entries = reorderingList(kb.root(), EditorKind::Remedies);
    EXPECT_EQ(entries[1], "Uno*Dos**Tos");
    // The entry of record 2 splits at its own "*" and finds nothing; the twins keep their order.
    EXPECT_EQ(planReordering(kb.root(), EditorKind::Remedies, {entries[2], entries[1], entries[0]}),
              (std::vector<std::int64_t>{1, 3}));
}

// The re-ordering as the editor makes it: for each entry a scan from record 0 for the first
// record not used yet.
std::vector<RemedyRecord> reorderedByScans(const std::vector<RemedyRecord>& old, const Lines& entries) {
    std::vector<RemedyRecord> out{old[0]};
    std::vector<bool> used(old.size(), false);
    for (const auto& entry : entries) {
        EditorEntry e = splitEditorEntry(trailingTrimmed(entry), EditorOrder::ByRemedy);
        for (std::size_t k = 0; k < old.size(); ++k) {
            if (used[k] || trailingTrimmed(old[k].name) != trailingTrimmed(e.remedy) ||
                trailingTrimmed(old[k].indicationText()) != trailingTrimmed(e.second))
                continue;
            used[k] = true;
            out.push_back(old[k]);
            break;
        }
    }
    return out;
}

TEST(Reordering, OnePassEqualsOneScanPerEntry) {
    std::mt19937 random(66);
    const Lines names = {"Tilo", "Tilo.", "Salvia", "Salvia ,", "Ruda"};
    const Lines indications = {"Tos", "Tos:", "Fiebre", ""};
    std::vector<RemedyRecord> records;
    for (int i = 0; i < 80; ++i) {
        RemedyRecord r = remedy(names[random() % names.size()], indications[random() % indications.size()]);
        r.setNotes("registro " + std::to_string(i));
        records.push_back(r);
    }
    for (int trial = 0; trial < 5; ++trial) {
        const KbFolder kb(records);
        const auto old = readAllRecords<RemedyRecord>(kb.path("OpzioneH\\DBmain.rnd"));
        Lines entries = reorderingList(kb.root(), EditorKind::Remedies);
        std::shuffle(entries.begin(), entries.end(), random);
        entries.resize(entries.size() - static_cast<std::size_t>(trial * 7));
        entries.push_back("**");  // an empty entry takes the blank record 0 too, as a scan from 0 does
        commitReordering(kb.root(), EditorKind::Remedies, entries);
        EXPECT_EQ(readAllRecords<RemedyRecord>(kb.path("OpzioneH\\DBmain.rnd")), reorderedByScans(old, entries));
    }
}

TEST(MaintenanceViewer, RecordAndSortedOrders) {
    const KbFolder kb({}, {},
                      {plantSymptom("Tilo", "Nervios"), plantSymptom("", "Fiebre  "), plantSymptom("Abedul", "Reuma"),
                       plantSymptom("", "Fiebre", "Sol")});
    const Lines inOrder = maintenanceList(kb.root(), false);
    EXPECT_EQ(inOrder, (Lines{"Tilo                Nervios", "XXXX                Fiebre", "Abedul              Reuma",
                              "XXXX                Fiebre"}));
    EXPECT_EQ(maintenanceRecord(kb.root(), false, inOrder, 2)->plant, "Abedul");
    const Lines sorted = maintenanceList(kb.root(), true);
    EXPECT_EQ(sorted[0], "Abedul              Reuma");
    EXPECT_EQ(maintenanceRecord(kb.root(), true, sorted, 0)->symptom, "Reuma");
    // "XXXX" finds the first record without a plant.
    EXPECT_EQ(maintenanceRecord(kb.root(), true, sorted, 3)->symptom, "Fiebre  ");
    EXPECT_FALSE(maintenanceRecord(kb.root(), true, sorted, 9));
}

TEST(FindAndCorrect, FindsRecordByRecordAndWritesTheCorrection) {
    RemedyRecord last = remedy("Salvia", "x");
    last.setNotes("Hojas de salvia fresca");
    const KbFolder kb({remedy("Tilo", "x"), remedy("Salvia Roja", "x"), last}, {therapy("Gripe", "Salvia")});
    FindAndCorrect utility(kb.root(), UtilityField::Name);
    utility.setPhrase("salvia");
    auto f = utility.next();
    ASSERT_TRUE(f);
    EXPECT_EQ(f->record, 2);
    EXPECT_EQ(f->before, "");
    EXPECT_EQ(f->after, "Salvia Roja");
    EXPECT_EQ(f->next, 3);
    EXPECT_EQ(f->lengthText, "11/50");
    // Found in the last record like any other; the next press reports the end.
    f = utility.next();
    ASSERT_TRUE(f);
    EXPECT_EQ(f->record, 3);
    EXPECT_FALSE(utility.next());
    EXPECT_EQ(utility.lastRecord(), 3);
    EXPECT_FALSE(utility.underWay());
    EXPECT_EQ(utility.next()->record, 2);  // and the search starts again at record 0

    utility.setField(UtilityField::Notes);
    f = utility.next();
    ASSERT_TRUE(f);
    EXPECT_EQ(f->before, "Hojas de ");
    EXPECT_EQ(f->after, "salvia fresca");
    // A correction longer than the field is cut to its capacity.
    ASSERT_TRUE(utility.save(std::string(740, 'n'), "Salvia officinalis"));
    const RemedyRecord saved = KnowledgeFile<RemedyRecord>(kb.path("OpzioneH\\DBmain.rnd")).read(3);
    EXPECT_EQ(saved.notesText(), std::string(740, 'n') + "Salvia off");
    EXPECT_EQ(saved.name, "Salvia");

    // An empty phrase finds nothing; the repertory is searched the same way.
    utility.setPhrase("");
    EXPECT_FALSE(utility.next());
    EXPECT_FALSE(utility.save("a", "b"));
    utility.setField(UtilityField::TherapyRemedy);
    utility.setPhrase("SAL");
    EXPECT_EQ(utility.next()->remedy, "Salvia");
}

}  // namespace
}  // namespace athanor
