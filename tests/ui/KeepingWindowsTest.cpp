// The windows that keep the knowledge base: the two combined searches, the editors, the
// maintenance viewer, the search utility and the update window.
#include "knowledge/KbFixture.h"
#include "ui/UiTestSupport.h"

#include "app/Workstation.h"
#include "foundations/FileError.h"
#include "knowledge/Editors.h"
#include "knowledge/FileReplacement.h"
#include "knowledge/Rebuild.h"
#include "knowledge/TextLists.h"
#include "knowledge/UpdateInstall.h"
#include "ui/kbkeeping/EditorDialog.h"
#include "ui/kbkeeping/MaintenanceViewerDialog.h"
#include "ui/kbkeeping/RankingDialog.h"
#include "ui/kbkeeping/SearchUtilityDialog.h"
#include "ui/kbkeeping/UpdateDialog.h"
#include "ui/shell/MainWindow.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace athanor::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

QStringList entries(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

// Shows a window and lets it read its files, as it does once its event loop runs.
void showWindow(QWidget& w) {
    w.show();
    settle();
}

void clickRow(QListWidget* list, int row) {
    ASSERT_GE(row, 0);
    ASSERT_LT(row, list->count());
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

void doubleClickRow(QListWidget* list, int row) {
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

int rowOf(QListWidget* list, const QString& text) {
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == text) return i;
    ADD_FAILURE() << "no entry " << text.toStdString();
    return -1;
}

// A program folder as installed, with a knowledge base of the records given (record 0
// blank) and its derived files.
class KbWindowFixture : public ::testing::Test {
protected:
    void writeBase(std::vector<RemedyRecord> remedies, std::vector<TherapyRecord> therapies = {}) {
        remedies.insert(remedies.begin(), RemedyRecord{});
        therapies.insert(therapies.begin(), TherapyRecord{});
        writeRecords(folder.path("OpzioneH\\DBmain.rnd"), remedies);
        writeRecords(folder.path("OpzioneH\\Repertorio.rnd"), therapies);
        writeRecords(folder.path("OpzioneS\\DataQvl.rnd"),
                     std::vector<PlantSymptomRecord>{{}, plantSymptom("Tilo", "Nervios", "Venus"),
                                                     plantSymptom("", "Tos"), plantSymptom("Ajo", "Gripe", "Marte")});
        rebuildDerivedFiles(folder.root());
    }
    std::vector<RemedyRecord> remedies() const {
        auto all = readAllRecords<RemedyRecord>(folder.path("OpzioneH\\DBmain.rnd"));
        return {all.begin() + 1, all.end()};
    }
    std::vector<TherapyRecord> therapies() const {
        auto all = readAllRecords<TherapyRecord>(folder.path("OpzioneH\\Repertorio.rnd"));
        return {all.begin() + 1, all.end()};
    }

    ProgramFolderFixture folder;
    Workstation ws{folder.root()};
    MessageLog messages;
};

// ---- multiple symptoms and composite therapies ---------------------------------------------

class RankingWindowTest : public KbWindowFixture {
protected:
    void SetUp() override {
        std::vector<RemedyRecord> db = {
            remedy("A", "Fiebre"), remedy("A", "Tos"),    remedy("A", "Gripe"),   remedy("B", "Fiebre"),
            remedy("B", "Tos"),    remedy("Alfa", "Gripe"), remedy("Beta", "Gripe"),
        };
        db[0].setPosology("Diez gotas");
        // A remedy listed under one symptom more than 255 times.
        for (int i = 0; i < 300; ++i) db.push_back(remedy("Mucho", "Insomnio"));
        writeBase(db, {therapy("Gripe", "Tilo", "Infusion"), therapy("Tos", "Tilo"), therapy("Tos", "Malva")});
    }
    void pickAll(QListWidget* list, const QStringList& items) {
        for (const QString& s : items) clickRow(list, rowOf(list, s));
    }
};

TEST_F(RankingWindowTest, RanksByFallingCountThenShowsTheDetailOfARemedy) {
    RankingDialog d(ws, RankingKind::Symptoms);
    showWindow(d);
    auto* complaints = child<QListWidget>(&d, "ListBox1");
    EXPECT_EQ(entries(complaints), (QStringList{"Fiebre", "Gripe", "Insomnio", "Tos"}));
    auto* search = child<QPushButton>(&d, "BBricerca");
    EXPECT_FALSE(search->isEnabled());
    pickAll(complaints, {"Fiebre", "Tos", "Gripe"});
    EXPECT_EQ(child<QLineEdit>(&d, "Ed02")->text(), "Tos");
    click(search);
    auto* ranking = child<QListWidget>(&d, "ListBox3");
    EXPECT_EQ(entries(ranking), (QStringList{"03 A", "02 B", "01 Beta", "01 Alfa"}));

    // The detail of A: two lines per slot it answers, then the separator; its slots lit.
    clickRow(ranking, 0);
    const QStringList detail = child<QPlainTextEdit>(&d, "Memo1")->toPlainText().split('\n');
    EXPECT_EQ(detail, (QStringList{"= Fiebre", "- Diez gotas", "= Tos", "- ", "= Gripe", "- ",
                                   QString::fromUtf8("            =======§§§§§§§=======")}));
    // B answers Fiebre and Tos only: slot 3 (Gripe) goes back to silver.
    clickRow(ranking, 1);
    EXPECT_EQ(child<QLineEdit>(&d, "Ed01")->palette().color(QPalette::Base), RankingDialog::highlightColour());
    EXPECT_EQ(child<QLineEdit>(&d, "Ed02")->palette().color(QPalette::Base), RankingDialog::highlightColour());
    EXPECT_EQ(child<QLineEdit>(&d, "Ed03")->palette().color(QPalette::Base), QColor(192, 192, 192));
    click(child<QPushButton>(&d, "BBpuliMemo"));
    EXPECT_TRUE(child<QPlainTextEdit>(&d, "Memo1")->toPlainText().isEmpty());

    // Its true count, above what a byte holds, ranks the remedy first; the detail still finds it.
    clickRow(complaints, rowOf(complaints, "Insomnio"));
    click(search);
    EXPECT_EQ(ranking->item(0)->text(), "300 Mucho");
    clickRow(ranking, 0);
    EXPECT_EQ(child<QPlainTextEdit>(&d, "Memo1")->toPlainText().count("= Insomnio"), 300);
    EXPECT_EQ(child<QLineEdit>(&d, "Ed04")->palette().color(QPalette::Base), RankingDialog::highlightColour());

    // "X" empties one slot; "Pulisci Tutto" everything, and the search is off again.
    click(child<QPushButton>(&d, "BB02"));
    EXPECT_TRUE(child<QLineEdit>(&d, "Ed02")->text().isEmpty());
    EXPECT_TRUE(search->isEnabled());
    click(child<QPushButton>(&d, "BBpuliTutto"));
    EXPECT_FALSE(search->isEnabled());
    EXPECT_EQ(ranking->count(), 0);
    EXPECT_EQ(child<QLineEdit>(&d, "Ed01")->palette().color(QPalette::Base), QColor(192, 192, 192));
}

TEST_F(RankingWindowTest, FifteenSlotsAtMostAndTheFindButton) {
    RankingDialog d(ws, RankingKind::Symptoms);
    showWindow(d);
    auto* complaints = child<QListWidget>(&d, "ListBox1");
    for (int i = 0; i < 16; ++i) clickRow(complaints, i % 4);
    QStringList slotTexts;
    for (int k = 1; k <= 15; ++k) slotTexts << child<QLineEdit>(&d, RankingDialog::slotName(k).toLatin1().constData())->text();
    EXPECT_EQ(slotTexts.last(), "Insomnio");
    EXPECT_EQ(slotTexts.count("Tos"), 3) << "the sixteenth pick (Tos) changes nothing";

    // "Trova" goes from one occurrence to the next and stays on the first when none is left.
    auto* box = child<QLineEdit>(&d, "EdCerca");
    box->setText("i");
    auto* find = child<QPushButton>(&d, "BBTrova");
    QStringList found;
    for (int i = 0; i < 5; ++i) {
        click(find);
        found << complaints->currentItem()->text();
    }
    EXPECT_EQ(found, (QStringList{"Fiebre", "Gripe", "Insomnio", "Fiebre", "Fiebre"}));

    // Typed letters position the list on the first entry that begins with them.
    QTest::mouseClick(box, Qt::LeftButton);
    type(box, "gr");
    EXPECT_EQ(complaints->currentItem()->text(), "Gripe");
}

TEST_F(RankingWindowTest, CompositeTherapiesRankTheRemediesOfTheRepertory) {
    RankingDialog d(ws, RankingKind::Therapies);
    showWindow(d);
    EXPECT_EQ(d.windowTitle(), "TERAPIE COMPOSITE");
    EXPECT_EQ(readLines(folder.path("OpzioneH\\ProdotR.txt")), (Lines{"Malva", "Tilo"}));
    auto* complaints = child<QListWidget>(&d, "ListBox1");
    EXPECT_EQ(entries(complaints), (QStringList{"Gripe", "Tos"}));
    clickRow(complaints, 0);
    clickRow(complaints, 1);
    click(child<QPushButton>(&d, "BBricerca"));
    auto* ranking = child<QListWidget>(&d, "ListBox3");
    EXPECT_EQ(entries(ranking), (QStringList{"02 Tilo", "01 Malva"}));
    clickRow(ranking, 0);
    EXPECT_TRUE(child<QPlainTextEdit>(&d, "Memo1")->toPlainText().startsWith("= Gripe\n- Infusion\n= Tos\n"));
}

// ---- the editors -------------------------------------------------------------------------------

class EditorWindowTest : public KbWindowFixture {
protected:
    void SetUp() override {
        writeBase({remedy("TSA Romero", "Fatiga"), remedy("TSA Tilo", "Nervios", "Venus"), remedy("MSA Arnica", "Golpes")},
                  {therapy("Gripe", "TSA Tilo"), therapy("Anemia", "TSA Ortiga"), therapy("Tos", "TSA Tilo")});
        ws.maintenanceMode = true;
    }
    static void retype(QWidget* w, const QString& text) {
        if (auto* e = qobject_cast<QLineEdit*>(w)) {
            e->selectAll();
            type(e, text);
        } else if (auto* m = qobject_cast<QPlainTextEdit*>(w)) {
            m->selectAll();
            m->insertPlainText(text);
        }
    }
};

TEST_F(EditorWindowTest, LoadSaveSaveAsNewAndDeleteRefillTheList) {
    EditorDialog d(ws, EditorKind::Remedies);
    showWindow(d);
    auto* list = child<QListWidget>(&d, "ListBox1");
    EXPECT_EQ(entries(list), (QStringList{"MSA Arnica**Golpes", "TSA Romero**Fatiga", "TSA Tilo**Nervios"}));
    // Typed in any letter case, the first letters find the entry; Enter loads it.
    auto* box = child<QLineEdit>(&d, "EdCerca");
    type(box, "tsa ti");
    EXPECT_EQ(list->currentRow(), 2);
    key(box, Qt::Key_Return);
    EXPECT_EQ(child<QLineEdit>(&d, "EdProd")->text(), "TSA Tilo");
    EXPECT_EQ(child<QLineEdit>(&d, "EdPlane")->text(), "Venus");
    EXPECT_EQ(child<QLineEdit>(&d, "EdNumRec")->text(), "2 / 3");
    auto* save = child<QPushButton>(&d, "BBsalva");
    EXPECT_FALSE(save->isEnabled()) << "nothing changed yet";

    // A new posology saved over record 2, with a line break kept as CR LF.
    retype(child<QPlainTextEdit>(&d, "MemoPoso"), "Diez gotas\nantes de dormir");
    click(save);
    EXPECT_EQ(remedies()[1].posologyText(), "Diez gotas\r\nantes de dormir");
    EXPECT_EQ(remedies()[1].name, "TSA Tilo");

    // A changed indication saved as new: appended, the list shows both.
    retype(child<QPlainTextEdit>(&d, "MemoIndi"), "Insomnio");
    click(child<QPushButton>(&d, "BBnuovo"));
    ASSERT_EQ(remedies().size(), 4u);
    EXPECT_EQ(remedies()[3].indicationText(), "Insomnio");
    EXPECT_EQ(remedies()[3].posologyText(), "Diez gotas\r\nantes de dormir");
    EXPECT_EQ(child<QLineEdit>(&d, "EdNumRec")->text(), "Tot=4");
    EXPECT_EQ(entries(list).last(), "TSA Tilo**Nervios");
    EXPECT_TRUE(entries(list).contains("TSA Tilo**Insomnio"));

    // Deleting, once confirmed: the later records move down, the editor is cleared.
    clickRow(list, rowOf(list, "TSA Romero**Fatiga"));
    click(child<QPushButton>(&d, "BBelimina"));
    EXPECT_EQ(messages.messages.back().first, MessageKind::Question);
    ASSERT_EQ(remedies().size(), 3u);
    EXPECT_EQ(remedies()[0].name, "TSA Tilo");
    EXPECT_EQ(child<QLineEdit>(&d, "EdNumRec")->text(), "Tot=3");
    EXPECT_TRUE(child<QLineEdit>(&d, "EdProd")->text().isEmpty());
    EXPECT_FALSE(entries(list).contains("TSA Romero**Fatiga"));

    // After "Limpiar", "Salva" has no record to write over; "Salva come Nuovo" appends.
    click(child<QPushButton>(&d, "BBlimpiar"));
    retype(child<QLineEdit>(&d, "EdProd"), "QSPC Lavanda");
    messages.clear();
    click(save);
    EXPECT_EQ(messages.last(), "S\u00F3lo es posible [Guardar como Nuevo]");
    EXPECT_EQ(remedies().size(), 3u);
    click(child<QPushButton>(&d, "BBnuovo"));
    EXPECT_EQ(remedies().back().name, "QSPC Lavanda");
    EXPECT_EQ(remedies().back().indicationText(), "") << "a placeholder is not stored";
}

TEST_F(EditorWindowTest, ALongTextRaisesTheWarningWhileItIsTooLong) {
    EditorDialog d(ws, EditorKind::Remedies);
    showWindow(d);
    auto* warning = child<QLineEdit>(&d, "EdLimite");
    auto* name = child<QLineEdit>(&d, "EdProd");
    retype(name, QString(50, 'a'));
    EXPECT_FALSE(warning->isVisible());
    type(name, "b");
    EXPECT_TRUE(warning->isVisible());
    EXPECT_EQ(warning->text(), "Superato Limite Lunghezza");
    key(name, Qt::Key_Backspace);
    EXPECT_FALSE(warning->isVisible());
    // Stored cut to the capacity.
    retype(child<QLineEdit>(&d, "EdZodi"), QString(75, 'z'));
    EXPECT_TRUE(warning->isVisible());
    click(child<QPushButton>(&d, "BBnuovo"));
    EXPECT_EQ(remedies().back().zodiacSignature, std::string(70, 'z'));
}

TEST_F(EditorWindowTest, LeavingWithUnsavedChangesAlwaysAsks) {
    EditorDialog d(ws, EditorKind::Remedies);
    showWindow(d);
    auto* list = child<QListWidget>(&d, "ListBox1");
    clickRow(list, 0);
    retype(child<QLineEdit>(&d, "EdSeco"), "Luna");
    click(child<QPushButton>(&d, "BBritorna"));
    auto* panel = child<QWidget>(&d, "PanelSalva");
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(panel->isVisible());
    EXPECT_TRUE(child<QLabel>(&d, "LabDescrizioni")->isEnabled());
    EXPECT_FALSE(child<QLabel>(&d, "LabNome")->isEnabled());
    // Escape goes back to the editor; the panel's "Salva" writes and closes.
    d.reject();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(d.isVisible());
    click(child<QPushButton>(&d, "BBritorna"));
    click(child<QPushButton>(&d, "BBpanSalva"));
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(remedies()[2].secondarySignature, "Luna");

    // Nothing changed: it simply closes.
    showWindow(d);
    clickRow(child<QListWidget>(&d, "ListBox1"), 0);
    click(child<QPushButton>(&d, "BBritorna"));
    EXPECT_FALSE(d.isVisible());
}

TEST_F(EditorWindowTest, AFailedSaveSaysSoAndLeavesTheBaseAsItWas) {
    EditorDialog d(ws, EditorKind::Remedies);
    showWindow(d);
    clickRow(child<QListWidget>(&d, "ListBox1"), 0);
    retype(child<QPlainTextEdit>(&d, "MemoAvve"), "Nada");
    const std::string before = TempDir::read(folder.path("OpzioneH\\DBmain.rnd"));
    {
        ScopedFileStepHook full([](FileStep s, const fs::path& p) {
            if (s == FileStep::Write) throw FileError(p, "No space left on device");
        });
        click(child<QPushButton>(&d, "BBsalva"));
    }
    ASSERT_FALSE(messages.messages.empty());
    EXPECT_EQ(messages.messages.back().first, MessageKind::Error);
    EXPECT_NE(messages.last().find("DBmain"), std::string::npos) << messages.last();
    EXPECT_EQ(TempDir::read(folder.path("OpzioneH\\DBmain.rnd")), before);
    EXPECT_TRUE(child<QPushButton>(&d, "BBsalva")->isEnabled()) << "the change is still there to save";
}

TEST_F(EditorWindowTest, ReorderingMovesARecordAndWritesTheNewOrder) {
    EditorDialog d(ws, EditorKind::Remedies);
    showWindow(d);
    auto* list = child<QListWidget>(&d, "ListBox1");
    auto* reorder = child<QPushButton>(&d, "BBmodifEle");
    click(reorder);
    EXPECT_EQ(reorder->text(), "Definitivo");
    EXPECT_TRUE(child<QPushButton>(&d, "BBannulla")->isVisible());
    EXPECT_FALSE(child<QRadioButton>(&d, "RBprod")->isVisible());
    EXPECT_EQ(entries(list), (QStringList{"TSA Romero**Fatiga", "TSA Tilo**Nervios", "MSA Arnica**Golpes"}));
    // The last record picked and dropped on the first place.
    doubleClickRow(list, 2);
    EXPECT_EQ(child<QLineEdit>(&d, "EdCerca")->text(), "MSA Arnica**Golpes");
    doubleClickRow(list, 0);
    EXPECT_EQ(entries(list), (QStringList{"MSA Arnica**Golpes", "TSA Romero**Fatiga", "TSA Tilo**Nervios"}));
    EXPECT_TRUE(child<QLineEdit>(&d, "EdCerca")->text().isEmpty());
    click(reorder);
    EXPECT_EQ(reorder->text(), "Modifica Elenco");
    const auto after = remedies();
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[0].name, "MSA Arnica");
    EXPECT_EQ(after[1].name, "TSA Romero");
    EXPECT_EQ(after[2].name, "TSA Tilo");
    EXPECT_EQ(after[2].primarySignature, "Venus") << "whole records move";
    EXPECT_FALSE(fs::exists(folder.dir() / "ArcProv.rnd"));

    // "Annulla Modifiche" writes nothing.
    const std::string before = TempDir::read(folder.path("OpzioneH\\DBmain.rnd"));
    click(reorder);
    doubleClickRow(list, 2);
    doubleClickRow(list, 0);
    click(child<QPushButton>(&d, "BBannulla"));
    EXPECT_EQ(TempDir::read(folder.path("OpzioneH\\DBmain.rnd")), before);
    EXPECT_EQ(reorder->text(), "Modifica Elenco");
}

TEST_F(EditorWindowTest, ANewOrderThatWouldDropARecordIsNotWritten) {
    writeBase({remedy("TSA Romero", "Fatiga"), remedy("Uno*Dos", "Tos")});
    const std::string before = TempDir::read(folder.path("OpzioneH\\DBmain.rnd"));
    EditorDialog d(ws, EditorKind::Remedies);
    showWindow(d);
    auto* reorder = child<QPushButton>(&d, "BBmodifEle");
    click(reorder);
    EXPECT_FALSE(child<QPushButton>(&d, "BBelimina")->isEnabled()) << "nothing is written while re-ordering";
    auto* list = child<QListWidget>(&d, "ListBox1");
    doubleClickRow(list, 1);
    doubleClickRow(list, 0);
    click(reorder);
    ASSERT_FALSE(messages.messages.empty());
    EXPECT_EQ(messages.messages.back().first, MessageKind::Error);
    EXPECT_NE(messages.last().find("1 registros"), std::string::npos) << messages.last();
    EXPECT_EQ(TempDir::read(folder.path("OpzioneH\\DBmain.rnd")), before);
    EXPECT_EQ(reorder->text(), "Definitivo") << "the new order stays to be cancelled";
}

TEST_F(EditorWindowTest, TheRebuildWritesWhatThePlainRebuildWrites) {
    EditorDialog d(ws, EditorKind::Remedies);
    showWindow(d);
    clickRow(child<QListWidget>(&d, "ListBox1"), 0);
    retype(child<QPlainTextEdit>(&d, "MemoIndi"), "Contusiones");
    click(child<QPushButton>(&d, "BBsalva"));
    click(child<QPushButton>(&d, "BBRico"));
    const Lines files = {"OpzioneH\\Sintomi.txt", "OpzioneH\\ProdotA.txt", "OpzioneH\\ProdotB.txt",
                         "OpzioneH\\RicCom.Rnd", "OpzioneH\\VenePri.rnd", "OpzioneH\\Tauro.rnd"};
    std::vector<std::string> byWindow;
    for (const auto& f : files) byWindow.push_back(TempDir::read(folder.path(f)));
    EXPECT_EQ(readLines(folder.path("OpzioneH\\Sintomi.txt")), (Lines{"Contusiones", "Fatiga", "Nervios"}));
    RebuildSummary summary;
    rebuildRemedyLists(folder.root(), summary);
    for (std::size_t i = 0; i < files.size(); ++i) EXPECT_EQ(TempDir::read(folder.path(files[i])), byWindow[i]) << files[i];
    // The list comes back by indication.
    EXPECT_TRUE(child<QRadioButton>(&d, "RBindi")->isChecked());
    EXPECT_EQ(child<QListWidget>(&d, "ListBox1")->item(0)->text(), "Contusiones**MSA Arnica");
}

TEST_F(EditorWindowTest, TheRepertoryShowsTheDatabaseRecordOfItsRemedy) {
    EditorDialog d(ws, EditorKind::Repertory);
    showWindow(d);
    auto* list = child<QListWidget>(&d, "ListBox1");
    EXPECT_TRUE(child<QRadioButton>(&d, "RBpato")->isChecked());
    EXPECT_EQ(entries(list), (QStringList{"Anemia**TSA Ortiga", "Gripe**TSA Tilo", "Tos**TSA Tilo"}));
    auto* panel = child<QPlainTextEdit>(&d, "MemoPrim");
    clickRow(list, 0);
    EXPECT_EQ(panel->toPlainText(), "TSA Ortiga No lo se encuentra en la Base de Datos primaria.");
    EXPECT_FALSE(child<QPushButton>(&d, "BBsegna")->isEnabled());
    clickRow(list, 1);
    EXPECT_EQ(child<QLineEdit>(&d, "EdPato")->text(), "Gripe");
    click(child<QPushButton>(&d, "BBsegna"));
    EXPECT_EQ(panel->toPlainText(), "Venus\n\n");
    // The remedy typed anew and saved over the record.
    auto* remedyField = child<QLineEdit>(&d, "EdProd");
    remedyField->selectAll();
    type(remedyField, "TSA Romero");
    click(child<QPushButton>(&d, "BBsalva"));
    EXPECT_EQ(therapies()[0].remedy, "TSA Romero");
    EXPECT_TRUE(entries(list).contains("Gripe**TSA Romero"));
}

TEST_F(EditorWindowTest, WithoutTheMaintenanceCodeTheRecordsAreOnlyRead) {
    ws.maintenanceMode = false;
    EditorDialog d(ws, EditorKind::Remedies);
    showWindow(d);
    for (const char* hidden : {"BBsalva", "BBnuovo", "BBelimina", "BBRico", "BBmodifEle", "MemoInfo", "BBtrova"})
        EXPECT_FALSE(child<QWidget>(&d, hidden)->isVisible()) << hidden;
    clickRow(child<QListWidget>(&d, "ListBox1"), 0);
    EXPECT_TRUE(child<QLineEdit>(&d, "EdProd")->isReadOnly());
    click(child<QPushButton>(&d, "BBritorna"));
    EXPECT_FALSE(d.isVisible());
}

TEST_F(KbWindowFixture, TheMaintenanceViewerShowsEveryFieldInBothOrders) {
    writeBase({});
    MaintenanceViewerDialog d(ws);
    showWindow(d);
    auto* list = child<QListWidget>(&d, "ListBox1");
    EXPECT_EQ(entries(list), (QStringList{"Tilo                Nervios", "XXXX                Tos",
                                          "Ajo                 Gripe"}));
    list->setCurrentRow(2);
    EXPECT_EQ(child<QLineEdit>(&d, "EdPianta")->text(), "Ajo");
    EXPECT_EQ(child<QLineEdit>(&d, "EdSegPri")->text(), "Marte");
    click(child<QPushButton>(&d, "BBordina"));
    EXPECT_EQ(list->item(0)->text(), "Ajo                 Gripe");
    list->setCurrentRow(2);
    EXPECT_EQ(child<QLineEdit>(&d, "EdSintomo")->text(), "Tos");
    EXPECT_TRUE(child<QLineEdit>(&d, "EdPianta")->text().isEmpty());
}

// ---- the search utility ---------------------------------------------------------------------

class UtilityWindowTest : public KbWindowFixture {
protected:
    void SetUp() override {
        writeBase({remedy("TSA Ortiga", "Anemia", "Marte"), remedy("TSA Tilo", "Nervios", "Venus"),
                   remedy("MSA Ortiga", "Caspa", "Marte")},
                  {therapy("Anemia", "TSA Ortiga")});
    }
};

TEST_F(UtilityWindowTest, FindsContinuesAndReportsTheEndOfTheArchive) {
    SearchUtilityDialog d(ws);
    showWindow(d);
    auto* phrase = child<QLineEdit>(&d, "EditCerca");
    type(phrase, "orti");
    auto* search = child<QPushButton>(&d, "BBcerca");
    click(search);
    EXPECT_EQ(child<QLineEdit>(&d, "EdRime")->text(), "TSA Ortiga");
    EXPECT_EQ(child<QPlainTextEdit>(&d, "Memo1")->toPlainText(), "TSA ");
    EXPECT_EQ(child<QPlainTextEdit>(&d, "Memo2")->toPlainText(), "Ortiga");
    EXPECT_EQ(child<QLineEdit>(&d, "Edit1")->text(), "2");
    EXPECT_EQ(child<QLineEdit>(&d, "Edit2")->text(), "10/50");
    EXPECT_EQ(search->text(), "Continua");
    click(search);
    EXPECT_EQ(child<QLineEdit>(&d, "EdRime")->text(), "MSA Ortiga");
    EXPECT_EQ(child<QLineEdit>(&d, "Edit1")->text(), "4");
    click(search);
    EXPECT_EQ(child<QLineEdit>(&d, "EdRime")->text(), "FINE ARCHIVIO");
    EXPECT_EQ(child<QPlainTextEdit>(&d, "Memo1")->toPlainText(), "FINE ARCHIVIO");
    EXPECT_EQ(child<QLineEdit>(&d, "Edit1")->text(), "3");
    EXPECT_EQ(search->text(), "Cerca");
    EXPECT_FALSE(child<QPushButton>(&d, "BBsalva")->isEnabled());

    // The repertory's fields are searched there.
    click(child<QRadioButton>(&d, "RadioButton6"));
    EXPECT_TRUE(child<QWidget>(&d, "PanelTerap")->isVisible());
    EXPECT_FALSE(child<QWidget>(&d, "PanelPrima")->isVisible());
    click(child<QRadioButton>(&d, "RBpatol"));
    phrase->clear();
    type(phrase, "anem");
    click(search);
    EXPECT_EQ(child<QPlainTextEdit>(&d, "Memo2")->toPlainText(), "Anemia");
}

TEST_F(UtilityWindowTest, ACorrectionIsSavedCutToTheCapacityAndNeverDroppedUnasked) {
    SearchUtilityDialog d(ws);
    showWindow(d);
    click(child<QRadioButton>(&d, "RBSpri"));
    type(child<QLineEdit>(&d, "EditCerca"), "venus");
    click(child<QPushButton>(&d, "BBcerca"));
    EXPECT_EQ(child<QLineEdit>(&d, "Edit2")->text(), "5/30");
    auto* after = child<QPlainTextEdit>(&d, "Memo2");
    after->selectAll();
    after->insertPlainText(QString("Venus-Luna-") + QString(30, 'x'));
    auto* save = child<QPushButton>(&d, "BBsalva");
    click(save);
    EXPECT_EQ(remedies()[1].primarySignature, "Venus-Luna-" + std::string(19, 'x'));
    EXPECT_FALSE(save->isEnabled());

    // An unsaved correction: leaving asks, and "Yes" saves it.
    after->selectAll();
    after->insertPlainText("Saturno");
    messages.clear();
    d.reject();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].first, MessageKind::Question);
    EXPECT_EQ(remedies()[1].primarySignature, "Saturno");
    EXPECT_FALSE(d.isVisible());
}

