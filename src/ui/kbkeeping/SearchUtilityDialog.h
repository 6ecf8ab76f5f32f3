#pragma once
#include "app/Workstation.h"
#include "knowledge/FindAndCorrect.h"

#include <QDialog>

#include <optional>
#include <vector>

class QFrame;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace athanor {

// TFoUtilit ("Utility Ricerca"): a phrase found in one field of the remedy database or of
// the repertory, record by record, the field's text split at the place found for a
// correction, and the corrected text written back.
class SearchUtilityDialog : public QDialog {
    Q_OBJECT
public:
    explicit SearchUtilityDialog(Workstation& ws, QWidget* parent = nullptr);

    // Leaving with a correction not saved asks first.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QFrame* buildFieldPanel(const char* name, bool repertory);
    void chooseArchive(bool repertory);
    void chooseField(UtilityField field);
    void stop();
    void search();
    bool saveCorrection();
    void setTexts(const QString& before, const QString& after);

    Workstation& ws_;
    std::optional<FindAndCorrect> finder_;
    bool atEnd_ = false;
    bool filling_ = false;

    QRadioButton* databaseChoice_ = nullptr;
    QRadioButton* repertoryChoice_ = nullptr;
    QFrame* databasePanel_ = nullptr;
    QFrame* repertoryPanel_ = nullptr;
    std::vector<std::pair<QRadioButton*, UtilityField>> fieldChoices_;
    QLineEdit* phrase_ = nullptr;
    QPushButton* searchButton_ = nullptr;
    QLineEdit* remedy_ = nullptr;
    QLineEdit* position_ = nullptr;
    QLineEdit* length_ = nullptr;
    QPlainTextEdit* before_ = nullptr;
    QPlainTextEdit* after_ = nullptr;
    QPushButton* saveButton_ = nullptr;
};

}  // namespace athanor
