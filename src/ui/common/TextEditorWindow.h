#pragma once
#include "app/EditorRuler.h"
#include "app/TextDocument.h"
#include "foundations/DataRoot.h"

#include <QMainWindow>
#include <QString>

#include <functional>

class QAction;
class QFontComboBox;
class QLabel;
class QMimeData;
class QSpinBox;
class QTextEdit;

namespace athanor {

class EditorRulerWidget;

// The built-in text editor: a subject's document (or any text file dropped on it) in plain
// text, with a ruler for the paragraphs' indents, fonts, printing and saving back in the
// document's own encoding and line ends.
class TextEditorWindow : public QMainWindow {
    Q_OBJECT
public:
    // The editor of the subjects' documents, and its twin with the style groups.
    enum class Kind { Plain, Styled };

    // Opens the document that FileDum\DatModif.dum names; when that fails the file error is
    // shown and the window stays empty, named "Untitled".
    explicit TextEditorWindow(DataRoot root, QWidget* parent = nullptr, Kind kind = Kind::Plain);

    // Shows the window modally, without minimise and maximise buttons, until it closes.
    void exec();

    // Loads a file (an absolute path, or one relative to the program folder as the hand-off
    // files name it). False, after showing the error, when it cannot be read.
    bool loadFile(const QString& path);
    // Writes the text back; false when the user gives up or the file cannot be written
    // (the error shown, the text still marked modified).
    bool save();

    // The document's name as the questions show it; "Untitled" before one is opened.
    const QString& fileName() const { return name_; }
    QTextEdit* editor() const { return editor_; }

    // Tests answer the Save-as file dialog: it receives the suggested folder.
    static void setSaveAsHook(std::function<QString(const QString& folder)> hook);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildActions(Kind kind);
    void buildRuler();
    bool saveAs();
    void print();
    void chooseFont();
    void newDocument();
    void openDocument();
    // The Yes/No/Cancel question before the text is dropped: true to go on.
    bool maySetTextAside();
    bool dropFiles(const QMimeData* data);
    void selectionChanged();
    void updateStatus();
    void updateModified(bool modified);
    void applyIndents(const ParagraphIndents& indents);
    QString programPath(const QString& relative) const;
    QString textsFolder() const;

    DataRoot root_;
    QString name_;
    QString path_;  // where the text is read from and saved to
    DocumentFormat format_;
    bool updating_ = false;

    QTextEdit* editor_ = nullptr;
    EditorRulerWidget* ruler_ = nullptr;
    QFontComboBox* fontName_ = nullptr;
    QSpinBox* fontSize_ = nullptr;
    QLabel* caretPanel_ = nullptr;
    QLabel* modifiedPanel_ = nullptr;
    QAction* cut_ = nullptr;
    QAction* copy_ = nullptr;
    QAction* paste_ = nullptr;
    QAction* undo_ = nullptr;
};

}  // namespace athanor
