#include "UiTestSupport.h"

#include "ui/shell/MainWindow.h"

#include <QDialog>
#include <QListWidget>
#include <QPushButton>

namespace athanor::test {
namespace {

// The component in focus, by its own name (not by the name of a part of it).
std::string focusedComponent() {
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
        if (!w->objectName().isEmpty() && !w->objectName().startsWith("qt_")) return w->objectName().toStdString();
    return "(none)";
}

// The components Shift+Tab visits from the one in focus, `n` presses.
std::vector<std::string> backwards(int n) {
    std::vector<std::string> names{focusedComponent()};
    for (int i = 0; i < n; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        names.push_back(focusedComponent());
    }
    return names;
}

// The components Tab visits, from the one in focus round to it again.
std::vector<std::string> tabRound() {
    std::vector<std::string> names{focusedComponent()};
    for (int i = 0; i < 40; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        names.push_back(focusedComponent());
        if (names.back() == names.front()) break;
    }
    return names;
}

class ArchiveWindowsTabOrderTest : public ::testing::Test {
protected:
    void SetUp() override {
        addSubject(folder.root(), "BASE", "ROSSI MARIO", birthRecord("199003211430-1", "41N54-012E29ROMA", "ITALIA"));
        window = std::make_unique<MainWindow>(folder.root());
        window->start();
        settle();
        type(child<QLineEdit>(window.get(), "EdMainPass1"), "pivona");
        click(child<QPushButton>(window.get(), "BBok"));
    }
    // Opens a window, takes the Tab round, loads the first subject and takes what `loaded`
    // gives then.
    std::pair<std::vector<std::string>, std::vector<std::string>> rounds(
        const char* button, std::function<std::vector<std::string>()> loaded = tabRound) {
        std::pair<std::vector<std::string>, std::vector<std::string>> r;
        whenModal<QDialog>([&r, loaded](QDialog* d) {
            settle();
            r.first = tabRound();
            auto* list = child<QListWidget>(d, "ListaNomi");
            const QRect line = list->visualItemRect(list->item(0));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line.center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line.center());
            settle();
            r.second = loaded();
            d->reject();
        });
        click(child<QPushButton>(window.get(), button));
        return r;
    }

    ProgramFolderFixture folder;
    MessageLog messages;
    std::unique_ptr<MainWindow> window;
};

using Names = std::vector<std::string>;

TEST_F(ArchiveWindowsTabOrderTest, RetrievalPassesTheShownFieldsBy) {
    const auto [browsing, loaded] = rounds("BitBtnDati", [] { return backwards(6); });
    // The window opens with the focus in the search box, so the first letters typed count.
    EXPECT_EQ(browsing,
              (Names{"EditSoggetto", "ListaNomi", "MemoAnnotaz", "BitBtnAnnulla", "ListaArchivi", "EditSoggetto"}));
    // A loaded subject leaves the focus on OK; back from there: the buttons in the order they
    // stand, then the editable fields (entering the name field would forget the subject).
    EXPECT_EQ(loaded,
              (Names{"BitBtnOK", "BitBtnInverti", "MemoAnnotaz", "EditNaz", "EditLocal", "EditNome", "ListaNomi"}));
}

TEST_F(ArchiveWindowsTabOrderTest, ModifyGoesRowByRowThroughTheData) {
    const auto [browsing, loaded] = rounds("BitBtn1");
    EXPECT_EQ(browsing, (Names{"EditSoggetto", "ListaNomi", "BitBtn3", "ListBox1", "EditSoggetto"}));
    EXPECT_EQ(loaded, (Names{"EditNomeSogg", "EditDataNasc", "EditOraNasc", "EditCalend", "EditGmt", "EditLocalita",
                             "EditCoordi", "EditStato", "BitBtnElenco", "EditMemo1", "EditMemo2", "EditMemo3",
                             "EditMemo4", "EditNfile", "BitBtnRegistra", "BBtesto", "BitBtn3", "EditNomeSogg"}));
}

}  // namespace
}  // namespace athanor::test
