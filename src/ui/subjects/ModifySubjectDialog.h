#pragma once
#include "app/Workstation.h"
#include "subjects/ArchiveOps.h"

#include <QDialog>

#include <array>
#include <optional>

class QGroupBox;
class QLayout;
class QLineEdit;
class QPushButton;

namespace athanor {

class ArchivePickerPanel;

// TFoModifi: the modify window. Corrects a stored subject's data and notes, rewrites its
// records in place, moves its index entry when the name sorts elsewhere, and makes its text
// document.
class ModifySubjectDialog : public QDialog {
    Q_OBJECT
public:
    explicit ModifySubjectDialog(Workstation& ws, QWidget* parent = nullptr);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QGroupBox* buildDataPanel();
    QGroupBox* buildNotesPanel(const char* name, bool real);
    QLayout* buildButtons();
    void connectParts();

    void load(int position);
    void browserView();
    ModifyForm readForm() const;
    void writeForm(const ModifyForm& form);
    bool save();
    void textDocument();

    Workstation& ws_;
    std::optional<SubjectForModify> subject_;

    ArchivePickerPanel* picker_ = nullptr;
    QGroupBox* dataPanel_ = nullptr;
    QGroupBox* notesPanel_ = nullptr;
    // Shown, greyed, while the browser is: the notes' place keeps its look.
    QGroupBox* notesPlaceholder_ = nullptr;
    QLineEdit* nameEdit_ = nullptr;
    QLineEdit* dateEdit_ = nullptr;
    QLineEdit* timeEdit_ = nullptr;
    QLineEdit* calendarEdit_ = nullptr;
    QLineEdit* placeEdit_ = nullptr;
    QLineEdit* correctionEdit_ = nullptr;
    QLineEdit* coordEdit_ = nullptr;
    QLineEdit* countryEdit_ = nullptr;
    std::array<QLineEdit*, 4> noteEdits_{};
    QLineEdit* documentEdit_ = nullptr;
    QPushButton* listButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* textButton_ = nullptr;
    QPushButton* againButton_ = nullptr;
    QPushButton* backButton_ = nullptr;
};

}  // namespace athanor
