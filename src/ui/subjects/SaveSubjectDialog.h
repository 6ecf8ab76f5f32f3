#pragma once
#include "app/Workstation.h"
#include "subjects/ArchiveOps.h"

#include <QDialog>

#include <array>
#include <optional>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace athanor {

// The save window: receives the checked birth data of the entry window, lets the user
// choose the archive and add notes (and a text document), writes the subject and makes it
// the current subject. Leaving it closes the entry window too.
class SaveSubjectDialog : public QDialog {
    Q_OBJECT
public:
    explicit SaveSubjectDialog(Workstation& ws, QWidget* parent = nullptr);

    // The subject to show at the next opening.
    void setHandOff(const SaveInput& input);
    // What the last save wrote, when it did.
    const std::optional<SaveResult>& saved() const { return saved_; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool save();
    void saveWithText();
    void chooseArchive(const QString& caption);

    Workstation& ws_;
    SaveInput input_;
    std::optional<SaveResult> saved_;
    std::string savedArchive_;

    QListWidget* archives_ = nullptr;
    QLineEdit* editArchi_ = nullptr;
    QLineEdit* nome_ = nullptr;
    QLineEdit* data_ = nullptr;
    QLineEdit* gmt_ = nullptr;
    QLineEdit* localita_ = nullptr;
    QLineEdit* calend_ = nullptr;
    QLineEdit* jd_ = nullptr;
    QLineEdit* coord_ = nullptr;
    QLineEdit* stato_ = nullptr;
    std::array<QLineEdit*, 4> memo_{};
    QLineEdit* nfile_ = nullptr;
    QPushButton* registra_ = nullptr;
    QPushButton* regText_ = nullptr;
};

}  // namespace athanor
