#include "UiTestSupport.h"

#include "ui/shell/MainWindow.h"
#include "subjects/SubjectFiles.h"

#include <QDialog>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace athanor::test {
namespace {

class RetrievalWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::array<std::string, 4> notes = {"ALLERGIA AI POLLINI", "", "", ""};
        addSubject(folder.root(), "BASE", "ROSSI MARIO",
                   birthRecord("199003211430-1", "41N54-012E29ROMA  *RM*", "ITALIA"));
        addSubject(folder.root(), "BASE", "BIANCHI ANNA LUISA",
                   birthRecord("198512010815-1", "45N28-009E11MILANO", "ITALIA"), &notes, "00003");
        window = std::make_unique<MainWindow>(folder.root());
        window->start();
        settle();
        type(child<QLineEdit>(window.get(), "EdMainPass1"), "pivona");
        click(child<QPushButton>(window.get(), "BBok"));
    }
    void inRetrieval(std::function<void(QDialog*)> work) {
        whenModal<QDialog>([work](QDialog* d) {
            settle();
            work(d);
            if (d->isVisible()) d->reject();
        });
        click(child<QPushButton>(window.get(), "BitBtnDati"));
    }
    static void pickLine(QDialog* d, int line) {
        auto* list = child<QListWidget>(d, "ListaNomi");
        const QRect r = list->visualItemRect(list->item(line));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
    }

    ProgramFolderFixture folder;
    MessageLog messages;
    std::unique_ptr<MainWindow> window;
};

TEST_F(RetrievalWindowTest, APickedSubjectBecomesCurrentWithItsNotes) {
    inRetrieval([](QDialog* d) {
        EXPECT_EQ(child<QLineEdit>(d, "EditArchi")->text(), "BASE");
        auto* list = child<QListWidget>(d, "ListaNomi");
        ASSERT_EQ(list->count(), 2);
        EXPECT_TRUE(list->item(0)->text().startsWith("BIANCHI ANNA LUISA"));
        EXPECT_FALSE(child<QPushButton>(d, "BitBtnOK")->isEnabled());
        pickLine(d, 0);
        EXPECT_EQ(child<QLineEdit>(d, "EditNome")->text().trimmed(), "BIANCHI ANNA LUISA");
        EXPECT_EQ(child<QLineEdit>(d, "EditData")->text(), "01/12/1985 08:15");
        EXPECT_EQ(child<QLineEdit>(d, "EditCal")->text(), "GREG");
        EXPECT_EQ(child<QPlainTextEdit>(d, "MemoAnnotaz")->toPlainText().split('\n').first(), " ALLERGIA AI POLLINI");
        EXPECT_TRUE(child<QLineEdit>(d, "EditSoggetto")->text().isEmpty());
        // Three words go through all six orders and come back.
        QStringList orders;
        for (int i = 0; i < 6; ++i) {
            click(child<QPushButton>(d, "BitBtnInverti"));
            orders << child<QLineEdit>(d, "EditNome")->text();
        }
        EXPECT_EQ(orders, (QStringList{"ANNA LUISA BIANCHI", "BIANCHI LUISA ANNA", "ANNA BIANCHI LUISA",
                                       "LUISA BIANCHI ANNA", "LUISA ANNA BIANCHI", "BIANCHI ANNA LUISA"}));
        click(child<QPushButton>(d, "BitBtnInverti"));
        auto* locality = child<QLineEdit>(d, "EditLocal");
        locality->selectAll();
        type(locality, "milano centro");
        click(child<QPushButton>(d, "BitBtnOK"));
        EXPECT_FALSE(d->isVisible());
    });
    const CurrentSubject current = loadCurrent(folder.root());
    EXPECT_EQ(current.entryText, "ANNA LUISA BIANCHI");
    EXPECT_EQ(current.record.placeText, "45N28-009E11MILANO CENTRO");
    EXPECT_EQ(Archive(folder.root(), "BASE").readRecord(2).placeText, "45N28-009E11MILANO") << "the archive keeps it";
    EXPECT_EQ(folder.lines("FileDum\\StrText.dum"), (std::vector<std::string>{"BASE", "00003"}));
    EXPECT_EQ(folder.lines("FileDum\\PointGlo.dum"), (std::vector<std::string>{"00002", "BASE"}));
    EXPECT_EQ(folder.lines("FileDum\\MMDatArc.dum")[0], "BASE");
    const QString shown = child<QPlainTextEdit>(window.get(), "MemoDati")->toPlainText();
    EXPECT_TRUE(shown.startsWith("ANNA LUISA BIANCHI\nNascita 01/12/1985 08:15")) << shown.toStdString();
}

