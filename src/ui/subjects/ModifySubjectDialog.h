#pragma once
#include "app/Workstation.h"
#include "subjects/ArchiveOps.h"

#include <QDialog>

#include <array>
#include <optional>

class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace athanor {

class NameBrowserView;

// The modify window: corrects a stored subject's data and notes, rewrites its records in
// place, moves its index entry when the name sorts elsewhere, and makes its text document.
class ModifySubjectDialog : public QDialog {
    Q_OBJECT
public:
    explicit ModifySubjectDialog(Workstation& ws, QWidget* parent = nullptr);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void chooseArchive(const QString& caption);
    void openArchive();
    void load(int position);
    void browserView();
    ModifyForm readForm() const;
    void writeForm(const ModifyForm& form);
    bool save();
    void textDocument();

    Workstation& ws_;
    NameBrowserView* names_ = nullptr;
    std::optional<SubjectForModify> subject_;
    std::string archive_;

    QListWidget* archives_ = nullptr;
    QLineEdit* editArchi_ = nullptr;
    QGroupBox* elenco_ = nullptr;
    QGroupBox* dati_ = nullptr;
    QGroupBox* annot_ = nullptr;
    QGroupBox* annotFinto_ = nullptr;
    QLineEdit* soggetto_ = nullptr;
    QLineEdit* nome_ = nullptr;
    QLineEdit* data_ = nullptr;
    QLineEdit* ora_ = nullptr;
    QLineEdit* calend_ = nullptr;
    QLineEdit* localita_ = nullptr;
    QLineEdit* gmt_ = nullptr;
    QLineEdit* coordi_ = nullptr;
    QLineEdit* stato_ = nullptr;
    std::array<QLineEdit*, 4> memo_{};
    QLineEdit* nfile_ = nullptr;
    QPushButton* elencoButton_ = nullptr;
    QPushButton* registra_ = nullptr;
    QPushButton* testo_ = nullptr;
    QPushButton* ancora_ = nullptr;
};

}  // namespace athanor
