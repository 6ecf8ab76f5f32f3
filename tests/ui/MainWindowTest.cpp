#include "UiTestSupport.h"

#include "foundations/Calendar.h"
#include "app/AccessCodes.h"
#include "app/Login.h"
#include "ui/shell/MainWindow.h"
#include "subjects/ArchiveRecords.h"
#include "subjects/SubjectFiles.h"

#include <QComboBox>
#include <QDialog>
#include <QDate>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace athanor::test {
namespace {

std::string todayDayNumber() {
    const QDate d = QDate::currentDate();
    return dayNumberText(julianDayFromCivil(1, 0, 0, d.year(), d.month(), d.day()).jd);
}

class MainWindowTest : public ::testing::Test {
protected:
    void open() {
        window = std::make_unique<MainWindow>(folder.root());
        window->start();
        settle();
    }
    void login(const QString& password = "pivona") {
        auto* field = child<QLineEdit>(window.get(), "EdMainPass1");
        type(field, password);
        click(child<QPushButton>(window.get(), "BBok"));
    }
    bool visible(const char* name) { return child<QWidget>(window.get(), name)->isVisible(); }

    ProgramFolderFixture folder;
    MessageLog messages;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, FirstStartShowsThePasswordPanelAndLoginRecordsTheUsage) {
    open();
    EXPECT_TRUE(folder.root().exists("BASE.ST1"));
    EXPECT_TRUE(visible("PanelPass"));
    EXPECT_TRUE(visible("LabPivona"));
    for (const char* hidden : {"PageControl1", "Panel9", "BitBtnNomeCognome", "BBistruz", "BBdispensa", "EdAggiorna"}) {
        EXPECT_FALSE(visible(hidden)) << hidden;
    }
    auto* ok = child<QPushButton>(window.get(), "BBok");
    type(child<QLineEdit>(window.get(), "EdMainPass1"), "pivon");
    EXPECT_FALSE(ok->isEnabled()) << "one character short";
    EXPECT_EQ(child<QLabel>(window.get(), "PanMainPass")->text(), "*****");
    type(child<QLineEdit>(window.get(), "EdMainPass1"), "a");
    click(ok);

    EXPECT_TRUE(window->workstation().loggedIn);
    for (const char* shown : {"PageControl1", "Panel9", "BitBtnNomeCognome", "BBistruz", "BBdispensa", "EdAggiorna"}) {
        EXPECT_TRUE(visible(shown)) << shown;
    }
    EXPECT_EQ(folder.lines("OpzioneT\\Sole.tm1"), (std::vector<std::string>{"2451545", todayDayNumber(), "2"}));
    EXPECT_EQ(folder.lines("OpzioneT\\Luna.tm1"), (std::vector<std::string>{todayDayNumber()}));
    auto* dates = child<QComboBox>(window.get(), "Cbox1");
    ASSERT_EQ(dates->count(), 1);
    EXPECT_EQ(dates->itemText(0), QDate::currentDate().toString("dd/MM/yyyy"));
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(MainWindowTest, AWrongPasswordClearsTheFieldsWithoutAMessage) {
    open();
    login("pivonb");
    EXPECT_FALSE(window->workstation().loggedIn);
    EXPECT_TRUE(child<QLineEdit>(window.get(), "EdMainPass1")->text().isEmpty());
    EXPECT_FALSE(child<QPushButton>(window.get(), "BBok")->isEnabled());
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_FALSE(folder.root().exists("OpzioneT\\Sole.tm1"));
    login("pivona");
    EXPECT_TRUE(window->workstation().loggedIn) << "the typed password was forgotten, not kept";
}

TEST_F(MainWindowTest, ThreeLoginsCountFourAndListThreeDays) {
    for (int i = 0; i < 3; ++i) {
        open();
        login();
        window.reset();
    }
    EXPECT_EQ(folder.lines("OpzioneT\\Sole.tm1")[2], "4");
    EXPECT_EQ(folder.lines("OpzioneT\\Luna.tm1").size(), 3u);
}

TEST_F(MainWindowTest, AStoredPasswordOtherThanTheInitialOneHidesTheHint) {
    folder.dir().write("Appoggio/Appoggio1.txt", "segret\r\n");
    open();
    EXPECT_FALSE(visible("LabPivona"));
    login("pivona");
    EXPECT_FALSE(window->workstation().loggedIn);
    login("segret");
    EXPECT_TRUE(window->workstation().loggedIn);
}

struct CodeCase {
    const char* typed;
    bool loggedIn;
    bool maintenance;
    bool corvell;
};

TEST_F(MainWindowTest, TheCodesShowWhatTheyMust) {
    const CodeCase cases[] = {
        {"#crogiolosal", true, true, false},
        {"merlodaro", true, true, false},
        {"veltrigan", true, false, true},
        {"xyz", false, false, false},
    };
    for (const CodeCase& c : cases) {
        SCOPED_TRACE(c.typed);
        open();
        click(child<QAbstractButton>(window.get(), "SBpass"));
        auto* code = child<QLineEdit>(window.get(), "EdPass");
        ASSERT_TRUE(code->isVisible());
        type(code, c.typed);
        EXPECT_EQ(window->workstation().loggedIn, c.loggedIn);
        EXPECT_EQ(visible("PageControl1"), c.loggedIn);
        EXPECT_EQ(visible("Cbox1"), c.maintenance);
        EXPECT_EQ(window->workstation().maintenanceMode, c.maintenance);
        EXPECT_EQ(window->workstation().corvellMode, c.corvell);
        EXPECT_EQ(code->isVisible(), !c.loggedIn) << "a code that logs in hides the field";
        if (!c.loggedIn) {
            EXPECT_EQ(code->text(), QString(static_cast<int>(std::strlen(c.typed)), '*'));
        }
        auto* pages = child<QTabWidget>(window.get(), "PageControl1");
        pages->setCurrentIndex(1);
        EXPECT_EQ(child<QWidget>(window.get(), "Bcorv1")->isVisible(), c.corvell);
        pages->setCurrentIndex(2);
        EXPECT_EQ(child<QWidget>(window.get(), "BButility")->isVisible(), c.maintenance);
        window.reset();
    }
}

TEST_F(MainWindowTest, TheResetCodeMakesTheInitialPasswordValidAtOnce) {
    folder.dir().write("Appoggio/Appoggio1.txt", "segret\r\n");
    open();
    click(child<QAbstractButton>(window.get(), "SBpass"));
    type(child<QLineEdit>(window.get(), "EdPass"), "Pivona");
    EXPECT_EQ(child<QLineEdit>(window.get(), "EdPass")->text(), "OK");
    EXPECT_EQ(folder.lines("Appoggio\\Appoggio1.txt"), (std::vector<std::string>{"pivona"}));
    login("pivona");
    EXPECT_TRUE(window->workstation().loggedIn);
}

TEST_F(MainWindowTest, ChangingThePassword) {
    open();
    auto* newPass = child<QLineEdit>(window.get(), "EdNewPass");
    EXPECT_EQ(newPass->echoMode(), QLineEdit::Password) << "what is typed is not shown";
    auto* save = child<QPushButton>(window.get(), "BBokRegi");
    type(newPass, "a");
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"ANTES Introduzca la contrase\xC3\xB1"
                                                          "a actual!"}));
    EXPECT_EQ(stateColourName(newPass), "red");
    EXPECT_TRUE(newPass->text().isEmpty());
    messages.clear();

    type(child<QLineEdit>(window.get(), "EdMainPass1"), "pivonx");
    type(newPass, "n");
    EXPECT_EQ(stateColourName(newPass), "white") << "the current password is wrong";
    EXPECT_FALSE(save->isEnabled());

    QTest::mouseDClick(child<QLineEdit>(window.get(), "EdMainPass1"), Qt::LeftButton);
    type(child<QLineEdit>(window.get(), "EdMainPass1"), "pivona");
    type(newPass, "abc12");
    EXPECT_EQ(stateColourName(newPass), "aqua");
    ASSERT_TRUE(save->isEnabled());
    click(save);
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Sea necesario 6 caracteres"}));
    EXPECT_EQ(folder.lines("Appoggio\\Appoggio1.txt"), (std::vector<std::string>{"pivona"}));

    type(newPass, "3");
    click(save);
    EXPECT_EQ(folder.lines("Appoggio\\Appoggio1.txt"), (std::vector<std::string>{"abc123"}));
    EXPECT_EQ(save->text(), "Ok Fatto!");
    EXPECT_FALSE(save->isEnabled());
    window.reset();

    open();
    login("pivona");
    EXPECT_FALSE(window->workstation().loggedIn);
    login("abc123");
    EXPECT_TRUE(window->workstation().loggedIn);
}

