#include "UiTestSupport.h"

#include "app/Backup.h"
#include "app/Settings.h"
#include "app/Workstation.h"
#include "subjects/ArchiveRecords.h"
#include "ui/backup/BackupDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

namespace athanor::test {
namespace {

namespace fs = std::filesystem;

// A program folder with BASE and a document, and a "volume": a folder under a mount parent
// of our own, as a USB stick appears under /media/USER.
class BackupWindowTest : public ::testing::Test {
protected:
    BackupWindowTest() {
        folder.dir().write("BASE.ST1", std::string(kIndexRecordSize * 2, 'i'));
        folder.dir().write("BASE.ST2", std::string(kBirthRecordSize * 2, 'b'));
        folder.dir().write("BASE.ST3", std::string(kNotesRecordSize * 2, 'n'));
        folder.dir().write("BASEtxt/00001.txt", "ROSSI MARIO\r\n");
        ws.settings.backupFolder = "?:\\OrdalisBck";
        saveSettings(folder.root(), ws.settings);
        fs::create_directories(media / "USB KEY");
        sources.mountTable = media / "no-mounts";
        sources.mountParents = {media};
    }

    std::unique_ptr<BackupDialog> open() {
        auto d = std::make_unique<BackupDialog>(ws, sources);
        d->show();
        return d;
    }

    static void waitIdle(BackupDialog* d) {
        ASSERT_TRUE(QTest::qWaitFor([d] { return !d->busy(); }, 20000));
        settle();
    }

    void choose(BackupDialog* d, const char* volume) {
        click(child<QPushButton>(d, "BBCambiaDest"));
        auto* list = child<QListWidget>(d, "DriveComboBox1");
        EXPECT_TRUE(child<QWidget>(d, "Panel3")->isVisible());
        EXPECT_FALSE(child<QWidget>(d, "Panel1")->isVisible());
        const auto found = list->findItems(QString::fromLatin1(volume), Qt::MatchStartsWith);
        ASSERT_EQ(found.size(), 1);
        emit list->itemClicked(found[0]);
        EXPECT_TRUE(child<QWidget>(d, "Panel1")->isVisible());
    }

