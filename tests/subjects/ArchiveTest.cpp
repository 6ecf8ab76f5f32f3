#include "foundations/FileError.h"
#include "foundations/RecordFile.h"
#include "subjects/Archive.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace athanor {
namespace {

using test::TempDir;

// A length-prefixed field as the files hold it, built by hand.
std::string field(const std::string& text, int capacity) {
    std::string f(1, static_cast<char>(text.size()));
    f += text;
    f.append(capacity - text.size(), '\0');
    return f;
}

std::string slurp(const std::filesystem::path& p) { return TempDir::read(p); }

BirthRecord sampleRecord() {
    BirthRecord r;
    r.birthStamp = "199003211430-1";
    r.placeText = "41N54-012E29ROMA";
    r.calendarCode = "GR";
    r.country = "ITALIA";
    r.planetSummary = "07eAT00";
    r.cuspSummary = "01L12";
    r.aspectSummary = "eKm3";
    r.reserved21 = "";
    r.reserved12 = "";
    r.notesNumber = "00000";
    return r;
}

TEST(Archive, FreshBaseHoldsOnlyTheRecordsZero) {
    TempDir dir;
    DataRoot root(dir.path());
    EXPECT_TRUE(ensureBaseArchive(root));
    EXPECT_FALSE(ensureBaseArchive(root));

    EXPECT_EQ(slurp(dir / "BASE.ST1"), field("0 Registro vuoto......................00000", 43));
    std::string blank;
    for (int cap : {20, 39, 2, 20, 72, 60, 124, 21, 12}) blank += field(" ", cap);
    blank += field("     ", 5);
    ASSERT_EQ(blank.size(), 385u);
    EXPECT_EQ(slurp(dir / "BASE.ST2"), blank);
    EXPECT_EQ(slurp(dir / "BASE.ST3"), field(" ", 70) + field(" ", 70) + field(" ", 70) + field(" ", 70));

    Archive base(root, "base");
    EXPECT_EQ(base.name(), "BASE");
    EXPECT_EQ(base.count(), 0);
}

TEST(Archive, ALostIndexIsRebuiltFromTheBirthRecordsSoNoSubjectHides) {
    TempDir dir;
    DataRoot root(dir.path());
    int recovered = -1;
    ASSERT_TRUE(ensureBaseArchive(root, &recovered));
    EXPECT_EQ(recovered, 0);
    Archive base(root, "BASE");
    for (const char* name : {"ROSSI MARIO", "BIANCHI ANNA", "VERDI LUCA"})
        base.insertEntry(makeEntryText(name, base.appendRecord(BirthRecord::blank())));
    const std::string birth = slurp(dir / "BASE.ST2");

    std::filesystem::remove(dir / "BASE.ST1");
    ASSERT_TRUE(ensureBaseArchive(root, &recovered));
    EXPECT_EQ(recovered, 3);
    ASSERT_EQ(base.count(), 3);
    EXPECT_EQ(base.readEntry(0), "0 Registro vuoto......................00000");
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(base.readEntry(k), makeEntryText(unnamedSubject(k), k));
    EXPECT_EQ(slurp(dir / "BASE.ST2"), birth) << "the records are kept as they were";
    EXPECT_EQ(base.insertEntry(makeEntryText("ZETA", 4)), 4) << "the rebuilt index is in order";
}

TEST(Archive, BaseIsFoundWhateverTheLetterCaseAndExistingFilesAreKept) {
    TempDir dir;
    DataRoot root(dir.path());
    dir.write("base.st1", field("0 Registro vuoto......................00000", 43));
    EXPECT_FALSE(ensureBaseArchive(root));

    // Without an index, the birth records that are there must not be wiped.
    TempDir other;
    DataRoot root2(other.path());
    const std::string kept(385 * 3, 'x');
    other.write("BASE.ST2", kept);
    EXPECT_TRUE(ensureBaseArchive(root2));
    EXPECT_EQ(slurp(other / "BASE.ST2"), kept);
    EXPECT_EQ(Archive(root2, "BASE").count(), 2) << "records 1 and 2 are listed again, unnamed";
}

TEST(Archive, BirthRecordBytesFollowTheLayout) {
    const BirthRecord r = sampleRecord();
    const auto bytes = encodeBirthRecord(r);
    std::string expected = field("199003211430-1", 20) + field("41N54-012E29ROMA", 39) + field("GR", 2) +
                           field("ITALIA", 20) + field("07eAT00", 72) + field("01L12", 60) + field("eKm3", 124) +
                           field("", 21) + field("", 12) + field("00000", 5);
    ASSERT_EQ(expected.size(), 385u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);
    EXPECT_EQ(decodeBirthRecord(bytes.data()), r);
    EXPECT_EQ(r.coordText(), "41N54-012E29");
    EXPECT_EQ(r.locality(), "ROMA");

    // Texts longer than a field are cut to its capacity.
    BirthRecord longer = r;
    longer.country = std::string(30, 'P');
    EXPECT_EQ(decodeBirthRecord(encodeBirthRecord(longer).data()).country, std::string(20, 'P'));
}

TEST(Archive, NotesKeepTheDocumentNumberAfterColumn64) {
    const NotesRecord n = NotesRecord::fromNotes({"UNO", "DOS", "TRES", "CUATRO"}, "00007");
    EXPECT_EQ(n.lines[3], "CUATRO" + std::string(58, ' ') + "00007");
    EXPECT_EQ(n.documentNumber(), "00007");
    EXPECT_EQ(NotesRecord::fromNotes({"", "", "", std::string(70, 'Z')}, "").lines[3], std::string(64, 'Z'));
    EXPECT_EQ(NotesRecord::fromNotes({"", "", "", "X"}, "").documentNumber(), "");

    const auto bytes = encodeNotesRecord(n);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
              field("UNO", 70) + field("DOS", 70) + field("TRES", 70) + field(n.lines[3], 70));
    EXPECT_EQ(decodeNotesRecord(bytes.data()), n);
}