// ---- chart options ------------------------------------------------------------------

TEST_F(MainWindowTest, TheLockOpensAndShutsTheChartOptions) {
    open();
    login();
    auto* orb = child<QComboBox>(window.get(), "ComboOrb");
    auto* node = child<QComboBox>(window.get(), "ComboNodo");
    EXPECT_FALSE(orb->isEnabled());
    EXPECT_EQ(orb->currentText(), "A (normali)");
    EXPECT_EQ(child<QWidget>(window.get(), "BBlk")->property("glyph").toString(), "LockShut");
    click(child<QAbstractButton>(window.get(), "BBlk"));
    EXPECT_TRUE(orb->isEnabled());
    EXPECT_TRUE(node->isEnabled());
    EXPECT_EQ(stateColourName(orb), "aqua");
    EXPECT_EQ(child<QWidget>(window.get(), "BBlk")->property("glyph").toString(), "LockOpen");
    click(child<QAbstractButton>(window.get(), "BBlk"));
    EXPECT_FALSE(node->isEnabled());
    EXPECT_EQ(stateColourName(node), "grey");
}

TEST_F(MainWindowTest, SwitchingTheOrbSetWritesTheSettingsFileWhenIdle) {
    open();
    login();
    click(child<QAbstractButton>(window.get(), "BBlk"));
    auto* orb = child<QComboBox>(window.get(), "ComboOrb");
    orb->setCurrentIndex(1);
    EXPECT_EQ(folder.lines("FileSet\\OrbiDomi.Stt")[18], "A") << "applied only when the application is idle";
    settle();
    auto lines = folder.lines("FileSet\\OrbiDomi.Stt");
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines[18], "B");
    EXPECT_EQ(lines[16], "CASE_MEDIE") << "the house system held after the subject's chart";
    EXPECT_EQ(parseRealOr(lines[0], -1), 10) << "conjunction of set B";
    EXPECT_EQ(parseRealOr(lines[2], -1), 0.5L) << "decile of set B";
    EXPECT_EQ(folder.lines("FileDum\\MMVarOrb.dum")[48], "B");
    EXPECT_EQ(window->workstation().orbs.OrbSetLetter, "B");
    EXPECT_EQ(window->workstation().orbs.AspectOrb[aspect::Trine], 4);

    orb->setCurrentText("Z (nessuno)");
    settle();
    EXPECT_EQ(orb->currentText(), "A (normali)");
    EXPECT_EQ(folder.lines("FileSet\\OrbiDomi.Stt")[18], "A");
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(MainWindowTest, NodeTypeChangesReachLine18) {
    open();
    login();
    click(child<QAbstractButton>(window.get(), "BBlk"));
    auto* node = child<QComboBox>(window.get(), "ComboNodo");
    node->setCurrentText("MEDIO");
    settle();
    EXPECT_EQ(folder.lines("FileSet\\OrbiDomi.Stt")[17], "MEDIO");
    EXPECT_EQ(window->workstation().chart.NodeKind, "MEDIO");

    QTest::mouseDClick(node->lineEdit(), Qt::LeftButton);
    settle();
    EXPECT_EQ(node->currentText(), "VERO");
    EXPECT_EQ(folder.lines("FileSet\\OrbiDomi.Stt")[17], "VERO");

    node->setCurrentText("FALSO");
    settle();
    EXPECT_EQ(node->currentText(), "MEDIO");
    EXPECT_EQ(folder.lines("FileSet\\OrbiDomi.Stt")[17], "MEDIO");

    // After a restart the combos show what is in force.
    auto* orbs = child<QComboBox>(window.get(), "ComboOrb");
    orbs->setCurrentIndex(1);
    settle();
    const QString orbSet = orbs->currentText();
    window.reset();
    open();
    login();
    EXPECT_EQ(child<QComboBox>(window.get(), "ComboNodo")->currentText(), "MEDIO");
    EXPECT_EQ(child<QComboBox>(window.get(), "ComboOrb")->currentText(), orbSet);
    EXPECT_EQ(window->workstation().chart.NodeKind, "MEDIO");
}