    ProgramFolderFixture folder;
    Workstation ws{folder.root()};
    TempDir volumes;
    fs::path media = volumes.path() / "media";
    VolumeSources sources;
    MessageLog messages;
};

TEST_F(BackupWindowTest, WithoutADestinationNothingIsCopied) {
    auto d = open();
    EXPECT_EQ(child<QLineEdit>(d.get(), "EditDest")->text(), "?:\\OrdalisBck");
    EXPECT_EQ(stateColourName(child<QLineEdit>(d.get(), "EditDest")), "red");
    EXPECT_EQ(child<QLineEdit>(d.get(), "EditData")->text(), "Mai");
    EXPECT_FALSE(child<QLabel>(d.get(), "LabOkDati")->isVisible());
    click(child<QPushButton>(d.get(), "BBbackup"));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Definir la unidad de copia de seguridad"});
    EXPECT_EQ(child<QLabel>(d.get(), "LabDest")->text(), "Destinat.:");
    click(child<QPushButton>(d.get(), "BBRestore"));
    EXPECT_EQ(messages.last(), "Definir la unidad de copia de seguridad");
    EXPECT_EQ(child<QLabel>(d.get(), "LabDest")->text(), "Unidad:");
    EXPECT_FALSE(fs::exists(media / "USB KEY/OrdalisBck"));
    EXPECT_FALSE(folder.root().exists(kLastBackupFile));
}

TEST_F(BackupWindowTest, BackupChangeRestoreAndTheSafetyCopy) {
    auto d = open();
    choose(d.get(), "USB KEY");
    const fs::path backup = media / "USB KEY/OrdalisBck";
    EXPECT_EQ(child<QLineEdit>(d.get(), "EditDest")->text().toStdString(), backup.string());
    EXPECT_EQ(stateColourName(child<QLineEdit>(d.get(), "EditDest")), "aqua");
    EXPECT_EQ(folder.lines("FileSet\\MMVarLas.stt")[5], backup.string()) << "kept as a full path";

    click(child<QPushButton>(d.get(), "BBbackup"));
    waitIdle(d.get());
    EXPECT_TRUE(messages.messages.empty()) << messages.last();
    EXPECT_TRUE(child<QLabel>(d.get(), "LabOkDati")->isVisible());
    EXPECT_EQ(child<QProgressBar>(d.get(), "BarraCopia")->value(), 1000);
    EXPECT_EQ(TempDir::read(backup / "DatiBase/BASE.ST2"), folder.text("BASE.ST2"));
    EXPECT_EQ(TempDir::read(backup / "BASEtxt/00001.txt"), "ROSSI MARIO\r\n");
    const std::string date = child<QLineEdit>(d.get(), "EditData")->text().toStdString();
    EXPECT_EQ(date, folder.lines(kLastBackupFile)[0]);
    const std::string saved = folder.text("BASE.ST2");
    click(child<QPushButton>(d.get(), "BitBtnRitorna"));

    // Work goes on; then the backup is brought back, in a window opened anew.
    folder.dir().write("BASE.ST2", std::string(kBirthRecordSize * 3, 'c'));
    folder.dir().write("BASEtxt/00002.txt", "NUEVO\r\n");
    auto again = open();
    EXPECT_EQ(child<QLineEdit>(again.get(), "EditData")->text().toStdString(), date);
    EXPECT_EQ(child<QLineEdit>(again.get(), "EditDest")->text().toStdString(), backup.string())
        << "the folder of last time, its volume being there";

    // No: nothing changes.
    messages.setAnswer(false);
    click(child<QPushButton>(again.get(), "BBRestore"));
    EXPECT_EQ(messages.last(), "\xC2\xBFSUSTITUIR los datos actual con una COPIA?");
    EXPECT_EQ(child<QLabel>(again.get(), "LabDest")->text(), "Origine:");
    EXPECT_EQ(folder.text("BASE.ST2"), std::string(kBirthRecordSize * 3, 'c'));

    messages.setAnswer(true);
    messages.clear();
    click(child<QPushButton>(again.get(), "BBRestore"));
    waitIdle(again.get());
    EXPECT_EQ(folder.text("BASE.ST2"), saved) << "byte for byte";
    EXPECT_FALSE(folder.root().exists("BASEtxt\\00002.txt"));
    EXPECT_TRUE(child<QLabel>(again.get(), "LabOkDati")->isVisible());
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[1].first, MessageKind::Information);
    const std::string said = messages.messages[1].second;
    const fs::path safety = folder.path("CopiasPrevias");
    ASSERT_TRUE(fs::is_directory(safety));
    const fs::path kept = fs::directory_iterator(safety)->path();
    EXPECT_NE(said.find(kept.string()), std::string::npos) << said;
    EXPECT_EQ(TempDir::read(kept / "BASE.ST2"), std::string(kBirthRecordSize * 3, 'c'));
    EXPECT_EQ(TempDir::read(kept / "BASEtxt/00002.txt"), "NUEVO\r\n");
}

TEST_F(BackupWindowTest, ABackupThatCannotBeWrittenShowsNoOk) {
    // A destination under a regular file: refused for root too, unlike a read-only folder.
    const fs::path blocked = volumes.write("media/blocked", "a file");
    BackupDialog::setFolderHook([&] { return QString::fromStdString(blocked.string()); });
    auto d = open();
    click(child<QPushButton>(d.get(), "BBCambiaDest"));
    click(child<QPushButton>(d.get(), "BBElegirCarpeta"));
    BackupDialog::setFolderHook(nullptr);
    EXPECT_EQ(child<QLineEdit>(d.get(), "EditDest")->text().toStdString(), (blocked / "OrdalisBck").string());
    click(child<QPushButton>(d.get(), "BBbackup"));
    waitIdle(d.get());
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].first, MessageKind::Error);
    EXPECT_NE(messages.last().find("no se ha completado"), std::string::npos);
    EXPECT_FALSE(child<QLabel>(d.get(), "LabOkDati")->isVisible());
    EXPECT_EQ(child<QLineEdit>(d.get(), "EditData")->text(), "Mai");
    EXPECT_FALSE(folder.root().exists(kLastBackupFile));

    // A volume that has gone: said before anything is tried.
    fs::remove(blocked);
    messages.clear();
    click(child<QPushButton>(d.get(), "BBbackup"));
    EXPECT_EQ(messages.last(), "Unidad " + blocked.string() + " no est\xC3\xA1 disponible");
    click(child<QPushButton>(d.get(), "BBRestore"));
    EXPECT_EQ(messages.last(), "El origin " + (blocked / "OrdalisBck").string() + " no est\xC3\xA1 disponible");
}

TEST_F(BackupWindowTest, AnIncompleteBackupIsNotRestored) {
    const fs::path backup = media / "USB KEY/OrdalisBck";
    runBackup(folder.root(), backup, {1, 2, 2026});
    fs::resize_file(backup / "DatiBase/BASE.ST2", kBirthRecordSize + 100);
    folder.dir().write("BASE.ST2", "current");
    auto d = open();
    choose(d.get(), "USB KEY");
    click(child<QPushButton>(d.get(), "BBRestore"));
    ASSERT_EQ(messages.messages.size(), 1u) << "refused before the question";
    EXPECT_EQ(messages.messages[0].first, MessageKind::Error);
    EXPECT_NE(messages.last().find("no contiene registros enteros"), std::string::npos);
    EXPECT_EQ(folder.text("BASE.ST2"), "current");
    EXPECT_FALSE(folder.root().exists("CopiasPrevias"));
}

}  // namespace
}  // namespace athanor::test
