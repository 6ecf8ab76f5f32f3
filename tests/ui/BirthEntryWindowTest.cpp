#include "UiTestSupport.h"
#include "support/AtlasFiles.h"

#include "foundations/Calendar.h"
#include "ui/shell/MainWindow.h"
#include "ui/common/TextEditorWindow.h"
#include "subjects/BirthEntry.h"
#include "subjects/Localities.h"
#include "subjects/SubjectFiles.h"
#include "subjects/TimeZones.h"
#include "ui/subjects/BirthEntryDialog.h"
#include "ui/subjects/SaveSubjectDialog.h"

#include <QStatusBar>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QAction>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

namespace athanor::test {
namespace {

// ---- a small atlas: two lists, an Italian table file, the foreign data base ----------

long double jdOf(int y, int m, int d, int h = 0, int mi = 0) { return julianDayFromCivil(1, mi, h, y, m, d).jd; }

ZoneRecord change(long double jd, const char* code, double c) { return ZoneRecord{jd + kZoneDateOffset, code, c}; }

void writeAtlas(const TempDir& dir) {
    std::vector<LocalityRecord> italian;
    for (auto [name, lat, lon] : {std::tuple{"ALBA", 44.7L, 8.0333L},
                                  {"BARI", 41.1167L, 16.8667L},
                                  {"COMO", 45.8L, 9.0833L},
                                  {"FIRENZE", 43.7667L, 11.25L},
                                  {"GENOVA", 44.4167L, 8.95L},
                                  {"MILANO", 45.4667L, 9.1833L},
                                  {"NAPOLI", 40.85L, 14.25L},
                                  {"PALERMO", 38.1167L, 13.3667L},
                                  {"ROMA", 41.9L, 12.4833333333L},
                                  {"TORINO", 45.0667L, 7.7L},
                                  {"VENEZIA", 45.4333L, 12.3333L}}) {
        italian.push_back({name, lat, lon, 100000001, "ITALIA"});
    }
    std::vector<LocalityRecord> foreign;
    for (auto [name, country, lat, lon] : {std::tuple{"Amsterdam", "OLANDA", 52.3667L, 4.9L},
                                           {"Berlin", "GERMANIA", 52.5167L, 13.4L},
                                           {"Dublin", "IRLANDA", 53.35L, -6.2667L},
                                           {"Lisboa", "PORTOGALLO", 38.7167L, -9.1333L},
                                           {"London", "REGNO UNITO", 51.5072L, -0.1275L},
                                           {"Madrid", "SPAGNA", 40.4167L, -3.7L},
                                           {"M\xFCnchen", "GERMANIA", 48.1333L, 11.5667L},
                                           {"Paris", "FRANCIA", 48.8667L, 2.3333L},
                                           {"Wien", "AUSTRIA", 48.2L, 16.3667L},
                                           {"Z\xFCrich", "SVIZZERA", 47.3667L, 8.55L}}) {
        foreign.push_back({name, lat, lon, 100000002, country});
    }
    dir.write("Localita/ITALIA.LOC", listBytes(italian));
    dir.write("Localita/ESTERO.LOC", listBytes(foreign));
    dir.write("Calendar/00000001.CAL",
              tableBytes({change(2299160, "GREG", 0), change(jdOf(1893, 11, 1), "LMT ", -0.8322222),
                          change(jdOf(1893, 11, 1), "CET", -1), change(jdOf(1990, 3, 25, 2), "CEST", -2),
                          change(jdOf(1990, 9, 30, 3), "CET", -1)}));
    // Another table first, so that London's starts further on in the data base.
    const std::string other = tableBytes({change(2299160, "GREG", 0), change(jdOf(1900, 1, 1), "LMT ", 0),
                                          change(jdOf(1900, 1, 1), "CET", -1), ZoneRecord{0, "****", 0}});
    const std::string london = tableBytes({change(2361221, "GREG", 0), change(jdOf(1847, 12, 1), "LMT ", 0.0021),
                                           change(jdOf(1847, 12, 1), "GMT", 0), change(jdOf(1990, 3, 25, 1), "BST", -1),
                                           change(jdOf(1990, 10, 28, 2), "GMT", 0), ZoneRecord{0, "****", 0}});
    dir.write("Calendar/Database.cll", other + london);
    dir.write("Calendar/Elencal.002", "00000009.CAL  000000\r\n00000002.CAL  000004\r\n");
}

// ---- driving the keyboard as a person does: into whatever has the focus -------------

QWidget* focused() { return QApplication::focusWidget(); }

std::string focusedName() { return focused() ? focused()->objectName().toStdString() : std::string("(none)"); }

void typeHere(const QString& text) {
    ASSERT_NE(focused(), nullptr);
    for (QChar ch : text) type(focused(), QString(ch));
}

void keyHere(Qt::Key k) {
    ASSERT_NE(focused(), nullptr);
    key(focused(), k);
}

QStringList listLines(QDialog* d) {
    QStringList lines;
    auto* list = child<QListWidget>(d, "ListBox1");
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
}

void doubleClickLine(QListWidget* list, int row) {
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

QString text(QWidget* d, const char* name) { return child<QLineEdit>(d, name)->text(); }

// The messages as the log keeps them (UTF-8).
std::string shown(const char* cp1252) { return fromCp(cp1252).toStdString(); }

// The component that has the focus: a compound widget (the date drop-down) by its own name.
std::string focusedComponent() {
    for (QWidget* w = focused(); w; w = w->parentWidget())
        if (!w->objectName().isEmpty() && !w->objectName().startsWith("qt_")) return w->objectName().toStdString();
    return "(none)";
}

// The next `n` components Tab visits from the one in focus (Tab also steps through the
// day, month and year of the date drop-down: one component for all of them).
std::vector<std::string> tabChain(std::size_t n) {
    std::vector<std::string> names{focusedComponent()};
    for (int presses = 0; names.size() <= n && presses < 40; ++presses) {
        keyHere(Qt::Key_Tab);
        if (focusedComponent() != names.back()) names.push_back(focusedComponent());
    }
    return names;
}

class BirthEntryWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeAtlas(folder.dir());
        window = std::make_unique<MainWindow>(folder.root());
        window->start();
        settle();
        type(child<QLineEdit>(window.get(), "EdMainPass1"), "pivona");
        click(child<QPushButton>(window.get(), "BBok"));
    }