TEST_F(MainWindowTest, AMissingOrbSetsFileIsReported) {
    open();
    login();
    std::filesystem::remove(folder.path("FileDum\\MMVarOrb.dum"));
    click(child<QAbstractButton>(window.get(), "BBlk"));
    child<QComboBox>(window.get(), "ComboOrb")->setCurrentIndex(2);
    settle();
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[0].second, "Manca File \"MMVarOrb.dum\"");
    EXPECT_NE(messages.messages[1].second.find("MMVarOrb.dum"), std::string::npos) << "then the file error";
}

// ---- settings at activation -----------------------------------------------------------

TEST_F(MainWindowTest, ActivationCreatesTheSettingsAndResetsTheOldBackupLine) {
    open();
    EXPECT_EQ(
        folder.text("FileSet\\MMVarLas.stt"),
        "1\r\n0\r\n0\r\n1\r\n 1.00000000000000E+0000\r\n\r\n 1.00000000000000E+0000\r\n 1.00000000000000E+0000\r\n");
    window.reset();
    folder.dir().write("FileSet/MMVarLas.stt", "1\r\n1\r\n0\r\n0\r\n0\r\nC:\\Or6Backup\\Vecchio\r\n0.8\r\n1.2\r\n");
    open();
    EXPECT_EQ(folder.lines("FileSet\\MMVarLas.stt")[5], "Da definire");
    const GeneralSettings& s = window->workstation().settings;
    EXPECT_EQ(s.printerType, 1);
    EXPECT_EQ(s.calendarRule, 0);
    EXPECT_EQ(s.lineFactor, 1) << "a factor stored as 0";
    EXPECT_EQ(s.scaleX, 0.8L);
    EXPECT_EQ(s.backupFolder, "Da definire");
}

