#include "UiTestSupport.h"

#include "app/Workstation.h"
#include "subjects/ArchiveOps.h"
#include "subjects/BirthMoment.h"
#include "subjects/BirthStamp.h"
#include "subjects/SubjectFiles.h"
#include "ui/common/TextEditorWindow.h"
#include "ui/common/WindowSupport.h"
#include "ui/subjects/SaveSubjectDialog.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QUrl>

namespace athanor::test {
namespace {

QString status(const QWidget* editor, const char* panel) { return child<QLabel>(editor, panel)->text(); }

// Answers the editor's next Yes/No/Cancel question, keeping its text.
void answer(QMessageBox::StandardButton button, QString* asked = nullptr) {
    whenModal<QMessageBox>([button, asked](QMessageBox* box) {
        EXPECT_EQ(box->objectName(), "SaveQuestion");
        if (asked) *asked = box->text();
        box->button(button)->click();
    });
}

class TextEditorWindowTest : public ::testing::Test {
protected:
    // An editor on a document of BASEtxt, handed over as the archive windows do.
    std::unique_ptr<TextEditorWindow> openDocument(const std::string& bytes, TextEditorWindow::Kind kind =
                                                                                 TextEditorWindow::Kind::Plain) {
        folder.dir().write("BASEtxt/00004.txt", bytes);
        writeEditTarget(folder.root(), "BASEtxt\\00004.txt");
        auto editor = std::make_unique<TextEditorWindow>(folder.root(), nullptr, kind);
        editor->show();
        return editor;
    }

    ProgramFolderFixture folder;
    MessageLog messages;
};

TEST_F(TextEditorWindowTest, ASubjectsDocumentFromTheSaveWindowIsEditedAndSavedOnClosing) {
    Workstation ws(folder.root());
    Archive(folder.root(), "BASE").create();
    SaveSubjectDialog save(ws);
    SaveInput in;
    in.name = "BIANCHI ANNA";
    in.moment = BirthMoment({21, 3, 1990, 14, 30}, correctionFromZone("+1"), 1);
    in.locality = "ROMA";
    in.coordText = "41N54-012E29";
    in.zoneText = "+1";
    in.country = "ITALIA";
    save.setHandOff(in);
    save.show();

    bool seen = false;
    whenModal<TextEditorWindow>([&](TextEditorWindow* editor) {
        seen = true;
        EXPECT_EQ(editor->objectName(), "FoReMaiH");
        auto* text = child<QTextEdit>(editor, "Editor");
        EXPECT_EQ(text->toPlainText(), "BIANCHI ANNA") << "the new document starts with the name";
        EXPECT_EQ(status(editor, "StatusLine"), "Line:   1   Col:   1");
        EXPECT_EQ(status(editor, "StatusModified"), "");
        text->moveCursor(QTextCursor::End);
        key(text, Qt::Key_Return);
        type(text, "Sin alergias.");
        EXPECT_EQ(status(editor, "StatusLine"), "Line:   2   Col:  14");
        EXPECT_EQ(status(editor, "StatusModified"), "Modified");

        // Cancel keeps the window and the text.
        QString asked;
        answer(QMessageBox::Cancel, &asked);
        editor->close();
        EXPECT_EQ(asked, "Guarde los cambios en BASEtxt/00001.txt?");
        EXPECT_TRUE(editor->isVisible());
        EXPECT_TRUE(text->toPlainText().endsWith("Sin alergias."));
        // Yes saves, then closes.
        answer(QMessageBox::Yes);
        editor->close();
        EXPECT_FALSE(editor->isVisible());
    });
    click(child<QPushButton>(&save, "BBregText"));
    EXPECT_TRUE(seen);
    EXPECT_EQ(folder.text("BASEtxt\\00001.txt"), "BIANCHI ANNA\r\nSin alergias.\r\n");
    EXPECT_EQ(Archive(folder.root(), "BASE").readNotes(1).documentNumber(), "00001") << "the save went on";
}

TEST_F(TextEditorWindowTest, NoClosesWithoutSavingAndAnUntouchedDocumentClosesWithoutAQuestion) {
    const std::string original = "ROSSI MARIO\r\nPrima visita\r\n";
    auto editor = openDocument(original);
    type(child<QTextEdit>(editor.get(), "Editor"), "x");
    answer(QMessageBox::No);
    EXPECT_TRUE(editor->close());
    EXPECT_EQ(folder.text("BASEtxt\\00004.txt"), original);

    auto again = openDocument(original);
    EXPECT_EQ(again->windowTitle(), "00004.txt - Athanor");
    EXPECT_TRUE(again->close()) << "nothing to ask";
}

TEST_F(TextEditorWindowTest, SavingKeepsThePlainTextAndItsLineEndsAndUndoingAllClearsModified) {
    auto editor = openDocument("GARC\xCD" "A\r\nuno\r\n", TextEditorWindow::Kind::Styled);
    EXPECT_EQ(editor->objectName(), "FoReMai1");
    auto* text = child<QTextEdit>(editor.get(), "Editor");
    EXPECT_EQ(text->toPlainText(), QString::fromUtf8("GARCÍA\nuno"));
    // Bold and a larger size on the name: the screen shows them, the file never holds them.
    text->selectAll();
    editor->findChild<QAction*>("BoldButton")->trigger();
    child<QWidget>(editor.get(), "FontSize")->setProperty("value", 20);
    text->moveCursor(QTextCursor::End);
    key(text, Qt::Key_Return);
    type(text, QString::fromUtf8("caña"));
    editor->findChild<QAction*>("FileSave")->trigger();
    EXPECT_EQ(status(editor.get(), "StatusModified"), "");
    EXPECT_EQ(folder.text("BASEtxt\\00004.txt"), "GARC\xCD" "A\r\nuno\r\nca\xF1" "a\r\n");

    type(text, "z");
    EXPECT_EQ(status(editor.get(), "StatusModified"), "Modified");
    text->undo();
    EXPECT_EQ(status(editor.get(), "StatusModified"), "") << "the text is the file's again";
}

TEST_F(TextEditorWindowTest, CharactersTheDocumentCannotHoldAreAskedAbout) {
    auto editor = openDocument("uno\r\n");
    auto* text = child<QTextEdit>(editor.get(), "Editor");
    text->moveCursor(QTextCursor::End);
    text->insertPlainText(QString::fromUtf8(" ♄"));
    messages.setAnswer(false);
    editor->findChild<QAction*>("FileSave")->trigger();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_NE(messages.last().find("♄"), std::string::npos);
    EXPECT_EQ(folder.text("BASEtxt\\00004.txt"), "uno\r\n") << "not saved";
    EXPECT_EQ(status(editor.get(), "StatusModified"), "Modified");
    messages.setAnswer(true);
    editor->findChild<QAction*>("FileSave")->trigger();
    EXPECT_EQ(folder.text("BASEtxt\\00004.txt"), "uno ?\r\n");
}

TEST_F(TextEditorWindowTest, AFailedSaveIsReportedAndTheTextStaysModified) {
    auto editor = openDocument("uno\r\n");
    type(child<QTextEdit>(editor.get(), "Editor"), "x");
    // The folder replaced by a file: no one, root included, can write the document now.
    std::filesystem::remove_all(folder.path("BASEtxt"));
    folder.dir().write("BASEtxt", "not a folder");
    editor->findChild<QAction*>("FileSave")->trigger();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].first, MessageKind::Error);
    EXPECT_EQ(status(editor.get(), "StatusModified"), "Modified");
    answer(QMessageBox::No);
    editor->close();
}