TEST(Archive, EntryTextIsNamePaddedTo38AndFiveDigits) {
    EXPECT_EQ(makeEntryText("ROSSI MARIO", 1), "ROSSI MARIO" + std::string(27, ' ') + "00001");
    const std::string name38(38, 'N');
    EXPECT_EQ(makeEntryText(name38, 12345), name38 + "12345");
    EXPECT_EQ(makeEntryText(name38 + "XYZ", 7).size(), 43u);

    EXPECT_EQ(entryRecordNumber(makeEntryText("A", 42)), 42);
    EXPECT_FALSE(entryRecordNumber("ROSSI MARIO                           0000x"));
    EXPECT_FALSE(entryRecordNumber("1234"));
    EXPECT_EQ(entryName(makeEntryText("ROSSI MARIO", 1)), "ROSSI MARIO");
}

// Saves the way the save operation does: record first, then the index entry.
int add(Archive& a, const std::string& name) {
    BirthRecord r = sampleRecord();
    const int m = a.appendRecord(r);
    return a.insertEntry(makeEntryText(name, m));
}

TEST(Archive, InsertionKeepsTheIndexInByteOrder) {
    TempDir dir;
    DataRoot root(dir.path());
    ensureBaseArchive(root);
    Archive base(root, "BASE");

    EXPECT_EQ(add(base, "ROSSI MARIO"), 1);
    EXPECT_EQ(add(base, "BIANCHI ANNA"), 1);
    EXPECT_EQ(base.readEntry(0), kIndexHeaderText);
    EXPECT_EQ(base.readEntry(1), makeEntryText("BIANCHI ANNA", 2));
    EXPECT_EQ(base.readEntry(2), makeEntryText("ROSSI MARIO", 1));

    // Equal names are ordered by record number; a later one lands after the earlier.
    EXPECT_EQ(add(base, "ROSSI MARIO"), 3);
    EXPECT_EQ(add(base, "VERDI LUCA"), 4);
    EXPECT_EQ(add(base, "AAA"), 1);
    const auto entries = base.readAllEntries();
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_EQ(entries[3], makeEntryText("ROSSI MARIO", 1));
    EXPECT_EQ(entries[4], makeEntryText("ROSSI MARIO", 3));
    for (std::size_t k = 2; k < entries.size(); ++k) EXPECT_LT(entries[k - 1], entries[k]);
    EXPECT_EQ(base.count(), 5);
    EXPECT_EQ(base.birthRecordCount(), 6);
}