// ---- the current subject ----------------------------------------------------------------

BirthRecord romeSubject() {
    BirthRecord r = BirthRecord::blank();
    r.birthStamp = "199003211430-1";
    r.placeText = "41N54-012E29ROMA  *RM*";
    r.calendarCode = "GR";
    r.country = "ITALIA";
    r.notesNumber = "00001";
    return r;
}

TEST_F(MainWindowTest, ALostBaseIndexIsRebuiltAndSaidSo) {
    Archive base(folder.root(), "BASE");
    base.create();
    base.appendRecord(BirthRecord::blank());
    base.appendRecord(BirthRecord::blank());
    std::filesystem::remove(base.indexPath());
    open();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].first, MessageKind::Warning);
    EXPECT_NE(messages.last().find("SIN NOMBRE"), std::string::npos) << messages.last();
    EXPECT_EQ(base.count(), 2);
}

TEST_F(MainWindowTest, AnIndexThatDoesNotMatchItsRecordsIsOfferedACleanUp) {
    Archive base(folder.root(), "BASE");
    base.create();
    base.appendRecord(BirthRecord::blank());
    base.insertEntry(makeEntryText("ROSSI MARIO", 1));
    base.insertEntry(makeEntryText("VERDI ANNA", 9));  // a record this file does not have
    const auto before = std::filesystem::file_size(base.indexPath());

    messages.setAnswer(false);  // "No" leaves everything as it was
    open();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].first, MessageKind::Question);
    EXPECT_NE(messages.last().find("1 sujeto apunta a un registro que no existe"), std::string::npos) << messages.last();
    EXPECT_EQ(std::filesystem::file_size(base.indexPath()), before);

    window.reset();
    messages.clear();
    messages.setAnswer(true);
    open();
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[1].first, MessageKind::Information);
    EXPECT_EQ(base.readAllEntries(),
              (std::vector<std::string>{std::string(kIndexHeaderText), makeEntryText("ROSSI MARIO", 1)}));
    window->activate();  // asked once per start, not at every activation
    EXPECT_EQ(messages.messages.size(), 2u);
}

