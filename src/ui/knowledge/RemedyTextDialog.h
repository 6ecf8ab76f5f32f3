#pragma once
#include "knowledge/TextSearch.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace athanor {

struct Workstation;

// TFoPiante ("PLANTAS y INGREDIENTES ACTIVOS") and TFoSintesi ("SÍNTESIS PSÍQUICA "): a word
// searched in the composition (notes) or in the psychic synthesis of every remedy, and the
// text of a remedy with the word found written in capitals.
class RemedyTextDialog : public QDialog {
    Q_OBJECT
public:
    RemedyTextDialog(Workstation& ws, RemedyText field, QWidget* parent = nullptr);

    // Reads the remedy list (and rewrites FileDum\Prdts.dum); false, after telling the
    // user which file failed, when the base cannot be read.
    bool load();

    // A double click on a remedy found asks for its window.
    void setRemedyAction(std::function<void(const QString& name)> action);

private:
    void chooseListed(int row);
    void search();
    void chooseFound(int row);

    Workstation& ws_;
    RemedyText field_;
    std::vector<RemedyNameEntry> list_;
    std::string word_;  // the last word searched, upper-cased
    std::function<void(const QString&)> remedyAction_;

    QListWidget* remedies_ = nullptr;
    QListWidget* found_ = nullptr;
    QLineEdit* searchBox_ = nullptr;
    QPushButton* search_ = nullptr;
    QLabel* heading_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QPlainTextEdit* help_ = nullptr;
    QPushButton* back_ = nullptr;
};

}  // namespace athanor
