#include "ChartWindowFixture.h"
#include "ui/common/PageWidget.h"
#include "ui/charts/AnalysisWindow.h"
#include "foundations/Format.h"
#include "interpretation/AnalysisKnowledge.h"
#include "interpretation/Sectors.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace athanor::test {
namespace {

class AnalysisWindowTest : public ChartWindowFixture {
protected:
    void open() {
        window = std::make_unique<AnalysisWindow>(ws);
        window->resize(1400, 800);
        window->show();
        window->drawPending();
        settle();
    }
    void press(const char* button) { click(child<QAbstractButton>(window.get(), button)); }
    std::string memo(const char* name) const {
        return child<QPlainTextEdit>(window.get(), name)->toPlainText().toStdString();
    }
    bool visible(const char* name) const { return child<QWidget>(window.get(), name)->isVisible(); }
    void clickAt(QPoint p) { QTest::mouseClick(window->drawingArea(), Qt::LeftButton, Qt::NoModifier, p); }
    QPoint glyph(WheelHit::Kind kind, int number) const {
        for (const WheelHit& h : window->wheelHits())
            if (h.kind == kind && h.number == number) return window->areaPoint(h.y, h.x);
        ADD_FAILURE() << "no glyph " << number;
        return {};
    }
    static std::string utf8(const std::string& cp) { return fromCp(cp).toStdString(); }

    MessageLog messages;
    std::unique_ptr<AnalysisWindow> window;
};

TEST_F(AnalysisWindowTest, OpensOnTheWheelWithTheSubjectAndTheFirstMessage) {
    open();
    EXPECT_EQ(window->wheelHits().size(), 23u) << "12 signs and 11 bodies";
    EXPECT_EQ(child<QLineEdit>(window.get(), "EdNome")->text(), "Prueba Rossi Maria");
    EXPECT_EQ(child<QLineEdit>(window.get(), "EdData")->text(), "12/05/1975 08:30");
    EXPECT_EQ(child<QLineEdit>(window.get(), "EdCoordi")->text(), "41N54-012E29");
    EXPECT_EQ(memo("Memo1"), utf8(section(1)));
    EXPECT_TRUE(folder.root().exists(kPositionCodesFile)) << "the wheel writes the position codes";
    EXPECT_TRUE(messages.messages.empty()) << messages.last();
    window->activateWindow();
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible()) << "Escape leaves the window";
}

TEST_F(AnalysisWindowTest, EachButtonShowsItsViewsInTurnWithTheirMessages) {
    open();
    const struct {
        const char* button;
        std::vector<int> messages;
    } cases[] = {
        {"BBstoffa", {5, 6, 7, 8, 5}},       {"BBcoordi", {2, 3, 4, 2}},
        {"BBaspetti", {10, 24, 25, 26, 10}}, {"BBEnergi", {11, 12, 13, 11}},
        {"BBantisce", {14, 15, 16, 17, 14}}, {"BBdodecate", {18, 18}},
        {"BBmaestri", {22, 23, 22}},         {"BBarchetip", {9, 9}},
    };
    for (const auto& c : cases) {
        for (size_t i = 0; i < c.messages.size(); ++i) {
            press(c.button);
            EXPECT_EQ(memo("Memo1"), utf8(section(c.messages[i]))) << c.button << " click " << i + 1;
        }
    }
    EXPECT_TRUE(messages.messages.empty()) << messages.last();
}

TEST_F(AnalysisWindowTest, ReturningToAButtonStartsItsCycleAgain) {
    open();
    press("BBcoordi");
    EXPECT_TRUE(visible("Panel3")) << "the terms, decans and decadas lists";
    EXPECT_NE(memo("MemoAspetti").find("PLANETAS EN LOS DECANOS"), std::string::npos);
    press("BBaspetti");
    EXPECT_EQ(memo("MemoAspetti").rfind("ASPECTOS PLANETARIOS", 0), 0u);
    press("BBcoordi");
    EXPECT_EQ(window->shownView(), 1);
    EXPECT_EQ(memo("Memo1"), utf8(section(2)));
    press("BBstoffa");
    EXPECT_FALSE(visible("Panel3")) << "the weave has no panel";
}