TEST_F(MainWindowTest, AStoredImpossibleDateOpensWithAWarning) {
    BirthRecord r = romeSubject();
    r.birthStamp = "199002311505+5";  // saved before dates were checked
    storeCurrent(folder.root(), makeEntryText("ROSSI MARIO", 1), r);
    open();
    login();
    const QStringList lines = child<QPlainTextEdit>(window.get(), "MemoDati")->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 7);
    EXPECT_TRUE(lines[6].contains(QString::fromUtf8("no existe en su calendario"))) << lines[6].toStdString();
    EXPECT_GT(window->workstation().chart.ChartJulianDay, 2447950) << "the chart still opens";

    // A Julian 29 February exists; the same in a Gregorian record does not.
    r.birthStamp = "170002291200+0";
    r.calendarCode = "GI";
    storeCurrent(folder.root(), makeEntryText("ROSSI MARIO", 1), r);
    window->reloadSubject();
    EXPECT_EQ(child<QPlainTextEdit>(window.get(), "MemoDati")->toPlainText().split('\n').size(), 6);
}

TEST_F(MainWindowTest, TheCurrentSubjectIsShownWithItsNotesAndChart) {
    storeCurrent(folder.root(), makeEntryText("ROSSI MARIO", 1), romeSubject());
    writeNotesLine(folder.root(), " PRIMA NOTA SECONDA");
    open();
    login();
    const QStringList lines = child<QPlainTextEdit>(window.get(), "MemoDati")->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], "ROSSI MARIO");
    EXPECT_EQ(lines[1], "Nascita 21/03/1990 14:30  Correz. -1");
    EXPECT_EQ(lines[2], QString::fromUtf8("Località: ROMA (RM)"));
    EXPECT_EQ(lines[3], QString::fromUtf8("Nazionalità: ITALIA"));
    EXPECT_EQ(lines[4], "Coordinate: 41N54-012E29");
    EXPECT_EQ(lines[5], "Calendario GREGORIANO");
    EXPECT_EQ(child<QPlainTextEdit>(window.get(), "MemoAnnotaz")->toPlainText(), " PRIMA NOTA SECONDA");
    // 21 March 1990 13:30 UT: the Sun has just entered Aries.
    const ChartState& chart = window->workstation().chart;
    EXPECT_NEAR(static_cast<double>(chart.ChartJulianDay), 2447972.0625, 1e-6);
    EXPECT_EQ(chart.BodySign[body::Sun], 1);
    EXPECT_EQ(chart.HouseSystem, "CASE_MEDIE");

    auto* memo = child<QPlainTextEdit>(window.get(), "MemoDati");
    QTest::mouseClick(memo->viewport(), Qt::LeftButton);
    EXPECT_TRUE(visible("MemoAnnotaz"));
    QTest::mouseClick(child<QPlainTextEdit>(window.get(), "MemoAnnotaz")->viewport(), Qt::LeftButton);
    EXPECT_FALSE(visible("MemoAnnotaz"));
}

TEST_F(MainWindowTest, TheTextButtonFollowsTheSubjectsDocument) {
    storeCurrent(folder.root(), makeEntryText("ROSSI MARIO", 1), romeSubject());
    writeTextReference(folder.root(), {"BASE", "00007"});
    open();
    login();
    EXPECT_FALSE(visible("BBApriTesto")) << "no document yet";
    folder.dir().write("BASEtxt/00007.txt", "ROSSI MARIO\r\nRiga due\r\n");
    window->activate();
    ASSERT_TRUE(visible("BBApriTesto"));
    click(child<QPushButton>(window.get(), "BBApriTesto"));
    EXPECT_EQ(folder.lines("FileDum\\DatModif.dum"), (std::vector<std::string>{"BASEtxt\\00007.txt"}));
    auto* editor = window->findChild<QMainWindow*>("FoReMaiH");
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isVisible()) << "opened without waiting";
    EXPECT_EQ(child<QTextEdit>(editor, "Editor")->toPlainText(), "ROSSI MARIO\nRiga due");
    editor->close();
}

TEST_F(MainWindowTest, TheBackupButtonOpensTheBackupWindowAnewEachTime) {
    open();
    login();
    int opened = 0;
    for (int i = 0; i < 2; ++i) {
        whenModal<QDialog>([&](QDialog* d) {
            EXPECT_EQ(d->objectName(), "FoBakMod1");
            ++opened;
            click(child<QPushButton>(d, "BitBtnRitorna"));
        });
        click(child<QPushButton>(window.get(), "BBSalva"));
    }
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(window->findChild<QDialog*>("FoBakMod1"), nullptr) << "nothing kept between uses";
}

// ---- name, manuals, end -----------------------------------------------------------------

