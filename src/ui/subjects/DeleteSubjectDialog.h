#pragma once
#include "app/Workstation.h"
#include "subjects/ArchiveOps.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLayout;
class QPlainTextEdit;
class QPushButton;

namespace athanor {

class ArchivePickerPanel;

// TFoCancel: the delete window. Shows a subject for checking and removes it from its
// archive's index.
class DeleteSubjectDialog : public QDialog {
    Q_OBJECT
public:
    explicit DeleteSubjectDialog(Workstation& ws, QWidget* parent = nullptr);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLayout* buildShownPanel();
    QLayout* buildButtons();
    void connectParts();

    bool show(int position);
    void eliminate();
    void clearShown();

    Workstation& ws_;
    std::optional<SubjectForDeletion> shown_;

    ArchivePickerPanel* picker_ = nullptr;
    QPlainTextEdit* subjectMemo_ = nullptr;
    QPlainTextEdit* notesMemo_ = nullptr;
    QLabel* documentNumber_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    QPushButton* backButton_ = nullptr;
};

}  // namespace athanor
