#pragma once
// TFoRimed: "Remedios y síntomas relacionados", the indications of a remedy with its
// warnings, psychic synthesis and product type.
#include "ui/knowledge/ResultPageDialog.h"

class QLabel;

namespace athanor {

class RemedyConsultationDialog : public ResultPageDialog {
    Q_OBJECT
public:
    explicit RemedyConsultationDialog(DataRoot root, QWidget* parent = nullptr);

    // Selects the remedy of that name (Windows-1252): its line of the list, or its alias
    // line; a name the list lacks is looked up in the database all the same.
    void showRemedy(const std::string& name);

protected:
    std::vector<std::string> readList() override;
    std::string displayText(const std::string& entry) const override;
    void showSelection() override;
    void clearOwnBoxes() override;
    void hideOwnOverlays() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showLargeWarnings();

    QLineEdit* warnings_ = nullptr;
    QLabel* productType_ = nullptr;
    QLabel* useNumberNote_ = nullptr;
    QPlainTextEdit* largeWarnings_ = nullptr;
};

}  // namespace athanor