TEST_F(AnalysisWindowTest, AClickHitsAGlyphWithinFifteenPixelsOnly) {
    open();
    const QPoint sun = glyph(WheelHit::Kind::Body, 1);
    const QPoint aries = glyph(WheelHit::Kind::Sign, 1);
    // A point 20 pixels from every glyph.
    QPoint empty;
    for (int y = 5; y < 700 && empty.isNull(); y += 7)
        for (int x = 5; x < 700; x += 7) {
            bool clear = true;
            for (const WheelHit& h : window->wheelHits()) {
                const QPoint g = window->areaPoint(h.y, h.x);
                if (std::abs(g.x() - x) < 20 && std::abs(g.y() - y) < 20) clear = false;
            }
            if (clear) {
                empty = QPoint(x, y);
                break;
            }
        }
    ASSERT_FALSE(empty.isNull());
    clickAt(empty);
    EXPECT_EQ(window->selectedBody(), 0);
    EXPECT_FALSE(visible("PanelBase"));

    clickAt(aries + QPoint(14, -14));
    EXPECT_EQ(window->selectedSign(), 1);
    EXPECT_EQ(child<QAbstractButton>(window.get(), "LbExtraSeg")->text(), "Aries");
    EXPECT_EQ(memo("MemoL1").rfind("ARIES", 0), 0u);

    clickAt(sun + QPoint(0, 16));
    EXPECT_EQ(window->selectedBody(), 0) << "16 pixels below the Sun";
    clickAt(sun + QPoint(-15, 0));
    EXPECT_EQ(window->selectedBody(), 1);
    EXPECT_EQ(child<QAbstractButton>(window.get(), "LbExtraPia")->text(), "Sol");
    EXPECT_EQ(memo("MemoL1").rfind("SOLE", 0), 0u);
}

TEST_F(AnalysisWindowTest, FourClicksOnABodyShowTextsRemediesNothingAndItsAntiscia) {
    open();
    const QPoint sun = glyph(WheelHit::Kind::Body, 1);
    clickAt(sun);
    EXPECT_TRUE(visible("PanelBase"));
    const std::string heading = utf8(bodyHeading(1, ws.chart));
    EXPECT_EQ(memo("MemoL1").substr(0, heading.size()), heading);
    EXPECT_NE(memo("MemoL2").find("El Sol es el centro vital"), std::string::npos);
    EXPECT_EQ(memo("Memo1"), utf8(section(28)));

    clickAt(sun);
    EXPECT_TRUE(visible("PanelCorv"));
    EXPECT_EQ(child<QLabel>(window.get(), "LabPianta")->text(), "REMEDIO asociado");
    auto* list = child<QListWidget>(window.get(), "ListBoxPiante");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), "Aurum");
    EXPECT_EQ(child<QLabel>(window.get(), "LabSintomi")->text(), QString::fromUtf8("SÍNTOMAS TRATABLES con Aurum"));
    EXPECT_EQ(memo("Memo3"), "Cansancio\nPalpitaciones");
    EXPECT_EQ(memo("Memo1"), utf8(section(29)));

    clickAt(sun);
    EXPECT_FALSE(visible("PanelCorv"));
    EXPECT_EQ(memo("Memo1"), utf8(section(28)));

    // The antiscion of the Sun is marked on the wheel in cyan.
    clickAt(sun);
    EXPECT_EQ(memo("Memo1"), utf8(section(30)));
    const long double a = antiscion(ws.chart.BodyLongitude[1]);
    const auto [y, x] = wheelPoint(WheelGeometry{}, 1.0, WheelGeometry{}.r6 - 1.0,
                                   screenAngle(std::round(double(a)), std::round(double(ws.chart.HouseCusp[0]))));
    const QImage& picture = window->drawingArea()->picture();
    const QPoint at = window->areaPoint(y, x);
    bool cyan = false;
    for (int dy = -6; dy <= 6; ++dy)
        for (int dx = -6; dx <= 6; ++dx) {
            const QColor c = picture.pixelColor(at + QPoint(dx, dy));
            if (c.red() < 60 && c.green() > 180 && c.blue() > 180) cyan = true;
        }
    EXPECT_TRUE(cyan) << "no antiscion mark near " << at.x() << "," << at.y();

    clickAt(sun);
    EXPECT_EQ(memo("Memo1"), utf8(section(28))) << "the fifth click shows the texts again";
}

