// The consultation windows: symptoms, remedies and therapies with their pages of fourteen
// rows, Corvell-1 and Corvell-2, opened from the main window and from "Remedios para el tema".
#include "UiTestSupport.h"
#include "ChartWindowFixture.h"

#include "knowledge/KbFixture.h"
#include "knowledge/Rebuild.h"
#include "knowledge/TextLists.h"
#include "ui/charts/ChartRemediesWindow.h"
#include "ui/common/WindowHost.h"
#include "ui/knowledge/PlantConsultationDialog.h"
#include "ui/knowledge/PlantSymptomDialog.h"
#include "ui/knowledge/RemedyConsultationDialog.h"
#include "ui/knowledge/SymptomConsultationDialog.h"
#include "ui/knowledge/TherapyConsultationDialog.h"
#include "ui/shell/MainWindow.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

namespace athanor::test {
namespace {

QString text(const QObject* w, const char* name) {
    if (auto* e = w->findChild<QLineEdit*>(QString::fromLatin1(name))) return e->text();
    if (auto* m = w->findChild<QPlainTextEdit*>(QString::fromLatin1(name))) return m->toPlainText();
    if (auto* l = w->findChild<QLabel*>(QString::fromLatin1(name))) return l->text();
    ADD_FAILURE() << "no text widget " << name;
    return {};
}
std::string rowText(const QObject* w, const char* stem, int n) {
    return text(w, (std::string(stem) + std::to_string(n)).c_str()).toStdString();
}
QStringList items(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}
void doubleClick(QWidget* w) { QTest::mouseDClick(w, Qt::LeftButton); }
QPushButton* button(const QObject* w, const char* name) { return child<QPushButton>(w, name); }

// A knowledge base whose lists are those the rebuild writes.
struct Base {
    explicit Base(std::vector<RemedyRecord> remedies, std::vector<TherapyRecord> therapies = {},
                  std::vector<PlantSymptomRecord> plants = {})
        : kb(std::move(remedies), std::move(therapies), std::move(plants)) {
        rebuildDerivedFiles(kb.root());
    }
    KbFolder kb;
};

int entryOf(const std::vector<std::string>& entries, const std::string& e) {
    const auto it = std::find(entries.begin(), entries.end(), e);
    EXPECT_NE(it, entries.end()) << e;
    return static_cast<int>(it - entries.begin());
}

TEST(SymptomWindow, PagesOfFourteenWithTheirBoxColour) {
    struct Case {
        int matches;
        const char* first;
        const char* colour;
        int rowsOnPage2;
        const char* afterNext;
    } cases[] = {
        {14, "1/1", "aqua", -1, "1/1"},
        {15, "1/2", "red", 1, "2/2"},
        {141, "1/10", "red", 14, "2/10"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.matches);
        std::vector<RemedyRecord> records;
        for (int i = 1; i <= c.matches; ++i) records.push_back(remedy("Remedio " + std::to_string(i), "Tos"));
        const Base base(records);
        SymptomConsultationDialog d(base.kb.root());
        ASSERT_TRUE(d.load());
        d.selectEntry(0);
        EXPECT_EQ(text(&d, "EdDist"), "Tos");
        EXPECT_EQ(text(&d, "Edit1").toStdString(), c.first);
        EXPECT_EQ(stateColourName(child<QWidget>(&d, "Edit1")), c.colour);
        EXPECT_EQ(rowText(&d, "EdP", 14), "Remedio 14");
        click(button(&d, "BBseguito"));
        EXPECT_EQ(text(&d, "Edit1").toStdString(), c.afterNext);
        if (c.rowsOnPage2 < 0) {
            EXPECT_EQ(rowText(&d, "EdP", 1), "Remedio 1") << "the last page goes nowhere";
            continue;
        }
        EXPECT_EQ(stateColourName(child<QWidget>(&d, "Edit1")), "aqua");
        EXPECT_EQ(rowText(&d, "EdP", 1), "Remedio 15");
        EXPECT_EQ(rowText(&d, "EdP", c.rowsOnPage2), "Remedio " + std::to_string(14 + c.rowsOnPage2));
        if (c.rowsOnPage2 < 14) {
            EXPECT_EQ(rowText(&d, "EdP", c.rowsOnPage2 + 1), "");
        }
        click(button(&d, "BBAnticipo"));
        EXPECT_EQ(rowText(&d, "EdP", 1), "Remedio 1");
        EXPECT_EQ(text(&d, "EdDist"), "Tos") << "a page move keeps the selected item";
    }
}

TEST(SymptomWindow, ARowButtonCyclesThroughFourTextsAndLimpiarEmptiesThePage) {
    RemedyRecord tilo = remedy("Tilo", "Insomnio", "Venus", "Tauro", "Luna");
    tilo.setPosology("20 gotas por la noche");
    tilo.setWarnings("Somnolencia.");
    tilo.setNotes("Flores de tilo");
    const Base base({remedy("Melisa", "Insomnio"), tilo});
    SymptomConsultationDialog d(base.kb.root());
    ASSERT_TRUE(d.load());
    d.selectEntry(0);
    EXPECT_EQ(rowText(&d, "EdA", 2), "Venus Luna");
    EXPECT_EQ(rowText(&d, "EdS", 2), "Tauro");
    EXPECT_EQ(rowText(&d, "EdD", 2), "20 gotas por la noche");

    QStringList captions, texts;
    for (int press = 0; press < 5; ++press) {
        click(button(&d, "SB2"));
        captions << text(&d, "LabNote");
        texts << text(&d, "MemoNote");
    }
    EXPECT_EQ(captions, (QStringList{"Tilo - Advertencias", QString::fromUtf8("Tilo - Síntesis Psíquica"),
                                     "Tilo - Notas", "Tilo - Notas adicionales", "Tilo - Advertencias"}));
    EXPECT_EQ(texts[0], "Somnolencia.");
    EXPECT_EQ(texts[1], QString::fromUtf8("No hay Síntesis Psíquica para este remedio"));
    EXPECT_EQ(texts[2], "Flores de tilo");
    click(button(&d, "SB3"));  // an empty row does nothing
    EXPECT_EQ(text(&d, "MemoNote"), "Somnolencia.");

    type(child<QLineEdit>(&d, "EdCerca"), "i");
    click(button(&d, "BitBtn1"));
    for (const char* emptied : {"EdP1", "EdA2", "EdD2", "Edit1", "EdDist", "MemoNote", "EdCerca"})
        EXPECT_EQ(text(&d, emptied), "") << emptied;
    EXPECT_EQ(text(&d, "LabNote"), "Notas");
    click(button(&d, "SB2"));
    EXPECT_EQ(text(&d, "MemoNote"), "") << "an emptied row does nothing";
}

TEST(SymptomWindow, ASelectionWithoutMatchesSaysSoAndAMissingBaseNamesTheFile) {
    const Base base({remedy("Tilo", "Insomnio")});
    const auto list = base.kb.path(kSymptomListFile);
    writeLines(list, {"Fiebre", "Insomnio"});
    MessageLog messages;
    SymptomConsultationDialog d(base.kb.root());
    d.show();
    ASSERT_TRUE(d.load());
    d.selectEntry(0);
    EXPECT_TRUE(child<QLabel>(&d, "LabNessunRisultato")->isVisible());
    EXPECT_EQ(text(&d, "LabNessunRisultato"), QString::fromUtf8("Ningún resultado"));
    EXPECT_EQ(text(&d, "Edit1"), "");
    d.selectEntry(1);
    EXPECT_FALSE(child<QLabel>(&d, "LabNessunRisultato")->isVisible());

    const auto before = base.kb.snapshot();
    std::filesystem::remove(base.kb.path(kRemedyDatabaseFile));
    d.selectEntry(1);
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_NE(messages.last().find("DBmain.rnd"), std::string::npos) << messages.last();
    EXPECT_EQ(rowText(&d, "EdP", 1), "");
    EXPECT_TRUE(d.isVisible()) << "the window stays usable";

    std::filesystem::remove(list);
    SymptomConsultationDialog again(base.kb.root());
    EXPECT_FALSE(again.load());
    EXPECT_NE(messages.last().find("Sintomi.txt"), std::string::npos) << messages.last();
    EXPECT_EQ(base.kb.snapshot().size(), before.size() - 2) << "nothing written";
}

TEST(RemedyWindow, AnAliasLineListsItsRemedyWithWarningsProductTypeAndUseNote) {
    RemedyRecord ortica = remedy("MSA - Ortica", "Anemia", "Marte", "Aries");
    ortica.setWarnings("No en el embarazo");
    ortica.setSynthesis("Fuerza y decisi\xF3n");
    RemedyRecord second = ortica;
    second.setIndication("Reuma");
    const Base base({ortica, remedy("TSA Romero (2)", "Memoria"), second});
    RemedyConsultationDialog d(base.kb.root());
    d.resize(1200, 720);
    d.show();
    ASSERT_TRUE(d.load());
    auto* list = child<QListWidget>(&d, "ListBox1");
    const int alias = static_cast<int>(std::find_if(d.entries().begin(), d.entries().end(),
                                                    [](const std::string& l) { return l.starts_with("Ortica (MSA)"); }) -
                                       d.entries().begin());
    ASSERT_LT(alias, static_cast<int>(d.entries().size()));
    EXPECT_EQ(list->item(alias)->text(), "Ortica (MSA)") << "the list shows the alias, not its padding";
    d.selectEntry(alias);
    EXPECT_EQ(rowText(&d, "EdP", 1), "MSA - Ortica");
    EXPECT_EQ(rowText(&d, "EdD", 1), "Anemia");
    EXPECT_EQ(rowText(&d, "EdD", 2), "Reuma");
    EXPECT_EQ(text(&d, "EdRime"), "MSA - Ortica");
    EXPECT_EQ(text(&d, "EdAvve"), "No en el embarazo");
    EXPECT_EQ(text(&d, "MemoNote"), QString::fromUtf8("Fuerza y decisión"));
    EXPECT_EQ(text(&d, "LabSpeci"), "(Alchemical-Spagyric Macerated of Tessaran)");
    EXPECT_FALSE(child<QWidget>(&d, "MemoPare")->isVisible());

    doubleClick(child<QLineEdit>(&d, "EdAvve"));
    auto* large = child<QPlainTextEdit>(&d, "MemoAvveLarge");
    EXPECT_TRUE(large->isVisible());
    EXPECT_EQ(large->toPlainText(), "No en el embarazo");
    QTest::mouseClick(large->viewport(), Qt::LeftButton);
    EXPECT_FALSE(large->isVisible());

    click(button(&d, "SB1"));
    EXPECT_EQ(text(&d, "LabNote"), QString::fromUtf8("MSA - Ortica - Posología"));
    click(button(&d, "SB1"));
    EXPECT_EQ(text(&d, "MemoNote"), QString::fromUtf8("Fuerza y decisión"));

    d.selectEntry(entryOf(d.entries(), "TSA Romero (2)"));
    EXPECT_TRUE(child<QWidget>(&d, "MemoPare")->isVisible());
    EXPECT_EQ(text(&d, "MemoPare"), QString::fromUtf8("El número entre paréntesis se refiere a un uso específico "
                                                      "del Remedio y NO a una variante del mismo Rimedio"));
    EXPECT_EQ(text(&d, "EdAvve"), "No hay advertencias para este remedio");
    EXPECT_EQ(text(&d, "LabSpeci"), "(Alchemical-Spagyric Tincture of Tessaran)");
    click(button(&d, "BitBtn1"));
    for (const char* emptied : {"EdRime", "EdAvve", "LabSpeci", "EdP1"}) EXPECT_EQ(text(&d, emptied), "") << emptied;
    EXPECT_FALSE(child<QWidget>(&d, "MemoPare")->isVisible());
}

TEST(RemedyWindow, TheSignaturePopUpSplitsTheBoxIntoWords) {
    const Base base({remedy("Aurum", "Cansancio", "Sol-Luna", "Leo Aries", "Marte")});
    RemedyConsultationDialog d(base.kb.root());
    d.resize(1200, 720);
    d.show();
    ASSERT_TRUE(d.load());
    d.selectEntry(0);
    auto* popup = child<QListWidget>(&d, "list");
    doubleClick(child<QLineEdit>(&d, "EdA1"));
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(items(popup), (QStringList{QString::fromUtf8("§ Sol"), QString::fromUtf8("§ Luna"), "Marte"}));
    EXPECT_EQ(popup->height(), 3 * 20 + 4);
    QTest::mouseClick(popup->viewport(), Qt::LeftButton);
    EXPECT_FALSE(popup->isVisible());
    doubleClick(child<QLineEdit>(&d, "EdS1"));
    EXPECT_EQ(items(popup), (QStringList{"Leo", "Aries"}));
    QTest::mouseClick(child<QLineEdit>(&d, "EdA1"), Qt::LeftButton);
    EXPECT_FALSE(popup->isVisible()) << "a click on a signature box hides it";
}

TEST(TherapiesWindow, RowsAlternateNotesAndWarningsAndThePosologyZooms) {
    RemedyRecord tilo = remedy("Tilo", "Insomnio");
    tilo.setWarnings("Somnolencia.");
    TherapyRecord pairing = therapy("Insomnio", "Tilo", "20 gotas antes de dormir");
    pairing.setNotes("Mejor en infusi\xF3n");
    const Base base({tilo}, {therapy("Gripe", "Sa\xFA"
                                              "co"),
                             pairing});
    TherapyConsultationDialog d(base.kb.root());
    d.resize(1200, 720);
    d.show();
    ASSERT_TRUE(d.load());
    EXPECT_EQ(items(child<QListWidget>(&d, "ListBox1")), (QStringList{"Gripe", "Insomnio"}));
    EXPECT_EQ(d.findChild<QWidget*>("EdA1"), nullptr) << "no signature boxes here";
    d.selectEntry(1);
    EXPECT_EQ(text(&d, "EdPato"), "Insomnio");
    click(button(&d, "SB1"));
    EXPECT_EQ(text(&d, "LabNote"), "Notas sobre Tilo / Insomnio");
    EXPECT_EQ(text(&d, "MemoNote"), QString::fromUtf8("Mejor en infusión"));
    click(button(&d, "SB1"));
    EXPECT_EQ(text(&d, "LabNote"), "Tilo - Advertencias");
    EXPECT_EQ(text(&d, "MemoNote"), "Somnolencia.");

    doubleClick(child<QLineEdit>(&d, "EdD1"));
    auto* zoom = child<QPlainTextEdit>(&d, "MemoZoom");
    ASSERT_TRUE(zoom->isVisible());
    EXPECT_EQ(zoom->toPlainText(), "20 gotas antes de dormir");
    QTest::mouseClick(zoom->viewport(), Qt::LeftButton);
    EXPECT_FALSE(zoom->isVisible());

    auto* info = child<QPlainTextEdit>(&d, "MemoInfo");
    click(button(&d, "BitBtn2"));
    EXPECT_TRUE(info->isVisible());
    doubleClick(info->viewport());
    EXPECT_FALSE(info->isVisible());

    // The window is kept between openings with its last consultation.
    ASSERT_TRUE(d.load());
    EXPECT_EQ(text(&d, "EdPato"), "Insomnio");
    EXPECT_EQ(rowText(&d, "EdP", 1), "Tilo");
    EXPECT_EQ(child<QListWidget>(&d, "ListBox1")->currentRow(), 1);

    // Without a pathology list the window opens on an empty list.
    std::filesystem::remove(base.kb.path(kPathologyListFile));
    MessageLog messages;
    EXPECT_TRUE(d.load());
    EXPECT_EQ(child<QListWidget>(&d, "ListBox1")->count(), 0);
    EXPECT_TRUE(messages.texts().empty());
}

TEST(ConsultationWindows, TheSearchBoxPositionsTheListOnTheStarterBase) {
    const TempDir dir;
    const auto data = std::filesystem::path(ATHANOR_SOURCE_DIR) / "data";
    for (const char* folder : {"OpzioneH", "OpzioneS"})
        std::filesystem::copy(data / folder, dir.path() / folder, std::filesystem::copy_options::recursive);
    setCollationLocale("es");
    RemedyConsultationDialog d{DataRoot(dir.path())};
    d.show();
    ASSERT_TRUE(d.load());
    auto* search = child<QLineEdit>(&d, "EdCerca");
    auto* list = child<QListWidget>(&d, "ListBox1");
    type(search, "tsa rome");
    EXPECT_EQ(list->currentItem()->text(), "TSA Romero");
    for (int i = 0; i < 4; ++i) key(search, Qt::Key_Backspace);
    type(search, "c");
    EXPECT_TRUE(list->currentItem()->text().startsWith("TSA C")) << list->currentItem()->text().toStdString();
    EXPECT_FALSE(list->item(list->currentRow() - 1)->text().startsWith("TSA C")) << "the first of them";
    key(search, Qt::Key_Return);
    EXPECT_FALSE(text(&d, "EdRime").isEmpty());
    EXPECT_FALSE(rowText(&d, "EdD", 1).empty());
    QTest::mouseClick(search, Qt::LeftButton);
    EXPECT_EQ(search->text(), "") << "a click into the box starts the search afresh";

    SymptomConsultationDialog symptoms{DataRoot(dir.path())};
    symptoms.show();
    ASSERT_TRUE(symptoms.load());
    auto* symptomSearch = child<QLineEdit>(&symptoms, "EdCerca");
    type(symptomSearch, "in");  // only the first letter is upper-cased: "In"
    const QString positioned = child<QListWidget>(&symptoms, "ListBox1")->currentItem()->text();
    EXPECT_TRUE(positioned.startsWith("In")) << positioned.toStdString();
    key(symptomSearch, Qt::Key_Return);
    EXPECT_EQ(text(&symptoms, "EdDist"), positioned);
    EXPECT_FALSE(rowText(&symptoms, "EdP", 1).empty());
}

TEST(Corvell, APlantWithEightySymptomsHasFourPages) {
    std::vector<PlantSymptomRecord> records;
    for (int i = 1; i <= 80; ++i)
        records.push_back(plantSymptom("Ortiga", "S\xEDntoma " + std::to_string(i), "Marte", "Aries", "Uso tradicional"));
    records.push_back(plantSymptom("Tilo", "Insomnio", "Venus", "Tauro"));
    const Base base({}, {}, records);
    PlantConsultationDialog d(base.kb.root());
    d.show();
    ASSERT_TRUE(d.load());
    EXPECT_EQ(items(child<QListWidget>(&d, "ListBox1")), (QStringList{"Ortiga", "Tilo"}));
    d.selectEntry(0);
    EXPECT_EQ(text(&d, "EdPianta"), "Ortiga");
    EXPECT_EQ(text(&d, "EdSegPri"), "Marte");
    const char* symptoms[] = {"ListBoxSintomi", "ListBoxSintomiBis", "ListBoxSintomiTer", "ListBoxSintomiQua"};
    const int counts[] = {26, 26, 26, 2};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(child<QListWidget>(&d, symptoms[i])->count(), counts[i]) << symptoms[i];
    EXPECT_EQ(child<QListWidget>(&d, "ListBoxAutoriQua")->count(), 2);
    EXPECT_EQ(child<QListWidget>(&d, "ListBoxSintomi")->item(0)->text(),
              QString::fromUtf8("Síntoma 1") + QString(120, '-'));
    EXPECT_TRUE(child<QWidget>(&d, "SpinButton1")->isVisible());
    EXPECT_EQ(text(&d, "LabPagine"), "Pagina 1/4");

    auto* down = child<QAbstractButton>(&d, "SpinButton1Down");
    auto* up = child<QAbstractButton>(&d, "SpinButton1Up");
    for (int i = 0; i < 4; ++i) click(down);
    EXPECT_EQ(text(&d, "LabPagine"), "Pagina 4/4");
    EXPECT_TRUE(child<QWidget>(&d, "ListBoxSintomiQua")->isVisible());
    EXPECT_FALSE(child<QWidget>(&d, "ListBoxSintomi")->isVisible());
    click(up);
    EXPECT_TRUE(child<QWidget>(&d, "ListBoxAutoriTer")->isVisible());

    d.selectEntry(1);
    EXPECT_EQ(d.page(), 1);
    EXPECT_FALSE(child<QWidget>(&d, "SpinButton1")->isVisible());
    EXPECT_EQ(child<QListWidget>(&d, "ListBoxSintomiQua")->count(), 0);
}

TEST(Corvell, ASymptomListsItsPlantsAndAClickShowsOne) {
    PlantSymptomRecord tilo = plantSymptom("Tilo", "Insomnio", "Venus", "Tauro", "Culpeper");
    tilo.synthesis = "Calma";
    PlantSymptomRecord melisa = plantSymptom("Melisa", "Insomnio", "J\xFApiter", "Piscis", "Uso tradicional");
    const Base base({}, {},
                    {tilo, plantSymptom("", "Fiebre", "", "", "Sin planta conocida"), melisa,
                     plantSymptom("", "Insomnio", "", "", "No se muestra")});
    PlantSymptomDialog d(base.kb.root());
    d.show();
    ASSERT_TRUE(d.load());
    auto* search = child<QLineEdit>(&d, "EditCerca");
    type(search, "i");
    key(search, Qt::Key_Return);
    EXPECT_EQ(text(&d, "EdSintomo"), "Insomnio");
    auto* plants = child<QListWidget>(&d, "ListBoxPiante");
    EXPECT_EQ(items(plants), (QStringList{"Tilo" + QString(40, '-'), "Melisa" + QString(40, '-')}));
    EXPECT_EQ(items(child<QListWidget>(&d, "ListBoxNum")), (QStringList{"0001", "0003"}));
    EXPECT_EQ(items(child<QListWidget>(&d, "ListBoxSintesi"))[0], "Calma");
    EXPECT_EQ(text(&d, "EdPianta"), "Melisa");  // the last match stays
    EXPECT_FALSE(child<QWidget>(&d, "EdAlternativa")->isVisible());
    QTest::mouseClick(plants->viewport(), Qt::LeftButton, {}, plants->visualItemRect(plants->item(0)).center());
    EXPECT_EQ(text(&d, "EdPianta"), "Tilo");
    EXPECT_EQ(text(&d, "EdAutori"), "Culpeper");

    d.selectEntry(0);  // "Fiebre": no plant, only the authors
    EXPECT_EQ(plants->count(), 0);
    EXPECT_TRUE(child<QWidget>(&d, "EdAlternativa")->isVisible());
    EXPECT_EQ(text(&d, "EdAlternativa"), "Sin planta conocida");
}

// ---- from the main window and from "Remedios para el tema" --------------------------

class ConsultationFromMainWindowTest : public ::testing::Test {
protected:
    ConsultationFromMainWindowTest() {
        const auto data = std::filesystem::path(ATHANOR_SOURCE_DIR) / "data";
        for (const char* dir : {"OpzioneH", "OpzioneS"})
            std::filesystem::copy(data / dir, folder.dir().path() / dir, std::filesystem::copy_options::recursive);
        window = std::make_unique<MainWindow>(folder.root());
        window->start();
        settle();
        click(child<QAbstractButton>(window.get(), "SBpass"));
        type(child<QLineEdit>(window.get(), "EdPass"), "VELTRIGAN");
        child<QTabWidget>(window.get(), "PageControl1")->setCurrentIndex(1);
    }

