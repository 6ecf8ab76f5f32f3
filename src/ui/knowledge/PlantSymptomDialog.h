#pragma once
// TFoSintom2 (Corvell-2): a symptom of the second data set, the plants reported for it
// with their syntheses, and the details of one plant.
#include "foundations/DataRoot.h"
#include "knowledge/PrefixSearch.h"

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;

namespace athanor {

class PlantSymptomDialog : public QDialog {
    Q_OBJECT
public:
    explicit PlantSymptomDialog(DataRoot root, QWidget* parent = nullptr);

    // Lists the symptoms and puts the focus in the search box; the last result stays
    // until a symptom is selected again. False, with the file's message shown, when the
    // list cannot be read.
    bool load();
    void selectEntry(int index);
    const std::vector<std::string>& entries() const { return entries_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void clearResult();
    void showPlant(int row);

    DataRoot root_;
    std::vector<std::string> entries_;
    TypedPrefix prefix_{TypedPrefix::Case::FirstUpper};

    QLineEdit* search_ = nullptr;
    QListWidget* list_ = nullptr;
    QLineEdit* symptom_ = nullptr;
    QListWidget* plants_ = nullptr;
    QListWidget* syntheses_ = nullptr;
    QListWidget* numbers_ = nullptr;
    QLineEdit* plant_ = nullptr;
    QLineEdit* primary_ = nullptr;
    QLineEdit* secondary_ = nullptr;
    QLineEdit* zodiac_ = nullptr;
    QLineEdit* authors_ = nullptr;
    QLineEdit* alternative_ = nullptr;
    QLabel* alternativeLabel_ = nullptr;
    QLabel* noResults_ = nullptr;
};

}  // namespace athanor
