#pragma once
#include "app/Workstation.h"
#include "subjects/ArchiveOps.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;

namespace athanor {

class NameBrowserView;

// The delete window: shows a subject for checking and removes it from its archive's index.
class DeleteSubjectDialog : public QDialog {
    Q_OBJECT
public:
    explicit DeleteSubjectDialog(Workstation& ws, QWidget* parent = nullptr);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void chooseArchive(const QString& caption);
    bool show(int position);
    void eliminate();
    void clearShown();

    Workstation& ws_;
    NameBrowserView* names_ = nullptr;
    std::optional<SubjectForDeletion> shown_;
    std::string archive_;

    QListWidget* archives_ = nullptr;
    QLineEdit* editArchi_ = nullptr;
    QLineEdit* soggetto_ = nullptr;
    QPlainTextEdit* memoSogg_ = nullptr;
    QPlainTextEdit* memoAnnotaz_ = nullptr;
    QLabel* label10_ = nullptr;
    QPushButton* elimina_ = nullptr;
};

}  // namespace athanor
