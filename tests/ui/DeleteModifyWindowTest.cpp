#include "UiTestSupport.h"

#include "ui/shell/MainWindow.h"
#include "subjects/SubjectFiles.h"

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace athanor::test {
namespace {

class ArchiveWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::array<std::string, 4> notes = {"NOTA UNO", "", "", ""};
        addSubject(folder.root(), "BASE", "ALFA ALDO", birthRecord("195001010000+0", "51N30-000W07LONDON", "UK"));
        addSubject(folder.root(), "BASE", "ROSSI MARIO", birthRecord("199003211430-1", "41N54-012E29ROMA", "ITALIA"),
                   &notes, "00004");
        addSubject(folder.root(), "BASE", "VERDI GIUSEPPE",
                   birthRecord("181310100000-1", "44N55-010E03BUSSETO", "ITALIA"));
        folder.dir().write("BASEtxt/00004.txt", "ROSSI MARIO\r\n");
        window = std::make_unique<MainWindow>(folder.root());
        window->start();
        settle();
        type(child<QLineEdit>(window.get(), "EdMainPass1"), "pivona");
        click(child<QPushButton>(window.get(), "BBok"));
    }
    void inDialog(const char* button, std::function<void(QDialog*)> work) {
        whenModal<QDialog>([work](QDialog* d) {
            settle();
            work(d);
            if (d->isVisible()) d->reject();
        });
        click(child<QPushButton>(window.get(), button));
    }
    static void pickLine(QDialog* d, int line) {
        auto* list = child<QListWidget>(d, "ListaNomi");
        ASSERT_LT(line, list->count());
        const QRect r = list->visualItemRect(list->item(line));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
    }
    static void retype(QDialog* d, const char* name, const QString& text) {
        auto* e = child<QLineEdit>(d, name);
        e->selectAll();
        type(e, text);
    }
    std::vector<std::string> names() {
        std::vector<std::string> out;
        const Archive a(folder.root(), "BASE");
        for (int k = 1; k <= a.count(); ++k) out.push_back(entryName(a.readEntry(k)));
        return out;
    }

    ProgramFolderFixture folder;
    MessageLog messages;
    std::unique_ptr<MainWindow> window;
};

TEST_F(ArchiveWindowTest, DeletingRemovesTheEntryAndTheDocumentOnly) {
    const auto birthSize = std::filesystem::file_size(folder.path("BASE.ST2"));
    inDialog("BitBtnCancel", [this](QDialog* d) {
        EXPECT_FALSE(child<QPushButton>(d, "BitBtnElimina")->isEnabled());
        pickLine(d, 1);
        const QStringList lines = child<QPlainTextEdit>(d, "MemoSogg")->toPlainText().split('\n');
        ASSERT_GE(lines.size(), 6);
        EXPECT_EQ(lines[0].trimmed(), "ROSSI MARIO");
        EXPECT_EQ(lines[5], "Calendario: GREGORIANO");
        EXPECT_EQ(child<QPlainTextEdit>(d, "MemoAnnotaz")->toPlainText().split('\n').first(), " NOTA UNO");
        EXPECT_EQ(child<QLabel>(d, "Label10")->text(), "00004");
        // Asked first, by name; "No" keeps everything.
        messages.setAnswer(false);
        click(child<QPushButton>(d, "BitBtnElimina"));
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0].first, MessageKind::Question);
        EXPECT_NE(messages.last().find("ROSSI MARIO"), std::string::npos) << messages.last();
        EXPECT_EQ(child<QListWidget>(d, "ListaNomi")->count(), 3);
        messages.setAnswer(true);
        click(child<QPushButton>(d, "BitBtnElimina"));
        EXPECT_EQ(child<QListWidget>(d, "ListaNomi")->count(), 2);
        EXPECT_FALSE(child<QPushButton>(d, "BitBtnElimina")->isEnabled());
        EXPECT_TRUE(child<QPlainTextEdit>(d, "MemoSogg")->toPlainText().isEmpty());
    });
    EXPECT_EQ(names(), (std::vector<std::string>{"ALFA ALDO", "VERDI GIUSEPPE"}));
    EXPECT_EQ(std::filesystem::file_size(folder.path("BASE.ST2")), birthSize);
    EXPECT_FALSE(std::filesystem::exists(folder.path("BASEtxt/00004.txt")));
    EXPECT_EQ(folder.lines("FileDum\\MMordina.dum"), (std::vector<std::string>{"BASE"}));
    EXPECT_EQ(messages.messages.size(), 2u);  // the two questions
}

