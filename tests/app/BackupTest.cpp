#include "app/Backup.h"
#include "app/Settings.h"
#include "foundations/FileError.h"
#include "foundations/TextFile.h"
#include "subjects/ArchiveRecords.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <functional>

namespace athanor::test {
namespace {

namespace fs = std::filesystem;

std::string records(std::size_t size, std::size_t count, char fill) { return std::string(size * count, fill); }

// A full volume, for root too: while the object lives, no file of this process may grow past
// `bytes`, and a write beyond fails as it would on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old_;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, handler_);
    }

private:
    rlimit old_{};
    void (*handler_)(int) = nullptr;
};

// A program folder holding BASE with two subjects and two documents, and a volume beside it.
class BackupTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("program/BASE.ST1", records(kIndexRecordSize, 3, 'i'));
        dir.write("program/BASE.ST2", records(kBirthRecordSize, 3, 'b'));
        dir.write("program/BASE.ST3", records(kNotesRecordSize, 2, 'n'));
        dir.write("program/BASEtxt/00001.txt", "ROSSI MARIO\r\nNotas\r\n");
        dir.write("program/BASEtxt/FlagTxt.set", "3\r\n");
        dir.write("program/PROV.ST1", "other archives stay out");
        fs::create_directories(volume);
    }

    std::string program(const std::string& rel) const { return TempDir::read(dir / ("program/" + rel)); }

    TempDir dir;
    DataRoot root{dir / "program"};
    fs::path volume = dir / "volume";
    fs::path folder = backupFolderOn(volume);
};

TEST_F(BackupTest, ABackupCopiesBaseItsDocumentsAndThePreviousDateAndOnlyThenDatesItself) {
    EXPECT_EQ(lastBackupDate(root), "Mai");
    std::uint64_t last = 0, total = 0;
    runBackup(root, folder, {9, 3, 2026}, [&](std::uint64_t d, std::uint64_t t) {
        EXPECT_GE(d, last);
        last = d;
        total = t;
    });
    EXPECT_EQ(folder, volume / "OrdalisBck");
    for (const char* f : {"BASE.ST1", "BASE.ST2", "BASE.ST3"}) {
        EXPECT_EQ(TempDir::read(folder / "DatiBase" / f), program(f)) << f;
    }
    EXPECT_EQ(TempDir::read(folder / "BASEtxt/00001.txt"), program("BASEtxt/00001.txt"));
    EXPECT_EQ(TempDir::read(folder / "BASEtxt/FlagTxt.set"), "3\r\n");
    EXPECT_FALSE(fs::exists(folder / "DatiBase/PROV.ST1"));
    EXPECT_FALSE(fs::exists(folder / "MMbakMod1.dum")) << "no earlier backup, no date to copy";
    EXPECT_EQ(last, total);
    EXPECT_EQ(total, 3 * kIndexRecordSize + 3 * kBirthRecordSize + 2 * kNotesRecordSize + 20 + 3);
    EXPECT_EQ(lastBackupDate(root), "09/03/2026");

    // The next backup carries the previous date along.
    runBackup(root, folder, {10, 3, 2026});
    EXPECT_EQ(TempDir::read(folder / "MMbakMod1.dum"), "09/03/2026\r\n");
    EXPECT_EQ(lastBackupDate(root), "10/03/2026");
    for (const auto& e : fs::directory_iterator(folder / "DatiBase")) {
        EXPECT_EQ(e.path().filename().string().front(), 'B') << "no temporary file left: " << e.path();
    }
}

TEST_F(BackupTest, ABackupThatCannotBeWrittenFailsAndLeavesTheDateAlone) {
    writeLines(root.resolveForWriting(kLastBackupFile), {"01/01/2026"});
    // Tests may run as root, for whom a read-only folder is writable: a "volume" that is a
    // regular file refuses every folder below it for anyone.
    const fs::path blocked = dir.write("blocked", "a file, not a volume");
    EXPECT_THROW(runBackup(root, backupFolderOn(blocked), {2, 2, 2026}), FileError);
    EXPECT_EQ(lastBackupDate(root), "01/01/2026");

    // BASE incomplete in the program folder: nothing to back up honestly.
    fs::remove(dir / "program/BASE.ST3");
    EXPECT_THROW(runBackup(root, folder, {2, 2, 2026}), FileError);
    EXPECT_EQ(lastBackupDate(root), "01/01/2026");
}

TEST_F(BackupTest, AVolumeThatFillsUpMidwayFailsTheBackup) {
    dir.write("program/BASEtxt/big.txt", std::string(200000, 'x'));
    bool failed = false;
    {
        FileSizeLimit full(100000);
        try {
            runBackup(root, folder, {3, 3, 2026});
        } catch (const FileError&) {
            failed = true;
        }
    }
    EXPECT_TRUE(failed);
    EXPECT_EQ(lastBackupDate(root), "Mai");
    EXPECT_FALSE(fs::exists(folder / "BASEtxt/big.txt")) << "no half copy under the real name";
}

