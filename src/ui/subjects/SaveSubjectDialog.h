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

// TFormRegSpa: the save window. Receives the checked birth data of the entry window, lets
// the user choose the archive and add notes (and a text document), writes the subject and
// makes it the current subject. Leaving it closes the entry window too.
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
    QGroupBox* buildDataPanel();
    QGroupBox* buildNotesPanel();
    QLayout* buildButtons();
    void setTabOrders();

    bool save();
    void saveWithText();

    Workstation& ws_;
    SaveInput input_;
    std::optional<SaveResult> saved_;
    std::string savedArchive_;

    ArchivePickerPanel* picker_ = nullptr;
    QLineEdit* nameField_ = nullptr;
    QLineEdit* dateField_ = nullptr;
    QLineEdit* correctionField_ = nullptr;
    QLineEdit* placeField_ = nullptr;
    QLineEdit* calendarField_ = nullptr;
    QLineEdit* julianDayField_ = nullptr;
    QLineEdit* coordField_ = nullptr;
    QLineEdit* countryField_ = nullptr;
    std::array<QLineEdit*, 4> noteEdits_{};
    QLineEdit* documentField_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* saveWithTextButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace athanor
