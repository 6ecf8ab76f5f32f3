// The signature, weakness, plants, psychic-synthesis and principles windows, driven by
// object name over the starter base and small hand-made bases.
#include "UiTestSupport.h"

#include "app/Workstation.h"
#include "foundations/Format.h"
#include "knowledge/KbFixture.h"
#include "knowledge/SignatureSearch.h"
#include "knowledge/TextSearch.h"
#include "ui/knowledge/PrinciplesDialog.h"
#include "ui/knowledge/RemedyTextDialog.h"
#include "ui/knowledge/SignatureDialog.h"
#include "ui/knowledge/WeaknessDialog.h"
#include "ui/shell/MainWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace athanor::test {
namespace {

namespace fs = std::filesystem;

// A program folder holding the starter knowledge base as it is installed.
class SignatureWindowsOnStarterBase : public ::testing::Test {
protected:
    SignatureWindowsOnStarterBase() : ws(folder.root()) {
        const fs::path data = fs::path(ATHANOR_SOURCE_DIR) / "data";
        for (const char* dir : {"OpzioneH", "OpzioneS"})
            fs::copy(data / dir, folder.dir() / dir, fs::copy_options::recursive);
        fs::copy_file(data / "Principi.txt", folder.dir() / "Principi.txt");
    }
    ProgramFolderFixture folder;
    Workstation ws;
    MessageLog messages;
};

QStringList entries(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

void clickEntry(QListWidget* list, int row) {
    ASSERT_LT(row, list->count());
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

QString row(const QWidget* w, int n) {
    QStringList out;
    for (const char* c : {"EdP", "EdD", "EdE", "EdF"})
        out << child<QLineEdit>(w, (c + std::to_string(n)).c_str())->text();
    return out.join('|');
}

QString fromRow(const SignatureRow& r) {
    return QStringList{fromCp(r.name), fromCp(r.primary), fromCp(r.secondary), fromCp(r.zodiac)}.join('|');
}

TEST_F(SignatureWindowsOnStarterBase, SignatureRowsAccumulateToFourteenThenStartAgain) {
    SignatureDialog d(ws);
    ASSERT_TRUE(d.load());
    auto* list = child<QListWidget>(&d, "ListBox2");
    ASSERT_EQ(list->count(), 146);  // record 0 holds "Errore" and never lists
    EXPECT_FALSE(entries(list).join('\n').contains("Errore"));
    EXPECT_EQ(folder.lines("FileDum\\Prdts.dum").size(), 146u);

    for (int i = 0; i < 14; ++i) clickEntry(list, i);
    for (int n = 1; n <= 14; ++n) EXPECT_EQ(row(&d, n).section('|', 0, 0), list->item(n - 1)->text()) << n;
    const auto record = firstRecordNamed(folder.root(), toCp(list->item(0)->text()));
    ASSERT_TRUE(record);
    EXPECT_EQ(row(&d, 1),
              fromRow({record->name, record->primarySignature, record->secondarySignature, record->zodiacSignature}));
    clickEntry(list, 20);  // the fifteenth starts again from row 1
    EXPECT_EQ(row(&d, 1).section('|', 0, 0), list->item(20)->text());
    EXPECT_EQ(row(&d, 2), "|||");
    // A double click on a remedy's name asks for its window.
    QStringList asked;
    d.setRemedyAction([&](const QString& name) { asked << name; });
    QTest::mouseDClick(child<QLineEdit>(&d, "EdP1"), Qt::LeftButton);
    QTest::mouseDClick(child<QLineEdit>(&d, "EdP2"), Qt::LeftButton);  // an empty row asks nothing
    EXPECT_EQ(asked, QStringList{list->item(20)->text()});
    click(child<QPushButton>(&d, "BBpulisci"));
    EXPECT_EQ(row(&d, 1), "|||");
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(SignatureWindowsOnStarterBase, SignatureSearchPagesOfFourteen) {
    SignatureDialog d(ws);
    ASSERT_TRUE(d.load());
    auto* page = child<QLineEdit>(&d, "EdPage");
    // Both criteria "Cualquier": every remedy, 146 in 11 pages, the last of 6 rows.
    click(child<QPushButton>(&d, "BBcerca"));
    EXPECT_EQ(child<QLineEdit>(&d, "EdTot")->text(), "146");
    EXPECT_EQ(page->text(), "1/11");
    EXPECT_EQ(stateColourName(page), "red");
    EXPECT_EQ(folder.lines("FileDum\\Segnat.dum").size(), 146u * 4);
    EXPECT_EQ(row(&d, 1), fromRow(signatureResultPage(folder.root(), 1)[0]));
    click(child<QPushButton>(&d, "BBAnticipo"));
    EXPECT_EQ(page->text(), "1/11");
    for (int i = 0; i < 12; ++i) click(child<QPushButton>(&d, "BBseguito"));
    EXPECT_EQ(page->text(), "11/11");
    EXPECT_EQ(stateColourName(page), "white");
    EXPECT_EQ(row(&d, 6), fromRow(signatureResultPage(folder.root(), 11)[5]));
    EXPECT_EQ(row(&d, 7), "|||");

    // Sun in Leo: the planet in either planetary signature, the sign in the zodiacal one.
    child<QRadioButton>(&d, "RBsol")->click();
    child<QRadioButton>(&d, "RBleo")->click();
    EXPECT_EQ(child<QLineEdit>(&d, "EdPianeta")->text(), "Sol");
    EXPECT_EQ(child<QLineEdit>(&d, "EdSegno")->text(), "Leo");
    click(child<QPushButton>(&d, "BBcerca"));
    const int found = child<QLineEdit>(&d, "EdTot")->text().toInt();
    ASSERT_GT(found, 0);
    for (int n = 1; n <= std::min(found, 14); ++n) {
        const QStringList cells = row(&d, n).split('|');
        EXPECT_TRUE((cells[1] + cells[2]).contains("Sol") && cells[3].contains("Leo")) << row(&d, n).toStdString();
    }
    EXPECT_FALSE(child<QLabel>(&d, "LabNessunRisultato")->isVisibleTo(&d));

    // No node is given to any plant: nothing found says so on one line.
    child<QRadioButton>(&d, "RBnon")->click();
    EXPECT_EQ(child<QLineEdit>(&d, "EdPianeta")->text(), "NodoNorte");
    click(child<QPushButton>(&d, "BBcerca"));
    EXPECT_EQ(child<QLineEdit>(&d, "EdTot")->text(), "0");
    EXPECT_EQ(row(&d, 1), "|||");
    EXPECT_TRUE(child<QLabel>(&d, "LabNessunRisultato")->isVisibleTo(&d));
    EXPECT_EQ(child<QLabel>(&d, "LabNessunRisultato")->text(), QString::fromUtf8("Ningún resultado"));

    // A remedy chosen after a search clears the result and its page box.
    clickEntry(child<QListWidget>(&d, "ListBox2"), 3);
    EXPECT_EQ(page->text(), "");
    EXPECT_EQ(child<QLineEdit>(&d, "EdTot")->text(), "");
    EXPECT_FALSE(row(&d, 1).startsWith('|'));
    EXPECT_TRUE(messages.texts().empty());
}

// A weakened Libra searches the remedies of Aries; the repertory names a remedy in capitals.
class WeaknessWindowOnSmallBase : public ::testing::Test {
protected:
    KbFolder kb{{remedy("Errore de prueba", "x", "Marte", "Aries"), remedy("Ortica", "x", "Marte", "Aries"),
                 remedy("Salvia", "x", "J\xFApiter", "Piscis"), remedy("Romero", "x", "Sol", "Leo Aries"),
                 remedy("Ruda", "x", "Venus", "Tauro", "Marte")},
                {therapy("Anemia", "Ortica"), therapy("Anemia", "ORTICA"), therapy("Anemia", "Salvia"),
                 therapy("Cansancio", "Ruda"), therapy("Gota", "Salvia"), therapy("Reuma", "ORTICA")}};
    Workstation ws{kb.root()};
    MessageLog messages;
};

TEST_F(WeaknessWindowOnSmallBase, PathologiesThenTheRemediesThatAnswerMarked) {
    WeaknessDialog d(ws);
    ASSERT_TRUE(d.load());
    QStringList asked;
    d.setRemedyAction([&](const QString& name) { asked << name; });
    child<QRadioButton>(&d, "RBmar")->click();
    auto* aries = child<QRadioButton>(&d, "RBari");
    EXPECT_EQ(aries->text(), "Libra");
    aries->click();
    EXPECT_EQ(child<QLineEdit>(&d, "EdSegno")->text(), "Libra");
    click(child<QPushButton>(&d, "BBcerca"));
    // Marte in Aries: Ortica (and the "Errore" record, which the repertory does not name);
    // "Reuma" is treated by "ORTICA" only, which the pathology step compares exactly.
    auto* pathologies = child<QListWidget>(&d, "ListBox2");
    EXPECT_EQ(entries(pathologies), QStringList{"Anemia"});
    EXPECT_EQ(child<QLineEdit>(&d, "EdTot")->text(), "1");
    clickEntry(pathologies, 0);
    auto* remedies = child<QListWidget>(&d, "ListBox3");
    EXPECT_EQ(entries(remedies), (QStringList{">>> ORTICA <<<", ">>> Ortica <<<", "Salvia"}));
    clickEntry(remedies, 0);
    QTest::mouseDClick(remedies->viewport(), Qt::LeftButton, {}, remedies->visualItemRect(remedies->item(0)).center());
    EXPECT_EQ(asked, QStringList{"ORTICA"});

    // "Cualquier" sign with Marte: Ruda's secondary signature answers too.
    child<QRadioButton>(&d, "RBNoSeg")->click();
    click(child<QPushButton>(&d, "BBcerca"));
    EXPECT_EQ(entries(pathologies), (QStringList{"Anemia", "Cansancio"}));
    EXPECT_EQ(remedies->count(), 0);

    // Nothing answers the South Node.
    child<QRadioButton>(&d, "RBnos")->click();
    click(child<QPushButton>(&d, "BBcerca"));
    EXPECT_EQ(pathologies->count(), 0);
    EXPECT_EQ(child<QLineEdit>(&d, "EdTot")->text(), "0");
    EXPECT_TRUE(child<QLabel>(&d, "LabNessunRisultato")->isVisibleTo(&d));
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(WeaknessWindowOnSmallBase, AMissingFileIsNamedAndNothingIsWritten) {
    fs::remove(kb.path("OpzioneH\\Repertorio.rnd"));
    const auto before = kb.snapshot();
    WeaknessDialog weakness(ws);
    EXPECT_FALSE(weakness.load());
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_NE(messages.last().find("Repertorio.rnd"), std::string::npos) << messages.last();

    fs::remove(kb.path("OpzioneH\\DBmain.rnd"));
    for (RemedyText field : {RemedyText::Composition, RemedyText::Synthesis}) {
        RemedyTextDialog text(ws, field);
        EXPECT_FALSE(text.load());
        EXPECT_NE(messages.last().find("DBmain.rnd"), std::string::npos) << messages.last();
    }
    SignatureDialog signatures(ws);
    EXPECT_FALSE(signatures.load());
    EXPECT_NE(messages.last().find("DBmain.rnd"), std::string::npos) << messages.last();
    EXPECT_EQ(messages.texts().size(), 4u);
    EXPECT_FALSE(fs::exists(kb.path("FileDum\\Prdts.dum")));
}

TEST_F(SignatureWindowsOnStarterBase, PlantsSearchCapitalisesTheHit) {
    RemedyTextDialog d(ws, RemedyText::Composition);
    ASSERT_TRUE(d.load());
    EXPECT_EQ(d.objectName(), "FoPiante");
    auto* box = child<QLineEdit>(&d, "EditCerca");
    type(box, "urtica");
    key(box, Qt::Key_Return);  // Enter searches
    auto* found = child<QListWidget>(&d, "ListBox3");
    ASSERT_TRUE(entries(found).contains("TSA Ortiga")) << entries(found).join(", ").toStdString();
    for (const QString& name : entries(found))
        EXPECT_NE(upperCased(remedyText(folder.root(), RemedyText::Composition, toCp(name))).find("URTICA"),
                  std::string::npos)
            << name.toStdString();
    clickEntry(found, static_cast<int>(entries(found).indexOf("TSA Ortiga")));
    EXPECT_EQ(child<QLabel>(&d, "LabelMemo")->text(), fromCp("Composici\xF3n de TSA Ortiga"));
    const QString text = child<QPlainTextEdit>(&d, "MemoNote")->toPlainText();
    EXPECT_TRUE(text.contains("URTICA dioica")) << text.toStdString();

    // A remedy of list 1: its own text, its own letter case.
    auto* list = child<QListWidget>(&d, "ListBox2");
    clickEntry(list, static_cast<int>(entries(list).indexOf("TSA Ortiga")));
    EXPECT_EQ(child<QLabel>(&d, "LabelMemo")->text(), "Ingredients of TSA Ortiga");
    EXPECT_TRUE(child<QPlainTextEdit>(&d, "MemoNote")->toPlainText().contains("Urtica dioica"));

    // Nothing found: the one entry that says so, which a click leaves alone.
    box->clear();
    type(box, "zzzz");
    click(child<QPushButton>(&d, "BBcerca"));
    EXPECT_EQ(entries(found), QStringList{fromCp("**NING\xDAN RESULTADO**")});
    clickEntry(found, 0);
    EXPECT_EQ(child<QLabel>(&d, "LabelMemo")->text(), fromCp("Composici\xF3n del Remedio"));
    EXPECT_TRUE(child<QPlainTextEdit>(&d, "MemoNote")->toPlainText().isEmpty());
    EXPECT_TRUE(messages.texts().empty());
}

TEST(SynthesisWindowOnSmallBase, FoundOnceAndAnEmptySynthesisSaysSo) {
    RemedyRecord melisa = remedy("Melisa", "x");
    melisa.setSynthesis("Calma la inquietud del coraz\xF3n");
    RemedyRecord tilo = remedy("Tilo", "x");
    KbFolder kb({melisa, melisa, tilo});
    Workstation ws(kb.root());
    MessageLog messages;
    RemedyTextDialog d(ws, RemedyText::Synthesis);
    ASSERT_TRUE(d.load());
    EXPECT_EQ(d.windowTitle(), fromCp("S\xCDNTESIS PS\xCDQUICA "));
    type(child<QLineEdit>(&d, "EditCerca"), "inquietud");
    click(child<QPushButton>(&d, "BBcerca"));
    auto* found = child<QListWidget>(&d, "ListBox3");
    EXPECT_EQ(entries(found), QStringList{"Melisa"});  // two records, one hit
    clickEntry(found, 0);
    EXPECT_EQ(child<QPlainTextEdit>(&d, "MemoNote")->toPlainText(), fromCp("Calma la INQUIETUD del coraz\xF3n"));
    auto* list = child<QListWidget>(&d, "ListBox2");
    clickEntry(list, static_cast<int>(entries(list).indexOf("Tilo")));
    EXPECT_EQ(child<QLabel>(&d, "LabelMemo")->text(), fromCp("S\xEDntesis Ps\xEDquica de Tilo"));
    EXPECT_EQ(child<QPlainTextEdit>(&d, "MemoNote")->toPlainText(),
              fromCp("Todav\xED"
                     "a no se ha confirmado una s\xEDntesis ps\xEDquica"));
    type(child<QLineEdit>(&d, "EditCerca"), "zzz");
    click(child<QPushButton>(&d, "BBcerca"));
    EXPECT_EQ(entries(found), QStringList{"**NINGUN RESULTADO**"});
}

TEST_F(SignatureWindowsOnStarterBase, PrinciplesArchiveGeneratedAndShown) {
    PrinciplesDialog d(ws);
    d.load();
    EXPECT_TRUE(child<QPlainTextEdit>(&d, "MemoPrincipi")->toPlainText().startsWith(QString::fromUtf8("Todavía")));
    click(child<QPushButton>(&d, "BBgenera"));
    EXPECT_EQ(fs::file_size(folder.path("Principi.sto")), 15u * 205u);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].first, MessageKind::Information);
    const QString shown = child<QPlainTextEdit>(&d, "MemoPrincipi")->toPlainText();
    const auto first = folder.lines("Principi.txt").front();
    EXPECT_TRUE(shown.contains(fromCp(upperCased(first).substr(0, 40)))) << shown.toStdString();
    EXPECT_TRUE(shown.contains("15."));
}

// Each window fits a 1280 x 800 screen with room for its frame; Qt's layouts decide the rest.
TEST_F(SignatureWindowsOnStarterBase, WindowsFitASmallScreen) {
    SignatureDialog signatures(ws);
    WeaknessDialog weaknesses(ws);
    RemedyTextDialog plants(ws, RemedyText::Composition);
    PrinciplesDialog principles(ws);
    for (QDialog* d : std::initializer_list<QDialog*>{&signatures, &weaknesses, &plants, &principles}) {
        const QSize least = d->minimumSizeHint();
        EXPECT_LE(least.width(), 1260) << d->objectName().toStdString();
        EXPECT_LE(least.height(), 740) << d->objectName().toStdString();
    }
}

// The main window's buttons open the windows once logged in.
TEST_F(SignatureWindowsOnStarterBase, MainWindowButtonsOpenTheWindows) {
    MainWindow main(folder.root());
    main.start();
    settle();
    type(child<QLineEdit>(&main, "EdMainPass1"), "pivona");
    click(child<QPushButton>(&main, "BBok"));
    const std::pair<const char*, const char*> buttons[] = {{"BitBtn5", "FoSegnat"},
                                                           {"BitBtn6", "FoMali"},
                                                           {"BitBtn7", "FoPiante"},
                                                           {"BitBtn9", "FoSintesi"},
                                                           {"BitBtn8", "FoPrinci"}};
    for (const auto& [button, window] : buttons) {
        QString opened;
        whenModal<QDialog>([&opened](QDialog* d) {
            opened = d->objectName();
            d->reject();
        });
        click(child<QPushButton>(&main, button));
        EXPECT_EQ(opened, window) << button;
    }
}

}  // namespace
}  // namespace athanor::test