TEST_F(BackupTest, ARestoreBringsTheBackupBackAndKeepsWhatItReplaced) {
    runBackup(root, folder, {9, 3, 2026});
    const std::string st2 = program("BASE.ST2");
    // Work goes on after the backup: a subject more, a document changed, one added.
    dir.write("program/BASE.ST2", records(kBirthRecordSize, 4, 'c'));
    dir.write("program/BASEtxt/00001.txt", "ROSSI MARIO\r\nCambiado\r\n");
    dir.write("program/BASEtxt/00002.txt", "NUEVO\r\n");

    EXPECT_EQ(restoreProblem(folder), "");
    const RestoreOutcome out = runRestore(root, folder, "2026-03-10_12.00.00");
    EXPECT_EQ(program("BASE.ST2"), st2) << "byte for byte";
    EXPECT_EQ(program("BASEtxt/00001.txt"), "ROSSI MARIO\r\nNotas\r\n");
    EXPECT_FALSE(fs::exists(dir / "program/BASEtxt/00002.txt"));

    EXPECT_EQ(out.safetyFolder, dir / "program/CopiasPrevias/2026-03-10_12.00.00");
    EXPECT_EQ(TempDir::read(out.safetyFolder / "BASE.ST2"), records(kBirthRecordSize, 4, 'c'));
    EXPECT_EQ(TempDir::read(out.safetyFolder / "BASEtxt/00002.txt"), "NUEVO\r\n");
    EXPECT_EQ(TempDir::read(out.safetyFolder / "BASEtxt/00001.txt"), "ROSSI MARIO\r\nCambiado\r\n");

    // A second restore in the same second gets a folder of its own.
    EXPECT_EQ(runRestore(root, folder, "2026-03-10_12.00.00").safetyFolder,
              dir / "program/CopiasPrevias/2026-03-10_12.00.00-2");
}

TEST_F(BackupTest, AnIncompleteBackupIsRefusedAndNothingChanges) {
    runBackup(root, folder, {9, 3, 2026});
    dir.write("program/BASE.ST2", "current");
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> damage;
        const char* says;
    };
    const Case cases[] = {
        {"a missing file", [](const fs::path& f) { fs::remove(f / "DatiBase/BASE.ST3"); },
         "falta el archivo DatiBase/BASE.ST3"},
        {"a cut file", [](const fs::path& f) { fs::resize_file(f / "DatiBase/BASE.ST2", kBirthRecordSize * 2 - 7); },
         "DatiBase/BASE.ST2 no contiene registros enteros"},
        {"an empty file", [](const fs::path& f) { fs::resize_file(f / "DatiBase/BASE.ST1", 0); }, "DatiBase/BASE.ST1"},
    };
    for (const auto& c : cases) {
        TempDir copy;
        const fs::path damaged = copy.path() / "OrdalisBck";
        fs::copy(folder, damaged, fs::copy_options::recursive);
        c.damage(damaged);
        EXPECT_NE(restoreProblem(damaged).find(c.says), std::string::npos) << c.what << ": " << restoreProblem(damaged);
        EXPECT_THROW(runRestore(root, damaged, "x"), FileError) << c.what;
        EXPECT_EQ(program("BASE.ST2"), "current") << c.what;
        EXPECT_FALSE(fs::exists(dir / "program/CopiasPrevias")) << c.what;
    }
}

TEST_F(BackupTest, ARestoreThatFailsMidwayPutsEverythingBack) {
    runBackup(root, folder, {9, 3, 2026});
    dir.write("program/BASE.ST2", "current");
    // The program's volume fills up at the last document, after the archive's copies.
    dir.write("volume/OrdalisBck/BASEtxt/zz.txt", std::string(200000, 'x'));
    ASSERT_EQ(restoreProblem(folder), "");
    {
        FileSizeLimit full(100000);
        EXPECT_THROW(runRestore(root, folder, "stamp"), FileError);
    }
    EXPECT_EQ(program("BASE.ST2"), "current");
    EXPECT_EQ(program("BASEtxt/00001.txt"), "ROSSI MARIO\r\nNotas\r\n");
    EXPECT_FALSE(fs::exists(dir / "program/CopiasPrevias/stamp"));
}

TEST(BackupFolderTest, TheFolderOnLineSixAndWhereItIsKept) {
    EXPECT_FALSE(chosenBackupFolder(""));
    EXPECT_FALSE(chosenBackupFolder("?:\\OrdalisBck"));
    EXPECT_FALSE(chosenBackupFolder("Da definire"));
    EXPECT_FALSE(chosenBackupFolder("E:\\OrdalisBck"));
    EXPECT_EQ(chosenBackupFolder("/media/ana/USB/OrdalisBck"), fs::path("/media/ana/USB/OrdalisBck"));
    EXPECT_EQ(chosenBackupFolder("/media/ana/Espa\xF1" "a/OrdalisBck"), fs::path("/media/ana/España/OrdalisBck"));
    EXPECT_EQ(backupFolderOn("/media/ana/USB"), fs::path("/media/ana/USB/OrdalisBck"));
    EXPECT_EQ(backupFolderOn("/media/ana/USB/OrdalisBck/"), fs::path("/media/ana/USB/OrdalisBck"));

    TempDir dir;
    DataRoot root(dir.path());
    GeneralSettings s;
    s.lineFactor = 0.75L;
    s.backupFolder = "?:\\OrdalisBck";
    saveSettings(root, s);
    storeBackupFolder(root, "/media/ana/Espa\xC3\xB1" "a/OrdalisBck");
    const auto lines = readLines(root.resolve(kGeneralSettingsFile));
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[5], "/media/ana/Espa\xF1" "a/OrdalisBck");
    GeneralSettings back;
    ASSERT_TRUE(readSettings(root, back));
    EXPECT_DOUBLE_EQ(static_cast<double>(back.lineFactor), 0.75);
}

TEST(Sha256Test, KnownDigests) {
    auto hex = [](const std::string& s) {
        Sha256 h;
        h.add(s.data(), s.size());
        std::string out;
        char b[3];
        for (auto byte : h.finish()) {
            std::snprintf(b, sizeof b, "%02x", byte);
            out += b;
        }
        return out;
    };
    EXPECT_EQ(hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
}

}  // namespace
}  // namespace athanor::test
