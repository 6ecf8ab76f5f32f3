#include "UiTestSupport.h"

#include "ui/orbs/OrbEditorDialog.h"
#include "ui/shell/MainWindow.h"

#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QPushButton>
#include <QTabWidget>

namespace athanor::test {
namespace {

class OrbEditorWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<MainWindow>(folder.root());
        window->start();
        settle();
        type(child<QLineEdit>(window.get(), "EdMainPass1"), "pivona");
        click(child<QPushButton>(window.get(), "BBok"));
        child<QTabWidget>(window.get(), "PageControl1")->setCurrentIndex(2);
    }
    // Opens the editor and runs `work` in it.
    void inEditor(std::function<void(QDialog*)> work) {
        whenModal<QDialog>([work](QDialog* d) {
            settle();
            work(d);
            if (d->isVisible()) d->reject();
        });
        click(child<QPushButton>(window.get(), "BitBtnVarOrbAsp"));
    }
    static QLineEdit* field(QDialog* d, char column, int row) {
        return child<QLineEdit>(d, OrbEditorDialog::fieldName(column, row).toLatin1().constData());
    }
    static void retype(QLineEdit* e, const QString& text) {
        e->selectAll();
        type(e, text);
        settle();
    }

    ProgramFolderFixture folder;
    MessageLog messages;
    std::unique_ptr<MainWindow> window;
};

TEST_F(OrbEditorWindowTest, OpensOnTheFilesWithTheCurrentFrame) {
    inEditor([](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), QString::fromUtf8("Variación Aspecto de las Órbitas"));
        EXPECT_EQ(field(d, 'A', 0)->text(), QString::fromUtf8("± 10"));
        EXPECT_EQ(field(d, 'B', 2)->text(), "0,5") << "decile of set B";
        EXPECT_EQ(field(d, 'C', 13)->text(), "7,0") << "opposition of set C";
        EXPECT_EQ(child<QLineEdit>(d, "Edit1")->text(), "A");
        EXPECT_TRUE(child<QFrame>(d, "BevelA")->isVisible());
        EXPECT_FALSE(child<QFrame>(d, "BevelB")->isVisible());
        EXPECT_TRUE(child<QPushButton>(d, "BitBtnRitorna")->isEnabled());
    });
}

TEST_F(OrbEditorWindowTest, BadFieldsTurnRedAndBlockAdoptingAndReturning) {
    struct Case {
        const char* field;  // "B" column row 0, or an extra orb
        const char* text;
        bool valid;
    } cases[] = {
        {"B", "15,5", false},       {"B", "15", true},           {"B", "abc", false},
        {"EditParal", "6,0", true}, {"EditParal", "6,1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + c.text);
        messages.clear();
        inEditor([&](QDialog* d) {
            QLineEdit* e = std::string(c.field) == "B" ? field(d, 'B', 0) : child<QLineEdit>(d, c.field);
            retype(e, c.text);
            EXPECT_EQ(stateColourName(e), c.valid ? "aqua" : "red");
            EXPECT_EQ(e->text().isEmpty(), !c.valid) << "a bad field is cleared";
            EXPECT_EQ(child<QPushButton>(d, "BitBtnRitorna")->isEnabled(), c.valid);
            click(child<QPushButton>(d, "BitBtn2"));
            if (c.valid) {
                EXPECT_TRUE(messages.messages.empty());
            } else {
                EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Mala Configuración de las Órbitas"}));
            }
            if (!c.valid) retype(e, "1");
        });
    }
}

TEST_F(OrbEditorWindowTest, AdoptingSetCWritesTheFilesAndTheMainWindowSelector) {
    inEditor([](QDialog* d) {
        retype(field(d, 'C', 9), "6,5");  // trine
        click(child<QPushButton>(d, "BitBtn1"));
        EXPECT_EQ(child<QLineEdit>(d, "Edit1")->text(), "C");
        EXPECT_TRUE(child<QFrame>(d, "BevelC")->isVisible());
    });
    const auto settings = folder.lines("FileSet\\OrbiDomi.Stt");
    EXPECT_EQ(settings[18], "C");
    EXPECT_EQ(parseRealOr(settings[9], -1), 6.5L);
    EXPECT_EQ(folder.lines("FileDum\\MMVarOrb.dum")[48], "C");
    EXPECT_EQ(window->workstation().orbs.AspectOrb[aspect::Trine], 6.5L);
    EXPECT_EQ(child<QComboBox>(window.get(), "ComboOrb")->currentText(), "C (personali)");
}

TEST_F(OrbEditorWindowTest, ChangedExtraOrbsReachTheSettingsFileOnReturn) {
    inEditor([](QDialog* d) {
        retype(child<QLineEdit>(d, "EditAntis"), "3,5");
        click(child<QPushButton>(d, "BitBtnRitorna"));
    });
    EXPECT_EQ(parseRealOr(folder.lines("FileSet\\OrbiDomi.Stt")[15], -1), 3.5L);
    EXPECT_EQ(parseRealOr(folder.lines("FileDum\\MMVarOrb.dum")[47], -1), 3.5L);
}

}  // namespace
}  // namespace athanor::test
