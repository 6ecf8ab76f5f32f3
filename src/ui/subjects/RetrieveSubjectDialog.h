#pragma once
#include "app/Workstation.h"
#include "subjects/ArchiveOps.h"

#include <QDialog>

#include <optional>

class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace athanor {

class ArchivePickerPanel;

// TFormRich: the retrieval window. Browses an archive by name and makes a stored subject
// current.
class RetrieveSubjectDialog : public QDialog {
    Q_OBJECT
public:
    explicit RetrieveSubjectDialog(Workstation& ws, QWidget* parent = nullptr);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLayout* buildSubjectPanel();
    QLayout* buildNotesPanel();
    QLayout* buildButtons();
    void connectParts();

    void load(int position);
    void clearSubject();
    void invertName();
    void ok();

    Workstation& ws_;
    NameInversion inversion_;
    std::optional<RetrievedSubject> loaded_;
    int loadedPosition_ = 0;

    ArchivePickerPanel* picker_ = nullptr;
    QLineEdit* nameEdit_ = nullptr;
    QLineEdit* dateField_ = nullptr;
    QLineEdit* placeEdit_ = nullptr;
    QLineEdit* countryEdit_ = nullptr;
    QLineEdit* correctionField_ = nullptr;
    QLineEdit* coordField_ = nullptr;
    QLineEdit* calendarField_ = nullptr;
    QPlainTextEdit* notesMemo_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* invertButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace athanor