TEST(Archive, InsertionPassRunsOverEveryPairDownToRecord2) {
    // An index put out of order by hand: one pass swaps every neighbour pair it finds out
    // of order on its way down, the new key's included, and reports where the key rests.
    std::vector<std::string> entries = {"0 header", "M", "C", "X", "D"};
    EXPECT_EQ(insertionPass(entries), 3);
    EXPECT_EQ(entries, (std::vector<std::string>{"0 header", "C", "M", "D", "X"}));

    std::vector<std::string> alone = {"0 header", "K"};
    EXPECT_EQ(insertionPass(alone), 1);
    std::vector<std::string> last = {"0 header", "A", "B", "Z"};
    EXPECT_EQ(insertionPass(last), 3);
}

// The save's insertion works on the index file's bytes; it must leave exactly what the pass
// over decoded entries gives, ties and an index out of order included.
TEST(Archive, InsertingIntoTheFileDoesWhatTheInsertionPassDoes) {
    const std::vector<std::vector<std::string>> indexes = {
        {"0 header"},
        {"0 header", "M", "C", "X", "D"},
        {"0 header", "B", "B", "B"},
        {"0 header", "A", "C", "E", "G"},
    };
    for (const auto& start : indexes) {
        for (const std::string added : {"B", "A", "Z", "0", "C"}) {
            TempDir dir;
            Archive base(DataRoot(dir.path()), "BASE");
            base.create();
            std::string bytes;
            for (const auto& e : start) {
                const auto r = encodeIndexEntry(e);
                bytes.append(reinterpret_cast<const char*>(r.data()), r.size());
            }
            writeFileAtomically(base.indexPath(), bytes);
            std::vector<std::string> expected = start;
            expected.push_back(added);
            const int position = insertionPass(expected);
            EXPECT_EQ(base.insertEntry(added), position) << added;
            EXPECT_EQ(base.readAllEntries(), expected) << added;
        }
    }
}