TEST_F(ArchiveWindowTest, DeletingEveryoneLeavesAnEmptyArchive) {
    inDialog("BitBtnCancel", [](QDialog* d) {
        for (int i = 0; i < 3; ++i) {
            pickLine(d, 0);
            click(child<QPushButton>(d, "BitBtnElimina"));
        }
    });
    inDialog("BitBtnCancel", [](QDialog* d) {
        auto* list = child<QListWidget>(d, "ListaNomi");
        ASSERT_EQ(list->count(), 1);
        EXPECT_EQ(list->item(0)->text(), "ARCHIVIO VUOTO");
    });
    EXPECT_EQ(Archive(folder.root(), "BASE").indexRecordCount(), 1);
}

TEST_F(ArchiveWindowTest, ModifyingRefusesBadDataWithItsMessages) {
    struct Case {
        const char* field;
        const char* text;
        const char* message;
    } cases[] = {
        {"EditDataNasc", "32/03/1990", "Fecha de nacimiento incorrecta o incomplete"},
        {"EditDataNasc", "31/02/1990", "Fecha de nacimiento incorrecta o incomplete"},
        {"EditDataNasc", "29/02/1900", "Fecha de nacimiento incorrecta o incomplete"},  // a Gregorian record
        {"EditOraNasc", "24:30", "Hora nacimiento incorrecta o incompleta"},
        {"EditCoordi", "41N60-012E29", "Coordenadas incorrecta o incomplete"},
        {"EditCalend", "JULIANO", "Error definición Calendar"},
        {"EditGmt", "uno", "Error en la entrada \"Corr.\" (corrección total)"},
        {"EditGmt", "13", "\"Corr\" muestra un valor imposible"},
    };
    const std::string before = folder.text("BASE.ST2");
    inDialog("BitBtn1", [&](QDialog* d) {
        pickLine(d, 1);
        ASSERT_TRUE(child<QGroupBox>(d, "GroupBoxDati")->isVisible());
        EXPECT_EQ(child<QLineEdit>(d, "EditDataNasc")->text(), "21/03/1990");
        EXPECT_EQ(child<QLineEdit>(d, "EditOraNasc")->text(), "14:30");
        EXPECT_EQ(child<QLineEdit>(d, "EditMemo1")->text(), "NOTA UNO");
        EXPECT_EQ(child<QLineEdit>(d, "EditNfile")->text(), "00004");
        for (const Case& c : cases) {
            messages.clear();
            const QString good = child<QLineEdit>(d, c.field)->text();
            retype(d, c.field, c.text);
            click(child<QPushButton>(d, "BitBtnRegistra"));
            EXPECT_EQ(messages.texts(), (std::vector<std::string>{c.message})) << c.field << " " << c.text;
            retype(d, c.field, good);
        }
        // A correction far from the longitude's mean time asks first; No stops.
        messages.clear();
        messages.setAnswer(false);
        retype(d, "EditGmt", "+5");
        click(child<QPushButton>(d, "BitBtnRegistra"));
        EXPECT_EQ(messages.texts(),
                  (std::vector<std::string>{"Possibile Incongruenza tra Longitudine e \"Corr\", Confermi i Dati?"}));
        EXPECT_TRUE(child<QPushButton>(d, "BitBtnRegistra")->isEnabled());
    });
    EXPECT_EQ(folder.text("BASE.ST2"), before) << "nothing written";
}

TEST_F(ArchiveWindowTest, ARenameMovesTheEntryAndNewNotesAreStored) {
    inDialog("BitBtn1", [&](QDialog* d) {
        pickLine(d, 2);
        EXPECT_EQ(child<QLineEdit>(d, "EditNomeSogg")->text().trimmed(), "VERDI GIUSEPPE");
        retype(d, "EditNomeSogg", "abate giuseppe");
        retype(d, "EditGmt", "-0,67");
        type(child<QLineEdit>(d, "EditMemo2"), "compositore");
        click(child<QPushButton>(d, "BitBtnRegistra"));
        EXPECT_TRUE(messages.messages.empty()) << messages.last();
        EXPECT_TRUE(child<QPushButton>(d, "BitBtnAncora")->isEnabled());
        EXPECT_FALSE(child<QPushButton>(d, "BitBtnRegistra")->isEnabled());
        click(child<QPushButton>(d, "BitBtnAncora"));
        EXPECT_TRUE(child<QGroupBox>(d, "GroupBoxElenco")->isVisible());
        EXPECT_TRUE(child<QListWidget>(d, "ListaNomi")->item(0)->text().startsWith("ABATE GIUSEPPE"));
    });
    EXPECT_EQ(names(), (std::vector<std::string>{"ABATE GIUSEPPE", "ALFA ALDO", "ROSSI MARIO"}));
    const Archive a(folder.root(), "BASE");
    const BirthRecord r = a.readRecord(3);
    EXPECT_EQ(r.birthStamp, "181310100000-0,67");
    EXPECT_NE(r.notesNumber, "00000");
    EXPECT_EQ(a.readNotes(r.notesRecord()).lines[1], "COMPOSITORE");
    EXPECT_FALSE(r.planetSummary.empty()) << "the summaries are computed again";
}

}  // namespace
}  // namespace athanor::test