TEST_F(RetrievalWindowTest, TypingMovesTheFieldAndEnterWithoutAPickAsksForADoubleClick) {
    inRetrieval([this](QDialog* d) {
        auto* name = child<QLineEdit>(d, "EditSoggetto");
        name->setFocus(Qt::MouseFocusReason);
        type(name, "bianchi anna luisa");
        EXPECT_EQ(name->text(), "BIANCHI ANNA LUISA");
        EXPECT_EQ(stateColourName(name), "aqua") << "the search lands on the name";
        type(name, "x");
        EXPECT_EQ(stateColourName(name), "red") << "no name begins BIANCHI ANNA LUISAX";
        key(name, Qt::Key_Return);
        EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Haga doble clic en la lista Nombre"}));
    });
    EXPECT_EQ(loadCurrent(folder.root()).entryText, kIndexHeaderText) << "nothing made current";
}

TEST_F(RetrievalWindowTest, TheFirstLettersAndEnterPickTheSubjectWithItsDocument) {
    folder.dir().write("BASEtxt/00003.txt", "BIANCHI ANNA LUISA\r\n");
    inRetrieval([](QDialog* d) {
        // The search box has the focus at once: nothing typed is lost.
        auto* name = child<QLineEdit>(d, "EditSoggetto");
        EXPECT_EQ(QApplication::focusWidget(), name);
        type(QApplication::focusWidget(), "bia");
        EXPECT_EQ(stateColourName(name), "aqua") << "BIA begins BIANCHI ANNA LUISA";
        auto* list = child<QListWidget>(d, "ListaNomi");
        ASSERT_TRUE(list->currentItem());
        EXPECT_TRUE(list->currentItem()->text().startsWith("BIANCHI ANNA LUISA"));
        key(QApplication::focusWidget(), Qt::Key_Return);
        auto* loaded = child<QLineEdit>(d, "EditNome");
        EXPECT_EQ(loaded->text().trimmed(), "BIANCHI ANNA LUISA");
        EXPECT_EQ(loaded->cursorPosition(), 0) << "a long name shows its beginning";
        click(child<QPushButton>(d, "BitBtnOK"));
    });
    EXPECT_EQ(loadCurrent(folder.root()).entryText.substr(0, 18), "BIANCHI ANNA LUISA");
    EXPECT_TRUE(child<QPushButton>(window.get(), "BBApriTesto")->isVisible()) << "its document exists";
}

TEST_F(RetrievalWindowTest, AnEmptyArchiveShowsItsSingleLine) {
    Archive(folder.root(), "RICE").create();
    inRetrieval([](QDialog* d) {
        auto* archives = child<QListWidget>(d, "ListaArchivi");
        const auto found = archives->findItems("RICE (speciale)", Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        EXPECT_TRUE(archives->findItems("TMPR", Qt::MatchStartsWith).isEmpty());
        const QRect r = archives->visualItemRect(found[0]);
        QTest::mouseClick(archives->viewport(), Qt::LeftButton, {}, r.center());
        EXPECT_EQ(child<QLineEdit>(d, "EditArchi")->text(), "RICE");
        auto* list = child<QListWidget>(d, "ListaNomi");
        ASSERT_EQ(list->count(), 1);
        EXPECT_EQ(list->item(0)->text(), "ARCHIVIO VUOTO");
        EXPECT_FALSE(list->isEnabled());
    });
}

}  // namespace
}  // namespace athanor::test