TEST_F(AnalysisWindowTest, PlantsModeListsThePlantsOfThePlanet) {
    ws.corvellMode = true;
    open();
    const QPoint sun = glyph(WheelHit::Kind::Body, 1);
    clickAt(sun);
    clickAt(sun);
    EXPECT_EQ(child<QLabel>(window.get(), "LabPianta")->text(), "PLANTAS de SOLE");
    auto* list = child<QListWidget>(window.get(), "ListBoxPiante");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(memo("Memo3"), "Tristeza\nHeridas");
    click(child<QAbstractButton>(window.get(), "SpinButton1Down"));
    EXPECT_EQ(child<QLabel>(window.get(), "LabSintomi")->text(), QString::fromUtf8("SÍNTOMAS TRATABLES con Romero"));
    EXPECT_EQ(memo("Memo3"), "");
    click(child<QAbstractButton>(window.get(), "BBchiudiCorv"));
    EXPECT_FALSE(visible("PanelCorv"));
}

TEST_F(AnalysisWindowTest, TheSearchTitleNamesAnyPlanetWhenNoneIsSelected) {
    open();
    clickAt(glyph(WheelHit::Kind::Sign, 1));
    press("BBextraOk");
    EXPECT_TRUE(visible("PanelSegnaPato"));
    EXPECT_EQ(child<QLabel>(window.get(), "LabSegnaPato")->text(), "REMEDIOS con Signatura Cualquier/Aries");
    auto* list = child<QListWidget>(window.get(), "ListBoxExtra");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "Aurum");
    EXPECT_EQ(list->item(1)->text(), "Ferrum");
    EXPECT_EQ(memo("MemoExtra"), utf8(section(34)));

    press("BBextraOk");
    EXPECT_EQ(child<QLabel>(window.get(), "LabSegnaPato")->text(),
              QString::fromUtf8("PATOLOGÍAS con Signatura Cualquier/Aries"));
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "Anemia");
    EXPECT_EQ(list->item(1)->text(), "Astenia");

    // A click on the sign's name sets it back to any sign.
    press("LbExtraSeg");
    press("BBextraOk");
    EXPECT_EQ(child<QLabel>(window.get(), "LabSegnaPato")->text(), "REMEDIOS con Signatura Cualquier/Cualquier");
    EXPECT_EQ(list->count(), 3);
    press("BBchiudiExtra");
    EXPECT_FALSE(visible("PanelSegnaPato"));
}

TEST_F(AnalysisWindowTest, APlanetOfTheStructureOpensItsTextsAndRemedies) {
    open();
    press("BBarchetip");
    ASSERT_FALSE(window->structureHits().empty());
    const WheelHit h = window->structureHits().front();
    clickAt(window->areaPoint(h.y, h.x));
    EXPECT_EQ(window->selectedBody(), h.number);
    EXPECT_TRUE(visible("PanelCorv"));
    EXPECT_TRUE(visible("PanelBase"));
    EXPECT_EQ(memo("MemoL1").rfind(utf8(bodyCapitalName(h.number)), 0), 0u);
    EXPECT_TRUE(ws.analysisShowedStructure);

    // Opened again, the window shows the structure first.
    window->hide();
    window->show();
    window->drawPending();
    EXPECT_FALSE(window->structureHits().empty());
}