TEST(Archive, FindNearLandsOnTheLastEntryBelowTheKey) {
    TempDir dir;
    DataRoot root(dir.path());
    ensureBaseArchive(root);
    Archive base(root, "BASE");
    for (const char* n : {"BIANCHI ANNA", "ROSSI", "ROSSI MARIO", "ROSSINI GINO", "VERDI LUCA", "ZETA"}) add(base, n);
    // positions: 1 BIANCHI ANNA, 2 ROSSI, 3 ROSSI MARIO, 4 ROSSINI GINO, 5 VERDI LUCA, 6 ZETA
    struct Case {
        const char* prefix;
        int position;
    } cases[] = {
        {"ROSSI", 3},                                 // "ROSSI MARIO" goes on with a blank, which sorts below "!"
        {"ROSSI M", 2},                               // before the names that continue the prefix
        {"ROSSIN", 3},  {"VERDI LUCA", 5}, {"A", 1},  // below every entry
        {"ZZZ", 5},                                   // the bisection never reaches the last entry
        {"", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(base.findNear(c.prefix), c.position) << c.prefix;

    Archive empty(root, "BASE");
    TempDir dir2;
    DataRoot root2(dir2.path());
    ensureBaseArchive(root2);
    EXPECT_EQ(Archive(root2, "BASE").findNear("X"), 0);
}

// The browser's archive keeps the index between searches; whoever changes the file, and
// however, the next search sees the change.
TEST(Archive, SearchesSeeTheIndexAsItIsNow) {
    TempDir dir;
    DataRoot root(dir.path());
    ensureBaseArchive(root);
    const Archive browser(root, "BASE");
    Archive other(root, "BASE");
    add(other, "BIANCHI ANNA");
    add(other, "VERDI LUCA");
    EXPECT_EQ(browser.firstStartingWith("ROSSI"), 0);
    EXPECT_EQ(browser.findNear("VERDI"), 1);

    add(other, "ROSSI MARIO");  // the index replaced whole
    EXPECT_EQ(browser.firstStartingWith("ROSSI"), 2);
    EXPECT_EQ(browser.findNear("VERDI"), 2);

    other.writeEntry(2, makeEntryText("ROSSO MARIO", 3));  // the same size, written in place
    EXPECT_EQ(browser.firstStartingWith("ROSSI"), 0);
    EXPECT_EQ(browser.firstStartingWith("ROSSO"), 2);

    std::filesystem::remove(other.indexPath());
    EXPECT_THROW(browser.findNear("VERDI"), FileError);
    EXPECT_THROW(browser.firstStartingWith("ROSSO"), FileError);
}

TEST(Archive, RemovingAnEntryLeavesRecordsAndNotesAlone) {
    TempDir dir;
    DataRoot root(dir.path());
    ensureBaseArchive(root);
    Archive base(root, "BASE");
    add(base, "BIANCHI ANNA");
    add(base, "ROSSI MARIO");
    base.appendNotes(NotesRecord::fromNotes({"A", "", "", ""}, ""));
    const auto st2 = std::filesystem::file_size(base.birthPath());
    const auto st3 = std::filesystem::file_size(base.notesPath());

    base.removeEntry(1);
    EXPECT_EQ(base.count(), 1);
    EXPECT_EQ(base.readEntry(1), makeEntryText("ROSSI MARIO", 2));
    EXPECT_EQ(std::filesystem::file_size(base.birthPath()), st2);
    EXPECT_EQ(std::filesystem::file_size(base.notesPath()), st3);

    base.removeEntry(1);
    EXPECT_EQ(base.count(), 0);
    EXPECT_EQ(base.readEntry(0), kIndexHeaderText);
    EXPECT_THROW(base.removeEntry(1), FileError);  // the header never goes
}

TEST(Archive, DamagedFilesGiveClampedValuesOrClearErrors) {
    TempDir dir;
    DataRoot root(dir.path());
    // Record 0, one entry whose length byte says 200, and a short trailing record.
    std::string st1 = field("0 Registro vuoto......................00000", 43);
    std::string bad(44, 'A');
    bad[0] = static_cast<char>(200);
    st1 += bad;
    st1 += std::string(20, 'B');
    dir.write("DAMA.ST1", st1);
    dir.write("DAMA.ST2", std::string(385 + 100, ' '));  // one whole record and a piece

    Archive a(root, "DAMA");
    EXPECT_EQ(a.count(), 1);
    EXPECT_EQ(a.readEntry(1), std::string(43, 'A'));
    EXPECT_FALSE(entryRecordNumber(a.readEntry(1)));
    EXPECT_EQ(a.birthRecordCount(), 1);
    EXPECT_THROW(a.readRecord(1), FileError);
    EXPECT_THROW(a.readEntry(7), FileError);
    EXPECT_THROW(a.readNotes(0), FileError);  // no .ST3
    EXPECT_FALSE(a.hasNotesFile());
    EXPECT_EQ(a.findNear("A"), 1);

    // Inserting into it drops the trailing piece and keeps the rest.
    a.insertEntry(makeEntryText("B", 1));
    EXPECT_EQ(std::filesystem::file_size(a.indexPath()), 3u * 44);
    EXPECT_THROW(Archive(root, "NONE").count(), FileError);
}

TEST(Archive, TextNumbersComeFromTheCounterAndSkipExistingDocuments) {
    TempDir dir;
    DataRoot root(dir.path());
    ensureBaseArchive(root);
    Archive base(root, "BASE");
    EXPECT_EQ(base.nextTextNumber(), "00001");
    EXPECT_EQ(TempDir::read(dir / "BASEtxt" / "FlagTxt.set"), "2\r\n");
    EXPECT_EQ(base.nextTextNumber(), "00002");
    EXPECT_EQ(base.textDocument("00002"), "BASEtxt\\00002.txt");

    // A counter set back by a restore must not hand out a document that exists.
    dir.write("BASEtxt/FlagTxt.set", "1\r\n");
    dir.write("BASEtxt/00001.txt", "ROSSI\r\n");
    dir.write("BASEtxt/00002.Txt", "BIANCHI\r\n");
    EXPECT_EQ(base.nextTextNumber(), "00003");
    EXPECT_EQ(TempDir::read(dir / "BASEtxt" / "FlagTxt.set"), "4\r\n");

    // An unreadable counter starts again from 1, still passing over the documents.
    dir.write("BASEtxt/FlagTxt.set", "garbage\r\n");
    EXPECT_EQ(base.nextTextNumber(), "00003");
}

TEST(Archive, ListsEveryIndexFileUpperCasedWithCaptions) {
    TempDir dir;
    DataRoot root(dir.path());
    for (const char* f : {"BASE.ST1", "tmpr.st1", "Rice.St1", "ABCD.ST1", "LONGER.ST1", "BANK.ST2", "X.ST1"})
        dir.write(f, "");
    std::filesystem::create_directories(dir / "DIRS.ST1");
    EXPECT_EQ(listArchives(root), (std::vector<std::string>{"ABCD", "BASE", "RICE", "TMPR"}));
    EXPECT_EQ(archiveCaption("BASE"), "BASE (personale)");
    EXPECT_EQ(archiveCaption("TMPR"), "TMPR (temporaneo)");
    EXPECT_EQ(archiveCaption("RICE"), "RICE (speciale)");
    EXPECT_EQ(archiveCaption("BANK"), "BANK (banca dati)");
    EXPECT_EQ(archiveCaption("ABCD"), "ABCD");
    EXPECT_THROW(Archive(root, "../x"), std::invalid_argument);
    EXPECT_THROW(Archive(root, "BAS"), std::invalid_argument);
}

}  // namespace
}  // namespace athanor