    ProgramFolderFixture folder;
    MessageLog messages;
    std::unique_ptr<MainWindow> window;
};

TEST_F(ConsultationFromMainWindowTest, EveryButtonOpensItsWindow) {
    const struct {
        const char* button;
        const char* window;
        const char* title;
    } cases[] = {
        {"BBSintomi", "FoSintom1", "Síntomas y Remedios Relacionados"},
        {"BitBtn2", "FoRimed", "Remedios y síntomas relacionados"},
        {"BitBtn3", "FoTerapi", "Terapias"},
        {"Bcorv1", "FoSintom3", nullptr},
        {"Bcorv2", "FoSintom2", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        auto* b = child<QPushButton>(window.get(), c.button);
        ASSERT_TRUE(b->isVisible());
        int listed = 0;
        QString name, title;
        whenModal<QDialog>([&](QDialog* d) {
            name = d->objectName();
            title = d->windowTitle();
            listed = child<QListWidget>(d, "ListBox1")->count();
            const QRect screen = d->screen()->availableGeometry();
            EXPECT_LE(d->width(), screen.width()) << "the window fits the screen";
            EXPECT_LE(d->height(), screen.height());
            d->accept();
        });
        click(b);
        EXPECT_EQ(name, c.window);
        if (c.title) {
            EXPECT_EQ(title, QString::fromUtf8(c.title));
        }
        EXPECT_GT(listed, 0);
    }
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(ConsultationFromMainWindowTest, ARemedyOfTheChartOpensTheRemedyWindowOnIt) {
    QString shown;
    whenModal<QDialog>([&](QDialog* d) {
        shown = text(d, "EdRime");
        EXPECT_EQ(d->objectName(), "FoRimed");
        EXPECT_FALSE(rowText(d, "EdD", 1).empty());
        d->accept();
    });
    window->showRemedy(QString::fromUtf8("QSPC Romero"));
    EXPECT_EQ(shown, "QSPC Romero");
}

class RecordingHost : public WindowHost {
public:
    explicit RecordingHost(Workstation& ws) : ws_(ws) {}
    QWidget* hostWidget() override { return nullptr; }
    Workstation& workstation() override { return ws_; }
    void setAction(const char*, std::function<void()>) override {}
    void reloadSubject() override {}
    void activate() override {}
    void runDialog(QDialog*, int) override {}
    void showRemedy(const QString& name) override { shown << name; }
    QStringList shown;

private:
    Workstation& ws_;
};

class ChartRemedyLinkTest : public ChartWindowFixture {};

TEST_F(ChartRemedyLinkTest, ADoubleClickOrEnterOnARemedyAsksForItsConsultation) {
    KnowledgeFile<RemedyRecord> db(folder.root().resolve(kRemedyDatabaseFile), RecordFile::Mode::ReadWrite);
    db.append(remedy("Cuprum", "Calambres", "Venus-Saturno", "Capricornio"));
    RecordingHost host(ws);
    ChartRemediesWindow window(ws);
    window.setHost(&host);
    window.show();
    window.refresh();
    auto* tree = child<QTreeWidget>(&window, "TreeRemedios");
    ASSERT_GT(tree->topLevelItemCount(), 0);
    const QString first = tree->topLevelItem(0)->text(0);
    const QRect at = tree->visualItemRect(tree->topLevelItem(0));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at.center());
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at.center());
    EXPECT_EQ(host.shown.size(), 1);
    tree->setFocus();
    tree->setCurrentItem(tree->topLevelItem(0));
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_EQ(host.shown, (QStringList{first, first}));
}

}  // namespace
}  // namespace athanor::test