TEST_F(TextEditorWindowTest, AMissingHandOffLeavesTheWindowEmptyAndUntitled) {
    TextEditorWindow editor(folder.root());
    EXPECT_EQ(messages.messages.size(), 1u) << "the file error is shown";
    EXPECT_EQ(editor.fileName(), "Untitled");
    EXPECT_EQ(editor.windowTitle(), "Rich Edit Control Demo");
    EXPECT_TRUE(child<QTextEdit>(&editor, "Editor")->toPlainText().isEmpty());
}

// Drags a marker of the ruler so that its left edge ends at `x`.
void dragMarker(QWidget* ruler, const char* name, int x) {
    auto* marker = child<QWidget>(ruler, name);
    const QPoint centre(marker->width() / 2, marker->height() / 2);
    const QPoint to = ruler->mapToGlobal(QPoint(x + marker->width() / 2, marker->y() + centre.y()));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(centre), marker->mapToGlobal(centre), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(marker, &press);
    QMouseEvent move(QEvent::MouseMove, QPointF(marker->mapFromGlobal(to)), QPointF(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(marker, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(marker->mapFromGlobal(to)), QPointF(to), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(marker, &release);
}

TEST_F(TextEditorWindowTest, TheRulersMarkersIndentTheParagraph) {
    auto editor = openDocument("uno\r\ndos\r\n");
    settle();
    auto* ruler = child<QWidget>(editor.get(), "Ruler");
    auto* text = child<QTextEdit>(editor.get(), "Editor");
    EXPECT_EQ(child<QWidget>(ruler, "FirstInd")->x(), 2);
    EXPECT_EQ(child<QWidget>(ruler, "RightInd")->x(), ruler->width() - 14);

    dragMarker(ruler, "FirstInd", 50);  // trunc((50 + 4 - 6) × 3/4) = 36 points
    QTextBlockFormat f = text->textCursor().blockFormat();
    EXPECT_DOUBLE_EQ(f.leftMargin(), 0.0);
    EXPECT_DOUBLE_EQ(f.textIndent(), 48.0) << "only the first line moves";
    EXPECT_EQ(child<QWidget>(ruler, "FirstInd")->x(), 50);
    EXPECT_EQ(status(editor.get(), "StatusModified"), "Modified");

    dragMarker(ruler, "LeftInd", 98);
    f = text->textCursor().blockFormat();
    EXPECT_DOUBLE_EQ(f.leftMargin(), 96.0);
    EXPECT_DOUBLE_EQ(f.textIndent(), -48.0);
    // Back to the ruler's start: the other lines at the edge, the first still 36 points in.
    dragMarker(ruler, "LeftInd", -20);
    f = text->textCursor().blockFormat();
    EXPECT_DOUBLE_EQ(f.leftMargin(), 0.0);
    EXPECT_DOUBLE_EQ(f.textIndent(), 48.0);
    EXPECT_EQ(child<QWidget>(ruler, "LeftInd")->x(), 2);
    EXPECT_DOUBLE_EQ(text->document()->findBlockByNumber(1).blockFormat().textIndent(), 0.0)
        << "the other paragraph is untouched";

    editor->findChild<QAction*>("FileSave")->trigger();
    EXPECT_EQ(folder.text("BASEtxt\\00004.txt"), "uno\r\ndos\r\n") << "indents are not part of a plain text";
}

TEST_F(TextEditorWindowTest, ADroppedFileAsksForTheChangesThenOpens) {
    auto editor = openDocument("uno\r\n");
    auto* text = child<QTextEdit>(editor.get(), "Editor");
    type(text, "x");
    const auto dropped = folder.dir().write("Descargas/nota.txt", "caf\xC3\xA9\ncon leche\n");
    auto drop = [&] {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dropped.string()))});
        // As a drag does it: entering makes the text the target of the drop.
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(text->viewport(), &enter);
        QDropEvent event(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(text->viewport(), &event);
    };
    // Cancel: the drop is abandoned.
    answer(QMessageBox::Cancel);
    drop();
    EXPECT_EQ(text->toPlainText(), "xuno");
    // No: the changes go, the dropped file comes, as it is (UTF-8, LF) and not as its name.
    answer(QMessageBox::No);
    drop();
    EXPECT_EQ(text->toPlainText(), QString::fromUtf8("café\ncon leche")) << messages.last();
    EXPECT_EQ(editor->fileName(), QString::fromStdString(dropped.string()));
    EXPECT_EQ(folder.text("BASEtxt\\00004.txt"), "uno\r\n");
    text->moveCursor(QTextCursor::End);
    type(text, QString::fromUtf8(" ☕"));
    editor->findChild<QAction*>("FileSave")->trigger();
    EXPECT_EQ(TempDir::read(dropped), "caf\xC3\xA9\ncon leche \xE2\x98\x95\n");
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(TextEditorWindowTest, WithoutAPrinterTheTextGoesToAPdfTheUserNames) {
    if (systemPrinterAvailable()) GTEST_SKIP() << "this machine has a printer";
    auto editor = openDocument("ROSSI MARIO\r\nNotas\r\n");
    QString suggested;
    const auto pdf = folder.dir().path() / "impreso.pdf";
    setPdfFileNameHook([&](const QString& s) {
        suggested = s;
        return QString::fromStdString(pdf.string());
    });
    editor->findChild<QAction*>("FilePrint")->trigger();
    setPdfFileNameHook(nullptr);
    EXPECT_EQ(suggested, QDir(documentsFolder()).filePath("00004.pdf"));
    EXPECT_EQ(TempDir::read(pdf).substr(0, 5), "%PDF-");
    EXPECT_TRUE(messages.messages.empty()) << messages.last();
}

TEST_F(TextEditorWindowTest, CutAndCopyFollowTheSelectionAndUndoTheHistory) {
    auto editor = openDocument("uno\r\n");
    auto* text = child<QTextEdit>(editor.get(), "Editor");
    auto* cut = editor->findChild<QAction*>("EditCut");
    auto* copy = editor->findChild<QAction*>("EditCopy");
    auto* undo = editor->findChild<QAction*>("EditUndo");
    EXPECT_FALSE(cut->isEnabled());
    EXPECT_FALSE(copy->isEnabled());
    EXPECT_FALSE(undo->isEnabled()) << "a document just opened has nothing to undo";
    text->selectAll();
    EXPECT_TRUE(cut->isEnabled());
    cut->trigger();
    EXPECT_TRUE(text->toPlainText().isEmpty());
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_FALSE(copy->isEnabled());
    undo->trigger();
    EXPECT_EQ(text->toPlainText(), "uno");
    EXPECT_FALSE(editor->findChild<QAction*>("FileOpen")->isVisible());
    EXPECT_TRUE(editor->findChild<QAction*>("FilePrint")->isVisible());
}

}  // namespace
}  // namespace athanor::test