namespace athanor {
namespace {

TEST(ArchiveScale, AFullArchiveTakesOneMoreInOrderWithRecordZeroKept) {
    TempDir dir;
    Archive a(DataRoot(dir.path()), "GRAN");
    a.create();
    const std::string recordZero = slurp(a.indexPath());
    // 99,998 subjects written in one piece, every other name left out for the inserts below.
    std::string bytes = recordZero;
    for (int i = 0; i < 99998; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "NOMBRE%06d", 2 * i);
        const auto rec = encodeIndexEntry(makeEntryText(name, i + 1));
        bytes.append(reinterpret_cast<const char*>(rec.data()), rec.size());
    }
    dir.write("GRAN.ST1", bytes);

    EXPECT_EQ(a.insertEntry(makeEntryText("NOMBRE100001", 99999)), 50002);  // after NOMBRE100000
    ASSERT_EQ(a.count(), 99999);
    const std::string after = slurp(a.indexPath());
    EXPECT_EQ(after.substr(0, recordZero.size()), recordZero);
    EXPECT_EQ(a.readEntry(50002), makeEntryText("NOMBRE100001", 99999));
    std::string previous;
    for (int k = 1; k <= a.count(); k += 997) {
        const std::string e = a.readEntry(k);
        EXPECT_LE(previous, e) << k;
        previous = e;
    }
    EXPECT_EQ(a.readEntry(99999), makeEntryText("NOMBRE199994", 99998));
}

}  // namespace
}  // namespace athanor

namespace athanor {
namespace {

// An index restored from another copy than its records: entries naming records that are not
// there, or a record twice, are found, and the repair drops exactly them, keeping a copy.
TEST(Archive, AnIndexThatDoesNotMatchItsRecordsIsFoundAndRepairedWithACopy) {
    test::TempDir dir;
    Archive base(DataRoot(dir.path()), "BASE");
    base.create();
    for (int k = 0; k < 3; ++k) base.appendRecord(BirthRecord::blank());  // records 1..3
    std::string index;
    for (const std::string& e :
         {std::string(kIndexHeaderText), makeEntryText("ALFA", 1), makeEntryText("BETA", 7), makeEntryText("GAMMA", 2),
          makeEntryText("GAMMA BIS", 2), std::string("DELTA SIN NUMERO"), makeEntryText("OMEGA", 3)}) {
        const auto r = encodeIndexEntry(e);
        index.append(reinterpret_cast<const char*>(r.data()), r.size());
    }
    writeFileAtomically(base.indexPath(), index);

    const IndexMismatch m = findIndexMismatch(base);
    EXPECT_EQ(m.dangling, (std::vector<int>{2, 5}));
    EXPECT_EQ(m.duplicates, (std::vector<int>{4}));
    const std::string copy = repairIndex(base);
    EXPECT_EQ(base.readAllEntries(), (std::vector<std::string>{std::string(kIndexHeaderText), makeEntryText("ALFA", 1),
                                                               makeEntryText("GAMMA", 2), makeEntryText("OMEGA", 3)}));
    EXPECT_EQ(test::TempDir::read(dir / copy), index);
    EXPECT_TRUE(copy.starts_with("BASE.ST1.copia-")) << copy;
    EXPECT_FALSE(findIndexMismatch(base).any());
    EXPECT_FALSE(m.indexCut || m.recordsCut);

    namespace fs = std::filesystem;
    fs::resize_file(base.indexPath(), fs::file_size(base.indexPath()) - 10);
    fs::resize_file(base.birthPath(), fs::file_size(base.birthPath()) + 1);
    const IndexMismatch cut = findIndexMismatch(base);
    EXPECT_TRUE(cut.indexCut);
    EXPECT_TRUE(cut.recordsCut);
    EXPECT_FALSE(cut.any()) << "whole entries and records still match";
}

}  // namespace
}  // namespace athanor