TEST_F(MainWindowTest, ThePractitionersName) {
    open();
    EXPECT_EQ(folder.lines("FileTmp\\Personal.Tmp"), (std::vector<std::string>{"Nome", "Cognome"}));
    window->activate();
    login();
    auto* name = child<QPushButton>(window.get(), "BitBtnNomeCognome");
    EXPECT_EQ(name->text(), "Nome Cognome") << "from the next activation on";

    const auto before = std::filesystem::last_write_time(folder.path("FileTmp\\Personal.Tmp"));
    whenModal<QDialog>([](QDialog* d) {
        EXPECT_EQ(d->objectName(), "FoNomUte");
        EXPECT_EQ(child<QLineEdit>(d, "EditNome")->text(), "Nome");
        click(child<QPushButton>(d, "BitBtnOk"));
    });
    click(name);
    EXPECT_EQ(std::filesystem::last_write_time(folder.path("FileTmp\\Personal.Tmp")), before) << "nothing changed";

    whenModal<QDialog>([](QDialog* d) {
        auto* surname = child<QLineEdit>(d, "EditCognome");
        surname->selectAll();
        type(surname, QString::fromUtf8("Ibáñez"));
        click(child<QPushButton>(d, "BitBtnOk"));
    });
    click(name);
    EXPECT_EQ(folder.lines("FileTmp\\Personal.Tmp"), (std::vector<std::string>{"Nome", "Ib\xE1\xF1"
                                                                                       "ez"}));
    EXPECT_EQ(name->text(), QString::fromUtf8("Nome Ibáñez"));

    whenModal<QDialog>([](QDialog* d) {
        type(child<QLineEdit>(d, "EditNome"), "X");
        click(child<QPushButton>(d, "BitBtnAnnulla"));
    });
    click(name);
    EXPECT_EQ(folder.lines("FileTmp\\Personal.Tmp")[0], "Nome");
}

TEST_F(MainWindowTest, TheManualsOpenWithTheDesktopViewer) {
    std::vector<std::string> opened;
    setDocumentHook([&](const std::filesystem::path& p) { opened.push_back(p.filename().string()); });
    open();
    login();
    click(child<QPushButton>(window.get(), "BBdispensa"));
    whenModal<QDialog>([](QDialog* d) { click(child<QPushButton>(d, "BitBtn1")); });
    click(child<QPushButton>(window.get(), "BBistruz"));
    whenModal<QDialog>([](QDialog* d) {
        child<QRadioButton>(d, "RB2")->setChecked(true);
        click(child<QPushButton>(d, "BitBtn1"));
    });
    click(child<QPushButton>(window.get(), "BBistruz"));
    whenModal<QDialog>([](QDialog* d) {
        EXPECT_TRUE(child<QRadioButton>(d, "RB1")->isChecked()) << "each opening starts on the summary";
        click(child<QPushButton>(d, "BitBtn2"));
    });
    click(child<QPushButton>(window.get(), "BBistruz"));
    setDocumentHook(nullptr);
    EXPECT_EQ(opened, (std::vector<std::string>{"Dispensa.pdf", "Istruzioni_J.pdf", "Istruzioni.pdf"}));

    // A manual that is not there says where it was looked for.
    openDocument(folder.dir().path() / "Ausente.pdf");
    ASSERT_FALSE(messages.texts().empty());
    EXPECT_NE(messages.last().find("Ausente.pdf"), std::string::npos) << messages.last();
}

TEST_F(MainWindowTest, DialogsArePlacedAtTheMainWindowsBottomRightCorner) {
    open();
    login();
    QRect placed;
    whenModal<QDialog>([&](QDialog* d) {
        placed = d->frameGeometry();
        d->reject();
    });
    click(child<QPushButton>(window.get(), "BBistruz"));
    const QRect main = window->frameGeometry();
    EXPECT_EQ(placed.x() + placed.width(), main.x() + main.width() + 10);
    EXPECT_EQ(placed.y() + placed.height(), main.y() + main.height() + 10);
}

TEST_F(MainWindowTest, ReleasingTheExitPictureEndsTheProgram) {
    open();
    login();
    auto* exit = child<QLabel>(window.get(), "Image9");
    QTest::mousePress(exit, Qt::LeftButton);
    EXPECT_TRUE(window->isVisible());
    QTest::mouseRelease(exit, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace athanor::test