// ---- updates ------------------------------------------------------------------------------------

class UpdateWindowTest : public KbWindowFixture {
protected:
    void SetUp() override {
        writeBase({remedy("TSA Tilo", "Nervios")});
        folder.dir().write("Appoggio/Aggiorna1.txt", "Inserte el disco de la actualizaci\xF3n.\r\n");
        folder.dir().write("OpzioneT/Sole.tm1", "2460000\r\n2460010\r\n7\r\n");
    }
    // A volume holding an update dated `age` ago.
    fs::path makeVolume(const std::string& name, std::chrono::hours age) {
        const fs::path v = volumes.path() / name;
        const auto when = fs::file_time_type::clock::now() - age;
        writeRecords(v / "OpzioneH" / "DBmain.rnd", std::vector<RemedyRecord>{{}, remedy("TSA Nuevo", "Tos")});
        writeRecords(v / "OpzioneH" / "Repertorio.rnd", std::vector<TherapyRecord>{{}});
        for (const char* f : {"DBmain.rnd", "Repertorio.rnd"}) fs::last_write_time(v / "OpzioneH" / f, when);
        return v;
    }
    VolumeSources sources() const { return {volumes.path() / "no-mounts", {volumes.path()}}; }

    TempDir volumes;
};

TEST_F(UpdateWindowTest, AnOlderUpdateIsOfferedInRedAndInstalled) {
    const fs::path usb = makeVolume("USB", std::chrono::hours(24 * 30));
    fs::create_directories(volumes.path() / "Fotos");  // a volume without an update
    UpdateDialog d(ws, sources());
    showWindow(d);
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("SITUACIÓN de los ACTUALIZACIONES - 6/25/02/23"));
    EXPECT_EQ(child<QPlainTextEdit>(&d, "Memo1")->toPlainText(), QString::fromUtf8("Inserte el disco de la actualización."));
    EXPECT_EQ(child<QLineEdit>(&d, "EdDisp1")->text(), QString::fromStdString(usb.string()));
    EXPECT_TRUE(child<QLineEdit>(&d, "EdDisp2")->text().isEmpty());
    auto* date = child<QLineEdit>(&d, "EdNuoAgg1");
    EXPECT_EQ(date->text(), QString::fromStdString(baseDate(usb)));
    EXPECT_EQ(stateColourName(date), "red");
    EXPECT_FALSE(child<QPushButton>(&d, "BBok2")->isEnabled());

    click(child<QPushButton>(&d, "BBok1"));
    EXPECT_EQ(TempDir::read(folder.path("OpzioneH\\DBmain.rnd")), TempDir::read(usb / "OpzioneH" / "DBmain.rnd"));
    EXPECT_EQ(child<QLineEdit>(&d, "EdUltAgg")->text(), QString::fromStdString(baseDate(usb)));
    EXPECT_EQ(child<QPushButton>(&d, "BitBtnRitorna")->text(), QString::fromUtf8("Heco, volver al Menú"));
    EXPECT_EQ(child<QProgressBar>(&d, "BarraProgreso")->value(), 1000);
    EXPECT_EQ(stateColourName(date), "aqua") << "now the same as the installed base";
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(UpdateWindowTest, NoUpdateFoundIsSaid) {
    UpdateDialog d(ws, sources());
    showWindow(d);
    EXPECT_EQ(messages.last(), "No se detect\u00F3 ning\u00FAn disco de actualizaci\u00F3n");
    EXPECT_FALSE(child<QPushButton>(&d, "BBok1")->isEnabled());
}

