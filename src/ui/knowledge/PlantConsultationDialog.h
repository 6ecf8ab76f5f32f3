#pragma once
// TFoSintom3 (Corvell-1): a plant of the second data set with its signatures, synthesis,
// and its symptoms and their authors in pages of 26.
#include "foundations/DataRoot.h"
#include "knowledge/ConsultationPage.h"

#include <QDialog>

#include <array>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace athanor {

class PlantConsultationDialog : public QDialog {
    Q_OBJECT
public:
    explicit PlantConsultationDialog(DataRoot root, QWidget* parent = nullptr);

    // Lists the plants; the last result stays until a plant is selected again. False, with
    // the file's message shown, when the list cannot be read.
    bool load();
    void selectEntry(int index);
    const std::vector<std::string>& entries() const { return entries_; }
    int page() const { return pages_.page(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct PagePair {
        QListWidget* symptoms = nullptr;
        QListWidget* authors = nullptr;
    };
    void showPage();
    void clearResult();

    DataRoot root_;
    std::vector<std::string> entries_;
    PlantPages pages_;

    QListWidget* list_ = nullptr;
    QLineEdit* plant_ = nullptr;
    QLineEdit* primary_ = nullptr;
    QLineEdit* secondary_ = nullptr;
    QLineEdit* zodiac_ = nullptr;
    QPlainTextEdit* synthesis_ = nullptr;
    std::array<PagePair, 4> pairs_{};
    QWidget* spin_ = nullptr;
    QLabel* pageLabel_ = nullptr;
    QLabel* noResults_ = nullptr;
};

}  // namespace athanor