    // Opens the entry window from the main window and runs `work` in it.
    void inEntry(std::function<void(QDialog*)> work) {
        whenModal<BirthEntryDialog>([work](BirthEntryDialog* d) {
            settle();
            work(d);
            if (d->isVisible()) d->reject();
        });
        click(child<QPushButton>(window.get(), "BitBtnInputA"));
    }

    // Name, date and time typed as a person does, Enter and the full fields moving on.
    static void typeSubject(const QString& name, const QString& date) {
        auto* sogg = child<QLineEdit>(QApplication::activeModalWidget(), "EditSogg");
        sogg->setFocus();
        sogg->selectAll();
        typeHere(name);
        keyHere(Qt::Key_Return);
        typeHere(date);  // "ddmmyyyyhhmm"
        settle();
    }

    // A result (the look-up after a place is chosen) ready for "Continuar".
    static void romeSubject(QDialog* d) {
        typeSubject("rossi mario", "150719901015");
        EXPECT_EQ(focusedName(), "EditLocal");
        typeHere("roma");
        keyHere(Qt::Key_Return);
        settle();
        ASSERT_EQ(text(d, "EditFuso"), "-2");
    }

    ProgramFolderFixture folder;
    MessageLog messages;
    std::unique_ptr<MainWindow> window;
};

TEST_F(BirthEntryWindowTest, ASubjectBornInRomeIsTypedWithTheKeyboardAndSavedWithNotes) {
    bool saveWindowSeen = false;
    inEntry([&](QDialog* d) {
        EXPECT_EQ(text(d, "EditSogg"), "HOY") << "the very first opening";
        EXPECT_EQ(focusedName(), "EditSogg");
        EXPECT_EQ(text(d, "EditStato"), "ITALIA");
        EXPECT_FALSE(child<QPushButton>(d, "BBprosegui")->isEnabled());
        EXPECT_EQ(stateColourName(child<QLineEdit>(d, "EditLocal")), "red");

        child<QLineEdit>(d, "EditSogg")->selectAll();
        typeHere("rossi mario");
        EXPECT_EQ(text(d, "EditSogg"), "ROSSI MARIO");
        keyHere(Qt::Key_Return);
        EXPECT_EQ(focusedName(), "EditGiorno");
        // Each full field hands on to the next.
        const std::pair<const char*, const char*> steps[] = {
            {"15", "EditMese"}, {"07", "EditAnno"}, {"1990", "EditOra"}, {"10", "EditMinuti"}, {"15", "EditLocal"}};
        for (auto [typed, next] : steps) {
            typeHere(typed);
            EXPECT_EQ(focusedName(), next) << "after " << typed;
        }
        settle();
        for (const char* f : {"EditGiorno", "EditMese", "EditAnno", "EditOra", "EditMinuti"})
            EXPECT_EQ(stateColourName(child<QLineEdit>(d, f)), "aqua") << f;

        // The first letters: the list moves and shows selected the first place they begin,
        // which is what Enter chooses.
        typeHere("rom");
        EXPECT_EQ(text(d, "EditLocal"), "ROM");
        auto* list = child<QListWidget>(d, "ListBox1");
        ASSERT_TRUE(list->currentItem());
        EXPECT_EQ(list->currentItem()->text(), QString::fromUtf8("ROMA — ITALIA"))
            << listLines(d).join('|').toStdString();
        keyHere(Qt::Key_Return);
        EXPECT_TRUE(messages.texts().empty());
        EXPECT_EQ(text(d, "EditLocal"), "ROMA");
        EXPECT_EQ(stateColourName(child<QLineEdit>(d, "EditLocal")), "aqua");
        settle();

        // The look-up: summer time in Rome.
        EXPECT_EQ(text(d, "EditCalend"), "GREG");
        EXPECT_EQ(text(d, "EditFuso"), "-2");
        EXPECT_FALSE(child<QCheckBox>(d, "CheckBoxLocale")->isChecked());
        EXPECT_EQ(text(d, "EditCoord"), "41N54-012E29");
        EXPECT_EQ(text(d, "EditLocEstesa"), "ROMA");
        EXPECT_EQ(text(d, "EditStato"), "ITALIA");
        EXPECT_EQ(text(d, "EditDataEstesa"), "15/07/1990 10:15");
        EXPECT_EQ(text(d, "EditJD"), "2448087,843");
        EXPECT_FALSE(child<QLabel>(d, "LabNote")->isVisible());
        EXPECT_FALSE(child<QGroupBox>(d, "PanelResult")->isEnabled()) << "locked";
        EXPECT_EQ(stateColourName(child<QLineEdit>(d, "EditFuso")), "teal");
        EXPECT_EQ(child<QToolButton>(d, "BBLock")->property("glyph").toString(), "LockShut");
        auto* records = child<QComboBox>(d, "ComboBox2");
        EXPECT_FALSE(records->isVisible());
        QTest::mouseDClick(child<QLabel>(d, "Label1"), Qt::LeftButton);
        EXPECT_TRUE(records->isVisible());
        ASSERT_EQ(records->count(), 5);
        EXPECT_EQ(records->itemText(3).toStdString(), "25/03/1990 02:00 -2 CEST");

        whenModal<SaveSubjectDialog>([&](SaveSubjectDialog* s) {
            saveWindowSeen = true;
            EXPECT_EQ(text(s, "EditNomeSogg"), "ROSSI MARIO");
            EXPECT_EQ(text(s, "EditDataNasc"), "15/07/1990 10:15");
            EXPECT_EQ(text(s, "EditGmt"), "+2");
            EXPECT_EQ(text(s, "EditCalend"), "GREGORIANO");
            EXPECT_EQ(text(s, "EditLocalita"), "ROMA");
            EXPECT_EQ(text(s, "EditCoord"), "41N54-012E29");
            EXPECT_EQ(text(s, "EditStato"), "ITALIA");
            // The same day in Universal Time as the entry window's 2448087,843.
            EXPECT_TRUE(text(s, "EditJd").startsWith("2448087,843")) << text(s, "EditJd").toStdString();
            EXPECT_EQ(text(s, "EditArchi"), "BASE");
            auto* archives = child<QListWidget>(s, "ListBox1");
            EXPECT_EQ(archives->findItems("TMPR (temporaneo)", Qt::MatchExactly).size(), 1);
            EXPECT_EQ(focusedName(), "EditMemo1");
            typeHere("allergia ai pollini");
            keyHere(Qt::Key_Return);
            EXPECT_EQ(focusedName(), "EditMemo2");
            keyHere(Qt::Key_Down);
            EXPECT_EQ(focusedName(), "EditMemo3");
            keyHere(Qt::Key_Up);
            typeHere("dorme poco");
            keyHere(Qt::Key_Down);
            keyHere(Qt::Key_Return);
            EXPECT_EQ(focusedName(), "EditMemo4");
            keyHere(Qt::Key_Return);
            EXPECT_EQ(focusedName(), "BitBtnRegistra");
            click(child<QPushButton>(s, "BitBtnRegistra"));
        });
        click(child<QPushButton>(d, "BBprosegui"));
        EXPECT_FALSE(d->isVisible()) << "the save window closes the entry window";
    });
    EXPECT_TRUE(saveWindowSeen);
    EXPECT_EQ(window->statusBar()->currentMessage(), "ROSSI MARIO guardado en el archivo BASE");

    Archive base(folder.root(), "BASE");
    ASSERT_EQ(base.count(), 1);
    EXPECT_EQ(base.readEntry(1), makeEntryText("ROSSI MARIO", 1));
    const BirthRecord r = base.readRecord(1);
    EXPECT_EQ(r.birthStamp, "199007151015-2");
    EXPECT_EQ(r.placeText, "41N54-012E29ROMA");
    EXPECT_EQ(r.calendarCode, "GR");
    EXPECT_EQ(r.notesNumber, "00001");
    EXPECT_EQ(base.readNotes(1).lines[0], "ALLERGIA AI POLLINI");
    EXPECT_EQ(base.readNotes(1).lines[1], "DORME POCO");
    EXPECT_EQ(folder.lines("FileDum\\MMDatArc.dum"),
              (std::vector<std::string>{"BASE", makeEntryText("ROSSI MARIO", 1), "1", "ROSSI MARIO"}));

    // Back in the main window: the new subject and its chart.
    const QStringList lines = child<QPlainTextEdit>(window.get(), "MemoDati")->toPlainText().split('\n');
    ASSERT_GE(lines.size(), 6);
    EXPECT_EQ(lines[0], "ROSSI MARIO");
    EXPECT_EQ(lines[1], "Nascita 15/07/1990 10:15  Correz. -2");
    EXPECT_EQ(lines[2], QString::fromUtf8("Località: ROMA"));
    EXPECT_EQ(lines[5], "Calendario GREGORIANO");
    EXPECT_TRUE(child<QPlainTextEdit>(window.get(), "MemoAnnotaz")->toPlainText().startsWith("ALLERGIA AI POLLINI"));
    const ChartState& chart = window->workstation().chart;
    EXPECT_NEAR(static_cast<double>(chart.ChartJulianDay), 2448087.84375, 1e-6);
    EXPECT_EQ(chart.BodySign[body::Sun], 4) << "mid-July: the Sun in Cancer";
}

TEST_F(BirthEntryWindowTest, ASubjectBornInLondonIsPickedInTheForeignListAndSavedWithATextDocument) {
    inEntry([&](QDialog* d) {
        typeSubject("smith john", "100819900905");
        // The Italian list first: no London there.
        click(child<QPushButton>(d, "BBperson"));
        EXPECT_EQ(focusedName(), "EditLocal");
        EXPECT_TRUE(text(d, "EditStato").isEmpty()) << "switching lists empties the results";
        typeHere("lon");
        EXPECT_EQ(text(d, "EditLocal"), "Lon") << "the foreign list upper-cases the first letter only";
        const QStringList lines = listLines(d);
        const qsizetype row = lines.indexOf(QString::fromUtf8("London — REGNO UNITO"));
        ASSERT_GE(row, 0) << lines.join('|').toStdString();
        doubleClickLine(child<QListWidget>(d, "ListBox1"), static_cast<int>(row));
        EXPECT_EQ(text(d, "EditLocal"), "London");
        settle();
        EXPECT_EQ(text(d, "EditFuso"), "-1") << "British summer time";
        EXPECT_EQ(text(d, "EditCoord"), "51N30-000W08");
        EXPECT_EQ(text(d, "EditStato"), "REGNO UNITO");
        EXPECT_EQ(text(d, "EditCalend"), "GREG");

        // Back to the Italian list and once more to the foreign one: the place is to be chosen again.
        click(child<QPushButton>(d, "BBItalia"));
        settle();
        EXPECT_FALSE(child<QPushButton>(d, "BBprosegui")->isEnabled());
        click(child<QPushButton>(d, "BBperson"));
        typeHere("munchen");  // the accented letter typed plain lands on the same place
        EXPECT_TRUE(listLines(d).contains(QString::fromUtf8("München — GERMANIA")));
        keyHere(Qt::Key_Return);
        EXPECT_EQ(text(d, "EditLocal"), QString::fromUtf8("München"));
        // Not München after all: a click into the field starts again.
        QTest::mouseClick(child<QLineEdit>(d, "EditLocal"), Qt::LeftButton);
        EXPECT_TRUE(text(d, "EditLocal").isEmpty());
        EXPECT_EQ(stateColourName(child<QLineEdit>(d, "EditLocal")), "red");
        child<QLineEdit>(d, "EditLocal")->setFocus();
        typeHere("london");
        keyHere(Qt::Key_Return);
        settle();
        ASSERT_EQ(text(d, "EditLocEstesa"), "London");

        whenModal<SaveSubjectDialog>([&](SaveSubjectDialog* s) {
            EXPECT_EQ(text(s, "EditGmt"), "+1");
            typeHere("visita del 2024");
            whenModal<TextEditorWindow>([](TextEditorWindow* editor) {
                auto* memo = child<QTextEdit>(editor, "Editor");
                EXPECT_EQ(memo->toPlainText(), "SMITH JOHN");
                memo->moveCursor(QTextCursor::End);
                memo->insertPlainText("\nPrimera consulta.");
                editor->findChild<QAction*>("FileSave")->trigger();
                editor->close();
            });
            click(child<QPushButton>(s, "BBregText"));
            EXPECT_FALSE(s->isVisible());
        });
        click(child<QPushButton>(d, "BBprosegui"));
    });

    Archive base(folder.root(), "BASE");
    ASSERT_EQ(base.count(), 1);
    const BirthRecord r = base.readRecord(1);
    EXPECT_EQ(r.birthStamp, "199008100905-1");
    EXPECT_EQ(r.placeText, "51N30-000W08London");
    EXPECT_EQ(r.country, "REGNO UNITO");
    const NotesRecord notes = base.readNotes(1);
    EXPECT_EQ(notes.lines[0], "VISITA DEL 2024");
    EXPECT_EQ(notes.documentNumber(), "00001");
    EXPECT_EQ(folder.lines("BASEtxt\\00001.txt"), (std::vector<std::string>{"SMITH JOHN", "Primera consulta."}));
    EXPECT_EQ(folder.lines("FileDum\\StrText.dum"), (std::vector<std::string>{"BASE", "00001"}));
    EXPECT_TRUE(child<QPushButton>(window.get(), "BBApriTesto")->isVisible());
    const QStringList lines = child<QPlainTextEdit>(window.get(), "MemoDati")->toPlainText().split('\n');
    EXPECT_EQ(lines[0], "SMITH JOHN");
    EXPECT_EQ(lines[1], "Nascita 10/08/1990 09:05  Correz. -1");
    EXPECT_NEAR(static_cast<double>(window->workstation().chart.ChartJulianDay), jdOf(1990, 8, 10, 8, 5), 1e-6);
}

TEST_F(BirthEntryWindowTest, TheDateAndPlaceFieldsAnswerBadInput) {
    inEntry([&](QDialog* d) {
        auto* local = child<QLineEdit>(d, "EditLocal");
        local->setFocus();
        typeHere("roma");
        keyHere(Qt::Key_Return);
        EXPECT_EQ(messages.last(), kMessageEnterDates);
        EXPECT_EQ(messages.messages.back().first, MessageKind::Information);
        messages.clear();

        // The year is reported as soon as it is whole, and the keys typed on reach the field.
        typeSubject("bianchi anna", "01012081");
        EXPECT_EQ(messages.texts(), (std::vector<std::string>{kMessageBadDate}));
        EXPECT_EQ(messages.messages.back().first, MessageKind::Error);
        auto* year = child<QLineEdit>(d, "EditAnno");
        EXPECT_TRUE(year->text().isEmpty());
        EXPECT_EQ(stateColourName(year), "red");
        EXPECT_EQ(focusedName(), "EditAnno");
        EXPECT_EQ(stateColourName(child<QLineEdit>(d, "EditMese")), "aqua");
        messages.clear();

        // Arrows: Left back to the month, Down from the month to the minutes, Up back.
        keyHere(Qt::Key_Left);
        EXPECT_EQ(focusedName(), "EditMese");
        keyHere(Qt::Key_Down);
        EXPECT_EQ(focusedName(), "EditMinuti");
        keyHere(Qt::Key_Up);
        EXPECT_EQ(focusedName(), "EditMese");
        keyHere(Qt::Key_Right);
        EXPECT_EQ(focusedName(), "EditAnno");
        typeHere("1985");
        EXPECT_EQ(focusedName(), "EditOra");
        typeHere("1200");
        settle();
        EXPECT_TRUE(messages.texts().empty());

        local->setFocus();
        typeHere("zzz");
        keyHere(Qt::Key_Return);
        EXPECT_EQ(messages.texts(), (std::vector<std::string>{kMessageDoubleClickList}));
        EXPECT_EQ(stateColourName(local), "red");
        keyHere(Qt::Key_Right);
        EXPECT_EQ(focusedName(), "EditSogg");
    });
}

TEST_F(BirthEntryWindowTest, ADateThatDoesNotExistIsRefusedOnTheDayField) {
    inEntry([&](QDialog* d) {
        typeSubject("verdi luca", "310219901200");
        EXPECT_EQ(messages.texts(), (std::vector<std::string>{kMessageBadDate}));
        auto* day = child<QLineEdit>(d, "EditGiorno");
        EXPECT_TRUE(day->text().isEmpty());
        EXPECT_EQ(stateColourName(day), "red");
        EXPECT_EQ(focusedName(), "EditGiorno");

        // 29/02/1900 exists only in the Julian calendar: Rome's Gregorian look-up refuses it.
        messages.clear();
        typeSubject("verdi luca", "290219001200");
        EXPECT_TRUE(messages.texts().empty());
        child<QLineEdit>(d, "EditLocal")->setFocus();
        typeHere("roma");
        keyHere(Qt::Key_Return);
        settle();
        EXPECT_EQ(messages.texts(), (std::vector<std::string>{kMessageBadDate}));
        EXPECT_TRUE(text(d, "EditCoord").isEmpty());
        EXPECT_FALSE(child<QPushButton>(d, "BBprosegui")->isEnabled());
    });
}

TEST_F(BirthEntryWindowTest, RetypingThePlaceForgetsTheChosenOne) {
    inEntry([&](QDialog* d) {
        typeSubject("verdi luca", "140519732215");
        typeHere("milano");
        keyHere(Qt::Key_Return);
        settle();
        auto* proceed = child<QPushButton>(d, "BBprosegui");
        EXPECT_EQ(text(d, "EditLocEstesa"), "MILANO");
        EXPECT_TRUE(proceed->isEnabled());

        // One more letter: the old place must not be saved under the new text.
        typeHere("x");
        settle();
        EXPECT_EQ(text(d, "EditLocal"), "MILANOX");
        EXPECT_EQ(text(d, "EditLocEstesa"), "");
        EXPECT_EQ(text(d, "EditCoord"), "");
        EXPECT_FALSE(proceed->isEnabled());

        keyHere(Qt::Key_Backspace);
        keyHere(Qt::Key_Return);
        settle();
        EXPECT_EQ(text(d, "EditLocEstesa"), "MILANO");
        EXPECT_TRUE(proceed->isEnabled());
    });
}

TEST_F(BirthEntryWindowTest, ContinuarNamesTheFirstMissingPieceAndSavesNothing) {
    struct Case {
        const char* field;
        const char* value;
        const char* message;
    };
    const Case cases[] = {
        {"EditSogg", "", kMessageNoName},
        {"EditCalend", "JUL", kMessageNoCalendar},
        {"EditLocEstesa", "", kMessageNoLocality},
        {"EditCoord", "41N54-190E00", kMessageBadCoordinates},
        {"EditFuso", "", kMessageNoCorrection},
        {"EditMinuti", "", ""},  // an incomplete date: nothing said, nothing done
        {"EditMinuti", "75", kMessageBadDate},
    };
    inEntry([&](QDialog* d) {
        romeSubject(d);
        for (const auto& c : cases) {
            messages.clear();
            auto* lock = child<QToolButton>(d, "BBLock");
            lock->click();
            EXPECT_TRUE(child<QGroupBox>(d, "PanelResult")->isEnabled());
            EXPECT_EQ(stateColourName(child<QLineEdit>(d, "EditCoord")), "aqua");
            auto* field = child<QLineEdit>(d, c.field);
            const QString before = field->text();
            field->setText(c.value);
            click(child<QPushButton>(d, "BBprosegui"));
            EXPECT_TRUE(d->isVisible()) << c.field;
            EXPECT_EQ(messages.texts(),
                      c.message[0] ? std::vector<std::string>{shown(c.message)} : std::vector<std::string>{})
                << c.field;
            if (c.message[0]) {
                const bool isDate = std::string(c.message) == kMessageBadDate;
                EXPECT_EQ(messages.messages.back().first, isDate ? MessageKind::Error : MessageKind::Warning);
            }
            EXPECT_FALSE(child<QGroupBox>(d, "PanelResult")->isEnabled()) << "Continuar locks the results first";
            field->setText(before);
        }
    });
    EXPECT_EQ(Archive(folder.root(), "BASE").count(), 0);
    EXPECT_EQ(Archive(folder.root(), "BASE").birthRecordCount(), 1);
}

TEST_F(BirthEntryWindowTest, UnlockedResultsCanBeCorrectedByHand) {
    inEntry([&](QDialog* d) {
        romeSubject(d);
        child<QToolButton>(d, "BBLock")->click();
        EXPECT_EQ(child<QToolButton>(d, "BBLock")->property("glyph").toString(), "LockOpen");

        // Local mean time of 12 deg 30' east, then of 12 deg 30' west.
        auto* coord = child<QLineEdit>(d, "EditCoord");
        auto* localTime = child<QCheckBox>(d, "CheckBoxLocale");
        coord->setText("41N54-012E30");
        localTime->click();
        EXPECT_EQ(text(d, "EditFuso"), "-0,83333333");
        EXPECT_TRUE(child<QLineEdit>(d, "EditFuso")->isReadOnly());
        EXPECT_EQ(stateColourName(child<QLineEdit>(d, "EditFuso")), "teal");
        localTime->click();
        EXPECT_TRUE(text(d, "EditFuso").isEmpty());
        EXPECT_EQ(stateColourName(child<QLineEdit>(d, "EditFuso")), "aqua");
        coord->setText("41N54-012W30");
        localTime->click();
        EXPECT_EQ(text(d, "EditFuso"), "+0,83333333");
        localTime->click();
        auto* fuso = child<QLineEdit>(d, "EditFuso");
        fuso->setFocus();
        typeHere("+10,75x");
        EXPECT_EQ(fuso->text(), "+10,75") << "six characters may be typed";

        // The manual panel: the hour form builds the degrees.
        QTest::mouseDClick(coord, Qt::LeftButton);
        auto* panel = child<QWidget>(d, "PanelMan");
        ASSERT_TRUE(panel->isVisible());
        EXPECT_EQ(text(d, "EditGrdLat"), "41");
        EXPECT_EQ(text(d, "EditGrdLon"), "012");
        EXPECT_EQ(focusedName(), "EditGrdLat");
        keyHere(Qt::Key_Down);
        EXPECT_EQ(focusedName(), "EditGrdLon");
        child<QLineEdit>(d, "EditOreLon")->setFocus(Qt::MouseFocusReason);
        EXPECT_TRUE(text(d, "EditGrdLon").isEmpty()) << "the hour form empties the degrees";
        typeHere("004958e");  // 0 h 49 m 58 s east: each full field moves on
        EXPECT_EQ(focusedName(), "BitBtn1");
        EXPECT_EQ(text(d, "EditGrdLon"), "012");
        EXPECT_EQ(text(d, "EditPriLon"), "30");
        click(child<QPushButton>(d, "BitBtn1"));
        EXPECT_FALSE(panel->isVisible());
        EXPECT_EQ(coord->text(), "41N54-012E30");

        // A latitude beyond the pole is refused.
        QTest::mouseDClick(coord, Qt::LeftButton);
        auto* lat = child<QLineEdit>(d, "EditGrdLat");
        lat->selectAll();
        typeHere("95");
        EXPECT_TRUE(lat->text().isEmpty());
        EXPECT_EQ(stateColourName(lat), "red");
        click(child<QPushButton>(d, "BitBtn1"));
        EXPECT_EQ(messages.last(), kMessageBadManualCoordinates);
        EXPECT_TRUE(panel->isVisible());
        click(child<QPushButton>(d, "BitBtn2"));
        EXPECT_FALSE(panel->isVisible());
        EXPECT_EQ(coord->text(), "41N54-012E30");

        // A correction typed by hand moves the Julian day with it: one hour less is 1/24 of a day.
        fuso->setFocus();
        fuso->selectAll();
        typeHere("-2");
        const QString minusTwo = text(d, "EditJD");
        fuso->selectAll();
        typeHere("-1");
        EXPECT_NEAR(text(d, "EditJD").replace(',', '.').toDouble() - QString(minusTwo).replace(',', '.').toDouble(),
                    1.0 / 24, 0.001);
        fuso->selectAll();
        typeHere("-2");

        // The calendar field recomputes the Julian day.
        QString greg = text(d, "EditJD");
        auto* calend = child<QLineEdit>(d, "EditCalend");
        calend->setFocus();
        calend->selectAll();
        typeHere("giu");
        EXPECT_TRUE(text(d, "EditJD").isEmpty());
        typeHere("l");
        EXPECT_EQ(calend->text(), "GIUL");
        EXPECT_NE(text(d, "EditJD"), greg);
        EXPECT_NEAR(text(d, "EditJD").replace(',', '.').toDouble() - greg.replace(',', '.').toDouble(), 13.0, 0.01)
            << "the Julian calendar runs 13 days behind in 1990";

        // Double click turns the place name to upper case.
        auto* place = child<QLineEdit>(d, "EditLocEstesa");
        place->setText("Roma centro");
        QTest::mouseDClick(place, Qt::LeftButton);
        EXPECT_EQ(place->text(), "ROMA CENTRO");

        child<QToolButton>(d, "BBLock")->click();
        EXPECT_FALSE(child<QGroupBox>(d, "PanelResult")->isEnabled());
        EXPECT_EQ(stateColourName(coord), "teal");
    });
}

TEST_F(BirthEntryWindowTest, ANameTypedAfterTheLookUpKeepsItsBlanksAndTheCorrections) {
    inEntry([&](QDialog* d) {
        romeSubject(d);
        child<QToolButton>(d, "BBLock")->click();
        auto* fuso = child<QLineEdit>(d, "EditFuso");
        fuso->setText("-1");
        child<QToolButton>(d, "BBLock")->click();
        auto* name = child<QLineEdit>(d, "EditSogg");
        name->setFocus();
        name->end(false);
        typeHere(" jr ");
        settle();
        typeHere("x");
        settle();
        EXPECT_EQ(name->text(), "ROSSI MARIO JR X");
        EXPECT_EQ(fuso->text(), "-1") << "the correction made by hand stays";
        name->selectAll();
        key(name, Qt::Key_Backspace);
        settle();
        EXPECT_FALSE(child<QPushButton>(d, "BBprosegui")->isEnabled()) << "no name, no Continuar";
        typeHere("b");
        EXPECT_TRUE(child<QPushButton>(d, "BBprosegui")->isEnabled());
    });
}

TEST_F(BirthEntryWindowTest, OldBirthsUseLocalMeanTimeAndRecentOnesShowTheNote) {
    inEntry([&](QDialog* d) {
        typeSubject("verdi giuseppe", "101018501200");
        typeHere("roma");
        keyHere(Qt::Key_Return);
        settle();
        EXPECT_TRUE(child<QCheckBox>(d, "CheckBoxLocale")->isChecked());
        EXPECT_EQ(text(d, "EditFuso"), "-0,83222222");
        EXPECT_FALSE(child<QLabel>(d, "LabNote")->isVisible());

        auto* year = child<QLineEdit>(d, "EditAnno");
        year->setFocus();
        year->selectAll();
        typeHere("2015");
        settle();
        EXPECT_FALSE(child<QCheckBox>(d, "CheckBoxLocale")->isChecked());
        EXPECT_EQ(text(d, "EditFuso"), "-1");
        EXPECT_TRUE(child<QLabel>(d, "LabNote")->isVisible());
        EXPECT_EQ(child<QLabel>(d, "LabNote")->text(), kOutdatedTimesNote);
    });
}

TEST_F(BirthEntryWindowTest, TheListWindowMovesWithItsKeysAndScrollBar) {
    inEntry([&](QDialog* d) {
        auto* list = child<QListWidget>(d, "ListBox1");
        ASSERT_EQ(list->count(), 7);
        EXPECT_EQ(list->item(0)->text(), QString::fromUtf8("ALBA — ITALIA"));
        list->setFocus();
        list->setCurrentRow(6);
        keyHere(Qt::Key_Down);
        EXPECT_EQ(list->item(0)->text(), QString::fromUtf8("BARI — ITALIA"));
        EXPECT_EQ(list->currentRow(), 6);
        auto* bar = child<QScrollBar>(d, "ScrollBar1");
        EXPECT_EQ(bar->value(), 5);
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        EXPECT_EQ(list->item(0)->text(), QString::fromUtf8("COMO — ITALIA"));
        for (int i = 0; i < 4; ++i) bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        EXPECT_EQ(list->item(0)->text(), QString::fromUtf8("GENOVA — ITALIA"))
            << "the window stops at the end of the list";
        EXPECT_EQ(list->item(6)->text(), QString::fromUtf8("VENEZIA — ITALIA"));
        list->setCurrentRow(0);
        keyHere(Qt::Key_Up);
        EXPECT_EQ(list->item(0)->text(), QString::fromUtf8("FIRENZE — ITALIA"));
        list->setCurrentRow(3);
        keyHere(Qt::Key_Return);
        EXPECT_EQ(text(d, "EditLocal"), "NAPOLI");
        EXPECT_TRUE(messages.texts().empty());
    });
}

TEST_F(BirthEntryWindowTest, TabFollowsTheReadingOrder) {
    inEntry([&](QDialog* d) {
        EXPECT_EQ(tabChain(14),
                  (std::vector<std::string>{"EditSogg", "EditGiorno", "EditMese", "EditAnno", "EditOra", "EditMinuti",
                                            "DateTimePicker1", "BitBtnOggi", "EditLocal", "ListBox1", "BBItalia",
                                            "BBperson", "BBLock", "BBRitorna", "EditSogg"}))
            << "locked results and a disabled Continuar are passed by";
        romeSubject(d);
        child<QToolButton>(d, "BBLock")->click();
        child<QLineEdit>(d, "EditLocEstesa")->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(tabChain(9),
                  (std::vector<std::string>{"EditLocEstesa", "EditStato", "EditCoord", "EditFuso", "EditCalend",
                                            "CheckBoxLocale", "BBLock", "BBprosegui", "BBRitorna", "EditSogg"}));
        whenModal<SaveSubjectDialog>([](SaveSubjectDialog* s) {
            EXPECT_EQ(tabChain(8),
                      (std::vector<std::string>{"EditMemo1", "EditMemo2", "EditMemo3", "EditMemo4", "BitBtnRegistra",
                                                "BBregText", "BBannulla", "ListBox1", "EditMemo1"}));
            s->reject();
        });
        click(child<QPushButton>(d, "BBprosegui"));
    });
}

TEST_F(BirthEntryWindowTest, GivingUpWritesNothingAndTheNameStaysForTheNextOpening) {
    inEntry([&](QDialog* d) {
        romeSubject(d);
        whenModal<SaveSubjectDialog>([](SaveSubjectDialog* s) { click(child<QPushButton>(s, "BBannulla")); });
        click(child<QPushButton>(d, "BBprosegui"));
        // Back in the entry window with everything typed, ready to correct and continue.
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(text(d, "EditGiorno"), "15");
        EXPECT_EQ(text(d, "EditLocEstesa"), "ROMA");
        EXPECT_EQ(text(d, "EditFuso"), "-2");
        EXPECT_TRUE(child<QPushButton>(d, "BBprosegui")->isEnabled());
        click(child<QPushButton>(d, "BBRitorna"));
        EXPECT_FALSE(d->isVisible());
    });
    inEntry([&](QDialog* d) {
        EXPECT_EQ(text(d, "EditSogg"), "ROSSI MARIO");
        EXPECT_TRUE(text(d, "EditGiorno").isEmpty());
        EXPECT_TRUE(text(d, "EditFuso").isEmpty());
        click(child<QPushButton>(d, "BitBtnOggi"));
        const QDate today = QDate::currentDate();
        EXPECT_EQ(text(d, "EditAnno").toInt(), today.year());
        EXPECT_EQ(text(d, "EditMese").size(), 2);
        QCalendarWidget* calendar = child<QDateEdit>(d, "DateTimePicker1")->calendarWidget();
        EXPECT_EQ(calendar->selectedDate(), today) << "the drop-down opens on today";
        calendar->setSelectedDate(QDate(1970, 2, 3));
        emit calendar->clicked(QDate(1970, 2, 3));
        EXPECT_EQ(text(d, "EditGiorno"), "03");
        EXPECT_EQ(text(d, "EditMese"), "02");
        EXPECT_EQ(text(d, "EditAnno"), "1970");
        click(child<QPushButton>(d, "BBRitorna"));
        EXPECT_FALSE(d->isVisible());
    });
    EXPECT_EQ(Archive(folder.root(), "BASE").count(), 0);
    EXPECT_EQ(loadCurrent(folder.root()).entryText, kIndexHeaderText);
    EXPECT_TRUE(messages.texts().empty());
}

}  // namespace
}  // namespace athanor::test