TEST_F(AnalysisWindowTest, MemosGrowOnADoubleClickAndTheFontButtonsToggle) {
    open();
    auto* memo1 = child<QPlainTextEdit>(window.get(), "Memo1");
    const int height = memo1->height();
    QTest::mouseDClick(memo1->viewport(), Qt::LeftButton);
    EXPECT_GT(memo1->height(), 3 * height);
    QTest::mouseDClick(memo1->viewport(), Qt::LeftButton);
    EXPECT_EQ(memo1->height(), height);
    const int size = memo1->font().pixelSize();
    press("BBsizeFont");
    EXPECT_GT(memo1->font().pixelSize(), size);
    press("BBsizeFont");
    EXPECT_EQ(memo1->font().pixelSize(), size);

    press("BBaspetti");
    auto* aspects = child<QPlainTextEdit>(window.get(), "MemoAspetti");
    const int aspectsHeight = aspects->height();
    QTest::mouseDClick(aspects->viewport(), Qt::LeftButton);
    EXPECT_GT(aspects->height(), aspectsHeight);
    press("BBFont");
    EXPECT_EQ(child<QPushButton>(window.get(), "BBFont")->text(), "Font -");
    press("BBchiudiAsp");
    EXPECT_FALSE(visible("Panel3"));

    const QPoint sun = glyph(WheelHit::Kind::Body, 1);
    clickAt(sun);
    clickAt(sun);
    auto* memo3 = child<QPlainTextEdit>(window.get(), "Memo3");
    const int memo3Height = memo3->height();
    press("BBsuGiu");
    EXPECT_EQ(child<QPushButton>(window.get(), "BBsuGiu")->text(), "Anterior");
    EXPECT_GT(memo3->height(), memo3Height);
    QTest::mouseDClick(memo3->viewport(), Qt::LeftButton);
    EXPECT_EQ(memo3->height(), memo3Height);
    EXPECT_EQ(child<QPushButton>(window.get(), "BBsuGiu")->text(), "Ensancha");
}

TEST_F(AnalysisWindowTest, AJulianBirthIsMarkedInTheDataPanel) {
    CurrentSubject s = loadCurrent(folder.root());
    s.record.calendarCode = "GI";
    replaceCurrent(folder.root(), s.entryText, s.record);
    open();
    EXPECT_EQ(child<QLineEdit>(window.get(), "EdData")->text(), "12/05/1975 08:30 Calend. Giuliano");
}

TEST_F(AnalysisWindowTest, AStoredImpossibleDateIsMarkedInTheDataPanel) {
    CurrentSubject s = loadCurrent(folder.root());
    s.record.birthStamp = "199002311505+5";
    replaceCurrent(folder.root(), s.entryText, s.record);
    open();
    auto* date = child<QLineEdit>(window.get(), "EdData");
    EXPECT_TRUE(date->text().endsWith("(fecha inexistente)")) << date->text().toStdString();
    EXPECT_FALSE(date->toolTip().isEmpty());
}

TEST_F(AnalysisWindowTest, TheDominantsRunTheRulerAndRestoreTheChart) {
    open();
    const ChartState before = ws.chart;
    press("BBtarquell");
    EXPECT_TRUE(messages.messages.empty()) << messages.last();
    EXPECT_EQ(readLines(folder.path("FileTmp/DatiNasc.Tmp"))[3], "PLACIDO");
    EXPECT_EQ(readLines(folder.path("FileDum/MMMaitre.dum"))[1].rfind("Prueba Rossi Maria", 0), 0u);
    EXPECT_EQ(readLines(folder.path("FileDum/MMMaitr2.dum")).size(), 18u);
    const auto summary = readLines(folder.path("FileDum/Dati3.dum"));
    ASSERT_EQ(summary.size(), 3u);
    EXPECT_EQ(summary[0], signName(signOf(ws.chart.BodyLongitude[1])));
    EXPECT_EQ(ws.chart.BodyLongitude, before.BodyLongitude);
    EXPECT_EQ(ws.chart.HouseCusp, before.HouseCusp);
    EXPECT_EQ(ws.chart.HouseSystem, before.HouseSystem);
    EXPECT_NE(memo("Memo1").find("Dominante: " + utf8(summary[2])), std::string::npos);
}

}  // namespace
}  // namespace athanor::test