// ---- the main window's buttons ---------------------------------------------------------------

TEST_F(KbWindowFixture, TheMainWindowOpensTheKeepingWindows) {
    writeBase({remedy("TSA Tilo", "Nervios")});
    MainWindow window(folder.root());
    window.start();
    settle();
    type(child<QLineEdit>(&window, "EdMainPass1"), "pivona");
    click(child<QPushButton>(&window, "BBok"));
    child<QTabWidget>(&window, "PageControl1")->setCurrentIndex(1);
    for (const char* b : {"BBriceCompo", "BitBtn10", "BitBtn4", "BBaggRep", "Button1", "EdAggiorna"})
        EXPECT_TRUE(child<QPushButton>(&window, b)->isEnabled()) << b;
    const struct {
        const char* button;
        const char* window;
    } cases[] = {{"BBriceCompo", "FoRicCom"}, {"BitBtn10", "FoTerCom"}, {"BitBtn4", "FoMainArc"},
                 {"BBaggRep", "FoAggRep"},    {"Button1", "FoManut1"}};
    for (const auto& c : cases) {
        QString opened;
        whenModal<QDialog>([&](QDialog* d) {
            opened = d->objectName();
            d->reject();
        });
        click(child<QPushButton>(&window, c.button));
        EXPECT_EQ(opened, c.window);
    }
}

}  // namespace
}  // namespace athanor::test
