#include "foundations/TextFile.h"
#include "ui/charts/GraphSettingsDialog.h"
#include "ui/charts/LineSettingsDialog.h"
#include "ui/charts/PrinterSettingsDialog.h"
#include "app/Settings.h"
#include "app/Workstation.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace athanor::test {
namespace {

template <class W = QWidget>
W* child(const QObject* parent, const char* name) {
    W* w = parent->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << "no widget " << name;
    return w;
}

// A program folder whose settings file holds the given eight lines.
class SettingsFolder {
public:
    explicit SettingsFolder(const std::string& contents) : root_(dir_.path()) {
        dir_.write("FileSet/MMVarLas.stt", contents);
    }
    std::vector<std::string> lines() const { return readLines(dir_ / "FileSet/MMVarLas.stt"); }
    // What a program started afresh reads.
    GeneralSettings restart() const {
        GeneralSettings s;
        loadSettings(root_, s);
        return s;
    }
    const DataRoot& root() const { return root_; }

private:
    TempDir dir_;
    DataRoot root_;
};

const char* kSettings = "1\r\n0\r\n7\r\n1\r\n0.52\r\nD:\\OrdalisBck\r\n1\r\n1\r\n";

TEST(LineThicknessWindowTest, EveryStepRewritesTheFileWithinTheLimits) {
    SettingsFolder folder(kSettings);
    Workstation ws(folder.root());
    loadSettings(ws.root, ws.settings);
    LineSettingsDialog w(ws);
    w.show();
    auto* edit = child<QLineEdit>(&w, "EditSpeLin");
    EXPECT_EQ(edit->text(), "0.52");
    child<QAbstractButton>(&w, "SpinButton1Down")->click();
    EXPECT_EQ(edit->text(), "0.50");
    EXPECT_EQ(parseRealOr(folder.lines()[4], 0), 0.5L) << "0.5, not 0.494";
    child<QAbstractButton>(&w, "SpinButton1Up")->click();
    EXPECT_NEAR(double(folder.restart().lineFactor), 0.5 / 0.95, 1e-12);
    child<QAbstractButton>(&w, "BitBtn1")->click();
    EXPECT_EQ(folder.restart().lineFactor, 1.0L);
    EXPECT_DOUBLE_EQ(ws.drawing.lineFactor, 1.0) << "the drawings take the factor at once";

    const auto lines = folder.lines();
    EXPECT_EQ(lines[2], "7") << "the other lines are written back";
    EXPECT_EQ(lines[5], "D:\\OrdalisBck");
}

TEST(LineThicknessWindowTest, ClosingKeepsTheValueShownWithinTheLimits) {
    const struct {
        const char* typed;
        double stored;
    } cases[] = {{"2.5", 2.5}, {"9", 4.0}, {"0,1", 0.5}, {"abc", 0.52}};
    for (const auto& c : cases) {
        SettingsFolder folder(kSettings);
        Workstation ws(folder.root());
        loadSettings(ws.root, ws.settings);
        LineSettingsDialog w(ws);
        w.show();
        child<QLineEdit>(&w, "EditSpeLin")->setText(c.typed);
        child<QAbstractButton>(&w, "BitBtnRitorna")->click();
        EXPECT_FALSE(w.isVisible());
        EXPECT_NEAR(double(folder.restart().lineFactor), c.stored, 1e-12) << c.typed;
    }
}

TEST(CircleCalibrationWindowTest, TheScrollBarsSetTheCorrectionsThatSurviveARestart) {
    SettingsFolder folder(kSettings);
    Workstation ws(folder.root());
    loadSettings(ws.root, ws.settings);
    {
        GraphSettingsDialog w(ws);
        w.resize(800, 600);
        w.show();
        child<QScrollBar>(&w, "ScBO")->setValue(50);
        child<QScrollBar>(&w, "ScBV")->setValue(-30);
        EXPECT_DOUBLE_EQ(ws.drawing.hc, 0.95);
        child<QAbstractButton>(&w, "BBok")->click();
    }
    const GeneralSettings again = folder.restart();
    EXPECT_NEAR(double(again.scaleX), 0.95, 1e-12);
    EXPECT_NEAR(double(again.scaleY), 1.03, 1e-12);
    EXPECT_NEAR(double(again.lineFactor), 0.52, 1e-12) << "untouched";

    Workstation restarted(folder.root());
    loadSettings(restarted.root, restarted.settings);
    GraphSettingsDialog w(restarted);
    w.show();
    EXPECT_EQ(child<QScrollBar>(&w, "ScBO")->value(), 50);
    EXPECT_EQ(child<QScrollBar>(&w, "ScBV")->value(), -30);
    child<QAbstractButton>(&w, "BBres")->click();
    EXPECT_EQ(child<QScrollBar>(&w, "ScBO")->value(), 0);
    EXPECT_EQ(folder.restart().scaleX, 1.0L);
    EXPECT_EQ(folder.restart().scaleY, 1.0L);
}

TEST(PrinterTypeWindowTest, TheButtonTogglesTheTypeAndClosesAfterAMoment) {
    SettingsFolder folder("0\r\n0\r\n0\r\n1\r\n1\r\n\r\n1\r\n1\r\n");
    Workstation ws(folder.root());
    loadSettings(ws.root, ws.settings);
    PrinterSettingsDialog w(ws);
    for (int round = 1; round <= 2; ++round) {
        w.show();
        const bool epson = round == 1;
        EXPECT_EQ(child<QWidget>(&w, "Panel1")->isVisible(), epson);
        EXPECT_EQ(child<QWidget>(&w, "Panel2")->isVisible(), !epson);
        child<QAbstractButton>(&w, epson ? "BBEpson" : "BBNormale")->click();
        EXPECT_TRUE(child<QWidget>(&w, "LabCambi")->isVisible());
        EXPECT_EQ(folder.lines()[1], epson ? "1" : "0");
        EXPECT_EQ(folder.lines()[0], "1");
        EXPECT_TRUE(w.isVisible());
        QTest::qWait(800);
        EXPECT_FALSE(w.isVisible());
    }
    EXPECT_EQ(folder.restart().printerType, 0);
}

}  // namespace
}  // namespace athanor::test
