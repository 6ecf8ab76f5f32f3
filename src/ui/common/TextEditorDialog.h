#pragma once
#include "foundations/DataRoot.h"

#include <QDialog>

#include <string>

class QPlainTextEdit;
class QPushButton;

namespace athanor {

// A plain editor for one text document of the program folder (Windows-1252, CR LF): the
// subjects' text documents until the full editor takes its place.
class TextEditorDialog : public QDialog {
    Q_OBJECT
public:
    // `relativePath` as the hand-off files name it ("BASEtxt\00001.txt").
    TextEditorDialog(DataRoot root, std::string relativePath, QWidget* parent = nullptr);

    const std::string& document() const { return path_; }
    // Writes the text back; false (after showing the file error) when it fails.
    bool save();

private:
    void load();

    DataRoot root_;
    std::string path_;
    QPlainTextEdit* text_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace athanor
